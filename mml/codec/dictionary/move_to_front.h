// Move-to-front list of the numbers 0..size-1, initially ascending. A
// number is sent as its rank (0 for the most recently sent) and moved to
// the front.
//
// Two parts keep it fast. The front: the first kFront numbers in a ring,
// where recently sent numbers are found and moved with a short scan, and
// where a number from the tail takes the place of the one it pushes out in
// constant time. The tail: every other number with a time stamp (larger
// is nearer the front). The index counts the stamps in use at three
// scales, each small enough to stay in cache: a bitmap of 64-bit words;
// per group of 16 words, the running counts of its words (16-bit lanes,
// four to a 64-bit word, handled side by side); and an 8-way tree over the
// groups whose nodes hold the running totals of their children. Rank and
// lookup take a step per tree level (three for the largest phrase table),
// one within a group and one within a word. The top group, which takes
// the stamps being handed out, joins the tree only once it is full, so the
// number pushed out of the front costs no tree update. When the stamps
// run out the index is rebuilt from the current order; it changes no rank.
#pragma once

#include <array>
#include <cstdint>

#include "mml/codec/common/bit_io.h"

namespace mml {

class CMoveToFront {
 public:
  // REQUIRES: size <= 2^24 (phrase tables hold at most 250000).
  explicit CMoveToFront(uint32_t size);
  // Rank of n, then n moves to the front. REQUIRES: n < size.
  uint32_t Send(uint32_t n);
  // The number at rank r, which then moves to the front; false for r >= size.
  bool Receive(uint32_t rank, uint32_t* n);
  uint32_t Size() const { return m_size; }

 private:
  static constexpr uint32_t kFront = 64;            // a power of two: ring indices wrap with a mask
  static constexpr uint32_t kInFront = 0xFFFFFFFF;  // stamp of a number in the front
  static constexpr uint32_t kGroupWords = 16;
  static constexpr uint32_t kGroupStamps = kGroupWords * 64;

  // Lane j: stamps in use in the group's words 0..j.
  using sGroup = std::array<uint64_t, kGroupWords / 4>;

  void Add(uint32_t stamp, int delta);
  void TreeAdd(uint32_t group, int32_t delta);
  void FoldTop();
  uint32_t CountUpTo(uint32_t stamp) const;  // occupied stamps <= stamp
  uint32_t TakeKth(uint32_t k);              // 1-based
  uint32_t TailCount() const { return m_size - m_frontLen; }
  // Puts n, whose stamp has left the index, at the front; the front's
  // last number goes to the head of the tail when the front is full.
  void FromTail(uint32_t n, uint32_t stamp);
  uint32_t& Front(uint32_t rank) { return m_front[(m_head + rank) % kFront]; }
  void ToFront(uint32_t rank);  // the number at that rank of the front moves to 0
  void Rebuild();

  uint32_t m_size;
  uint32_t m_words;     // bitmap words: a power of two, at least a group
  uint32_t m_groups;    // m_words / kGroupWords
  uint32_t m_capacity;  // stamps available before a rebuild: every bit of the bitmap
  uint32_t m_next;
  uint32_t m_frontLen = 0;
  uint32_t m_head = 0;  // ring index of rank 0
  uint32_t m_front[kFront];
  MVector<uint32_t> m_stamp;  // per number: its stamp, or kInFront
  MVector<uint32_t> m_owner;  // per stamp
  MVector<uint64_t> m_used;   // bitmap of stamps in use
  MVector<sGroup> m_group;    // per group of words
  uint32_t m_levels;          // of the tree: m_groups <= 8^m_levels
  // Level by level from the root (1, 8, 64 ... nodes): node i of the lowest
  // level holds the running totals of groups 8i..8i+7, a node above those
  // of its children's subtrees. The top group is not counted.
  MVector<std::array<uint32_t, 8>> m_tree;
  uint32_t m_topGroup = 0;   // the group of m_next
  uint32_t m_treeTotal = 0;  // stamps in use below the top group
};

}  // namespace mml
