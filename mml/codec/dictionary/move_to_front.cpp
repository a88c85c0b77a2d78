#include "mml/codec/dictionary/move_to_front.h"

#include <algorithm>
#include <array>
#include <bit>

namespace mml {

namespace {
constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint64_t kOnes = 0x0101010101010101ULL;

// Per-byte set-bit counts of x (the build targets CPUs without a
// population-count instruction, where the builtin is a library call).
inline uint64_t byte_counts(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
}
inline uint32_t bit_count(uint64_t x) { return static_cast<uint32_t>((byte_counts(x) * kOnes) >> 56); }

// kSelectInByte[b][r]: position of the (r+1)-th set bit of byte b.
constexpr auto kSelectInByte = [] {
  std::array<std::array<uint8_t, 8>, 256> t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t r = 0;
    for (uint32_t rest = b; rest != 0; rest &= rest - 1) t[b][r++] = static_cast<uint8_t>(std::countr_zero(rest));
  }
  return t;
}();

// Position of the k-th (1-based) set bit of x. REQUIRES: 1 <= k <= bit_count(x).
inline uint32_t select_bit(uint64_t x, uint32_t k) {
  // Byte i of `upTo` counts the set bits of bytes 0..i (at most 64, so no
  // byte overflows); the first byte whose count reaches k holds the bit.
  const uint64_t upTo = byte_counts(x) * kOnes;
  const uint64_t reached = ((upTo | (kOnes << 7)) - k * kOnes) & (kOnes << 7);
  const auto byte = static_cast<uint32_t>(std::countr_zero(reached)) / 8;
  const uint32_t before = byte == 0 ? 0 : static_cast<uint32_t>(upTo >> (8 * byte - 8)) & 0xFF;
  return byte * 8 + kSelectInByte[(x >> (8 * byte)) & 0xFF][k - before - 1];
}

// 16-bit lanes of a group, four to a word: kFrom[j] has 1 in lanes j..15.
constexpr uint64_t kLaneOnes = 0x0001000100010001ULL;
constexpr uint64_t kLaneHigh = 0x8000800080008000ULL;
constexpr auto kFrom = [] {
  std::array<std::array<uint64_t, 4>, 16> t{};
  for (uint32_t j = 0; j < 16; ++j) {
    for (uint32_t lane = j; lane < 16; ++lane) t[j][lane / 4] |= 1ULL << (16 * (lane % 4));
  }
  return t;
}();

inline uint32_t lane(const std::array<uint64_t, 4>& g, uint32_t j) {
  return static_cast<uint32_t>(g[j / 4] >> (16 * (j % 4))) & 0xFFFF;
}

// Lanes of g below k. Lanes and k stay below 0x8000, so setting a lane's
// top bit before subtracting k borrows from nothing outside the lane, and
// the top bit survives exactly where the lane is at least k.
inline uint32_t lanes_below(const std::array<uint64_t, 4>& g, uint32_t k) {
  const uint64_t kk = k * kLaneOnes;
  uint64_t atLeast = 0;
  for (const uint64_t w : g) atLeast += (((w | kLaneHigh) - kk) & kLaneHigh) >> 15;
  return 16 - static_cast<uint32_t>((atLeast * kLaneOnes) >> 48);
}

// Totals of an 8-way node below k; written so that the compiler can
// compare all eight at once.
inline uint32_t totals_below(const std::array<uint32_t, 8>& node, uint32_t k) {
  uint32_t below = 0;
  for (const uint32_t t : node) below += t < k ? 1 : 0;
  return below;
}

// Adds delta to the totals from child j on.
inline void add_from(std::array<uint32_t, 8>& node, uint32_t j, int32_t delta) {
  for (uint32_t i = 0; i < 8; ++i) node[i] += i >= j ? static_cast<uint32_t>(delta) : 0u;
}
}  // namespace

CMoveToFront::CMoveToFront(uint32_t size)
    : m_size(size),
      m_words(std::max(std::bit_ceil((size * 2 + 63) / 64), kGroupWords)),
      m_groups(m_words / kGroupWords),
      m_capacity(m_words * 64),
      m_next(size),
      m_stamp(size),
      m_owner(m_capacity, kFree),
      m_used(m_words, 0),
      m_group(m_groups),
      // The fewest levels whose 8^levels groups reach m_groups, a power of
      // two: the ceiling of its bits over 3.
      m_levels((static_cast<uint32_t>(std::countr_zero(m_groups)) + 2) / 3),
      m_tree(((uint64_t{1} << (3 * m_levels)) - 1) / 7) {
  // Everything starts in the tail, 0 nearest the front.
  for (uint32_t n = 0; n < size; ++n) {
    m_stamp[n] = size - 1 - n;
    m_owner[size - 1 - n] = n;
  }
  Rebuild();
}

// On level l (the root's is 0), the path to a group passes node
// first(l) + (group >> 3 * (m_levels - l)) at its child
// (group >> 3 * (m_levels - 1 - l)) & 7, where first(l) = (8^l - 1) / 7.
void CMoveToFront::TreeAdd(uint32_t group, int32_t delta) {
  for (uint32_t level = 0, first = 0; level < m_levels; ++level, first = first * 8 + 1) {
    add_from(m_tree[first + (group >> (3 * (m_levels - level)))], (group >> (3 * (m_levels - 1 - level))) & 7, delta);
  }
  m_treeTotal += static_cast<uint32_t>(delta);
}

[[gnu::always_inline]] inline void CMoveToFront::Add(uint32_t stamp, int delta) {
  const uint32_t word = stamp / 64;
  m_used[word] ^= 1ULL << (stamp % 64);  // delta says which way the bit turns
  const uint32_t group = word / kGroupWords;
  sGroup& g = m_group[group];
  const std::array<uint64_t, 4>& from = kFrom[word % kGroupWords];
  // Lanes j.. of the word's group change by delta, 1 or -1 (which, as a
  // 64-bit multiplier, subtracts); a lane being lowered is at least 1, so
  // no borrow leaves it.
  for (uint32_t i = 0; i < 4; ++i) g[i] += from[i] * static_cast<uint64_t>(delta);
  if (group != m_topGroup) TreeAdd(group, delta);
}

// The top group joins the tree once the stamps have moved past it.
void CMoveToFront::FoldTop() {
  TreeAdd(m_topGroup, static_cast<int32_t>(lane(m_group[m_topGroup], kGroupWords - 1)));
  ++m_topGroup;
}

uint32_t CMoveToFront::CountUpTo(uint32_t stamp) const {
  const uint32_t word = stamp / 64;
  const uint32_t group = word / kGroupWords;
  uint32_t sum = m_treeTotal;
  if (group != m_topGroup) {
    sum = 0;
    for (uint32_t level = 0, first = 0; level < m_levels; ++level, first = first * 8 + 1) {
      const uint32_t j = (group >> (3 * (m_levels - 1 - level))) & 7;
      if (j > 0) sum += m_tree[first + (group >> (3 * (m_levels - level)))][j - 1];
    }
  }
  const uint32_t j = word % kGroupWords;
  const uint32_t before = j == 0 ? 0 : lane(m_group[group], j - 1);
  const uint64_t upTo = stamp % 64 == 63 ? ~0ULL : ((1ULL << (stamp % 64 + 1)) - 1);
  return sum + before + bit_count(m_used[word] & upTo);
}

// The k-th smallest stamp in use, which is then taken out of the index:
// the descent lowers the totals it passes. REQUIRES: 1 <= k <= TailCount().
uint32_t CMoveToFront::TakeKth(uint32_t k) {
  uint32_t group = m_topGroup;
  if (k <= m_treeTotal) {
    group = 0;
    for (uint32_t level = 0, first = 0; level < m_levels; ++level, first = first * 8 + 1) {
      std::array<uint32_t, 8>& node = m_tree[first + group];  // first: the level's first node
      const uint32_t j = totals_below(node, k);
      if (j > 0) k -= node[j - 1];
      add_from(node, j, -1);
      group = group * 8 + j;
    }
    --m_treeTotal;
  } else {
    k -= m_treeTotal;
  }
  sGroup& g = m_group[group];
  const uint32_t j = lanes_below(g, k);
  if (j > 0) k -= lane(g, j - 1);
  const uint32_t word = group * kGroupWords + j;
  const uint32_t bit = select_bit(m_used[word], k);
  m_used[word] ^= 1ULL << bit;
  for (uint32_t i = 0; i < 4; ++i) g[i] -= kFrom[j][i];
  return word * 64 + bit;
}

// Renumbers the tail's stamps 0.. in their order, which leaves stamps
// 0..m_next-1 in use and the rest free, and rebuilds the index from that.
void CMoveToFront::Rebuild() {
  uint32_t fresh = 0;
  for (uint32_t s = 0; s < m_capacity; ++s) {
    const uint32_t n = m_owner[s];
    if (n == kFree) continue;
    m_owner[fresh] = n;  // fresh <= s: nothing unread is overwritten
    m_stamp[n] = fresh++;
  }
  std::fill(m_owner.begin() + fresh, m_owner.end(), kFree);
  m_next = fresh;
  m_topGroup = fresh / kGroupStamps;
  for (uint32_t group = 0; group < m_groups; ++group) {
    sGroup g{};
    uint32_t running = 0;
    for (uint32_t j = 0; j < kGroupWords; ++j) {
      const uint32_t first = (group * kGroupWords + j) * 64;
      const uint32_t inUse = std::min(fresh - std::min(fresh, first), 64u);
      m_used[group * kGroupWords + j] = inUse == 64 ? ~0ULL : (1ULL << inUse) - 1;
      running += inUse;
      g[j / 4] |= static_cast<uint64_t>(running) << (16 * (j % 4));
    }
    m_group[group] = g;
  }
  // The tree: every group below the top one is full.
  std::fill(m_tree.begin(), m_tree.end(), std::array<uint32_t, 8>{});
  for (uint32_t group = 0; group < m_topGroup; ++group) TreeAdd(group, static_cast<int32_t>(kGroupStamps));
  m_treeTotal = m_topGroup * kGroupStamps;
}

void CMoveToFront::ToFront(uint32_t rank) {
  const uint32_t n = Front(rank);
  for (uint32_t r = rank; r > 0; --r) Front(r) = Front(r - 1);
  Front(0) = n;
}

[[gnu::always_inline]] inline void CMoveToFront::FromTail(uint32_t n, uint32_t stamp) {
  m_owner[stamp] = kFree;
  m_stamp[n] = kInFront;
  // Rank 0 moves back one ring place: onto a free place, or onto the
  // front's last number, which becomes the head of the tail.
  m_head = (m_head + kFront - 1) % kFront;
  const uint32_t dropped = m_front[m_head];
  m_front[m_head] = n;
  if (m_frontLen < kFront) {
    ++m_frontLen;
    return;
  }
  if (m_next == m_capacity) Rebuild();  // while `dropped` still counts as in front
  if (m_next / kGroupStamps != m_topGroup) FoldTop();
  m_stamp[dropped] = m_next++;
  m_owner[m_stamp[dropped]] = dropped;
  Add(m_stamp[dropped], +1);
}

uint32_t CMoveToFront::Send(uint32_t n) {
  const uint32_t stamp = m_stamp[n];
  if (stamp == kInFront) {
    uint32_t rank = 0;
    while (Front(rank) != n) ++rank;
    ToFront(rank);
    return rank;
  }
  const uint32_t rank = m_frontLen + (TailCount() - CountUpTo(stamp));
  Add(stamp, -1);
  FromTail(n, stamp);
  return rank;
}

bool CMoveToFront::Receive(uint32_t rank, uint32_t* n) {
  if (rank >= m_size) return false;
  if (rank < m_frontLen) {
    *n = Front(rank);
    ToFront(rank);
    return true;
  }
  const uint32_t stamp = TakeKth(TailCount() - (rank - m_frontLen));
  *n = m_owner[stamp];
  FromTail(*n, stamp);
  return true;
}

}  // namespace mml
