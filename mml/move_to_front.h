// Move-to-front list of the numbers 0..size-1, initially ascending. A
// number is sent as its rank (0 for the most recently sent) and moved to
// the front.
//
// Two parts keep it fast. The front: the first kFront numbers in a plain
// array, where recent numbers (most of what a stream sends) are found and
// moved with a short scan. The tail: every other number with a time stamp
// (larger is nearer the front); the list's index is a bitmap of the stamps
// in use with a Fenwick tree over its 64-bit words, small enough to stay in
// cache, giving rank and lookup in O(log size). When the stamps run out the
// index is rebuilt from the current order; it changes no rank.
#pragma once

#include <cstdint>

#include "mml/bit_io.h"

namespace mml {

class CMoveToFront {
 public:
  explicit CMoveToFront(uint32_t size);
  // Rank of n, then n moves to the front. REQUIRES: n < size.
  uint32_t Send(uint32_t n);
  // The number at rank r, which then moves to the front; false for r >= size.
  bool Receive(uint32_t rank, uint32_t* n);
  uint32_t Size() const { return size_; }

 private:
  static constexpr uint32_t kFront = 64;

  void Add(uint32_t stamp, int delta);
  uint32_t CountUpTo(uint32_t stamp) const;  // occupied stamps <= stamp
  uint32_t KthSmallest(uint32_t k) const;     // 1-based
  uint32_t TailCount() const { return size_ - frontLen_; }
  // Takes n out of the tail and puts it at the front; the front's last
  // number goes to the head of the tail when the front is full.
  void FromTail(uint32_t n);
  void ToFront(uint32_t index, uint32_t n);  // n at front index moves to 0
  void Rebuild();

  uint32_t size_;
  uint32_t capacity_;  // stamps available before a rebuild
  uint32_t next_;
  uint32_t frontLen_ = 0;
  uint32_t front_[kFront];
  MVector<uint8_t> inFront_;  // per number
  MVector<uint32_t> stamp_;   // per tail number
  MVector<uint32_t> owner_;   // per stamp
  MVector<uint64_t> used_;    // bitmap of stamps in use
  MVector<int32_t> tree_;     // Fenwick tree over the bitmap's word counts, 1-based
};

}  // namespace mml
