#include "mml/move_to_front.h"

#include <cstring>

namespace mml {

namespace {
constexpr uint32_t kFree = 0xFFFFFFFF;
}

CMoveToFront::CMoveToFront(uint32_t size)
    : size_(size),
      capacity_((size * 2 + 63) / 64 * 64),
      next_(size),
      inFront_(size, 0),
      stamp_(size),
      owner_(capacity_, kFree),
      used_(capacity_ / 64, 0),
      tree_(capacity_ / 64 + 1, 0) {
  // Everything starts in the tail, 0 nearest the front.
  for (uint32_t n = 0; n < size; ++n) {
    stamp_[n] = size - 1 - n;
    owner_[size - 1 - n] = n;
  }
  Rebuild();
}

void CMoveToFront::Add(uint32_t stamp, int delta) {
  const uint32_t word = stamp / 64;
  const uint64_t bit = 1ULL << (stamp % 64);
  used_[word] = delta > 0 ? (used_[word] | bit) : (used_[word] & ~bit);
  const auto words = static_cast<uint32_t>(used_.size());
  for (uint32_t i = word + 1; i <= words; i += i & (~i + 1)) tree_[i] += delta;
}

uint32_t CMoveToFront::CountUpTo(uint32_t stamp) const {
  const uint32_t word = stamp / 64;
  int32_t sum = 0;
  for (uint32_t i = word; i > 0; i -= i & (~i + 1)) sum += tree_[i];
  const uint64_t upTo = stamp % 64 == 63 ? ~0ULL : ((1ULL << (stamp % 64 + 1)) - 1);
  return static_cast<uint32_t>(sum) + static_cast<uint32_t>(__builtin_popcountll(used_[word] & upTo));
}

uint32_t CMoveToFront::KthSmallest(uint32_t k) const {
  const auto words = static_cast<uint32_t>(used_.size());
  uint32_t pos = 0;
  uint32_t step = 1;
  while (step * 2 <= words) step *= 2;
  for (; step > 0; step /= 2) {
    if (pos + step <= words && static_cast<uint32_t>(tree_[pos + step]) < k) {
      pos += step;
      k -= static_cast<uint32_t>(tree_[pos]);
    }
  }
  // The k-th set bit of word pos.
  uint64_t bits = used_[pos];
  for (uint32_t i = 1; i < k; ++i) bits &= bits - 1;
  return pos * 64 + static_cast<uint32_t>(__builtin_ctzll(bits));
}

// Renumbers the tail's stamps 0.. in their order and rebuilds the tree in
// linear time.
void CMoveToFront::Rebuild() {
  uint32_t fresh = 0;
  for (uint32_t s = 0; s < capacity_; ++s) {
    const uint32_t n = owner_[s];
    if (n == kFree) continue;
    owner_[s] = kFree;
    stamp_[n] = fresh++;
  }
  for (uint32_t n = 0; n < size_; ++n) {
    if (inFront_[n] == 0) owner_[stamp_[n]] = n;
  }
  next_ = fresh;
  const auto words = static_cast<uint32_t>(used_.size());
  for (uint32_t w = 0; w < words; ++w) {
    uint64_t bits = 0;
    for (uint32_t b = 0; b < 64; ++b) bits |= static_cast<uint64_t>(owner_[w * 64 + b] != kFree) << b;
    used_[w] = bits;
    tree_[w + 1] = __builtin_popcountll(bits);
  }
  for (uint32_t i = 1; i <= words; ++i) {
    const uint32_t parent = i + (i & (~i + 1));
    if (parent <= words) tree_[parent] += tree_[i];
  }
}

void CMoveToFront::ToFront(uint32_t index, uint32_t n) {
  std::memmove(front_ + 1, front_, index * sizeof(uint32_t));
  front_[0] = n;
}

void CMoveToFront::FromTail(uint32_t n) {
  Add(stamp_[n], -1);
  owner_[stamp_[n]] = kFree;
  inFront_[n] = 1;
  if (frontLen_ < kFront) {
    ToFront(frontLen_++, n);
    return;
  }
  // The front's last number becomes the head of the tail.
  const uint32_t dropped = front_[kFront - 1];
  ToFront(kFront - 1, n);
  if (next_ == capacity_) Rebuild();  // while `dropped` still counts as in front
  inFront_[dropped] = 0;
  stamp_[dropped] = next_++;
  owner_[stamp_[dropped]] = dropped;
  Add(stamp_[dropped], +1);
}

uint32_t CMoveToFront::Send(uint32_t n) {
  if (inFront_[n] != 0) {
    uint32_t i = 0;
    while (front_[i] != n) ++i;
    ToFront(i, n);
    return i;
  }
  const uint32_t rank = frontLen_ + (TailCount() - CountUpTo(stamp_[n]));
  FromTail(n);
  return rank;
}

bool CMoveToFront::Receive(uint32_t rank, uint32_t* n) {
  if (rank >= size_) return false;
  if (rank < frontLen_) {
    *n = front_[rank];
    ToFront(rank, *n);
    return true;
  }
  *n = owner_[KthSmallest(TailCount() - (rank - frontLen_))];
  FromTail(*n);
  return true;
}

}  // namespace mml
