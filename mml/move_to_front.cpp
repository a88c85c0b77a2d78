#include "mml/move_to_front.h"

#include <cstring>

namespace mml {

namespace {
constexpr uint32_t kFree = 0xFFFFFFFF;
}

CMoveToFront::CMoveToFront(uint32_t size)
    : size_(size),
      capacity_(size * 2),
      next_(size),
      inFront_(size, 0),
      stamp_(size),
      owner_(size * 2, kFree),
      tree_(size * 2 + 1, 0) {
  // Everything starts in the tail, 0 nearest the front.
  for (uint32_t n = 0; n < size; ++n) {
    stamp_[n] = size - 1 - n;
    owner_[size - 1 - n] = n;
  }
  Rebuild();
}

void CMoveToFront::Add(uint32_t stamp, int delta) {
  for (uint32_t i = stamp + 1; i <= capacity_; i += i & (~i + 1)) tree_[i] += delta;
}

uint32_t CMoveToFront::CountUpTo(uint32_t stamp) const {
  int32_t sum = 0;
  for (uint32_t i = stamp + 1; i > 0; i -= i & (~i + 1)) sum += tree_[i];
  return static_cast<uint32_t>(sum);
}

uint32_t CMoveToFront::KthSmallest(uint32_t k) const {
  uint32_t pos = 0;
  uint32_t step = 1;
  while (step * 2 <= capacity_) step *= 2;
  for (; step > 0; step /= 2) {
    if (pos + step <= capacity_ && static_cast<uint32_t>(tree_[pos + step]) < k) {
      pos += step;
      k -= static_cast<uint32_t>(tree_[pos]);
    }
  }
  return pos;  // the stamp (0-based) of the k-th occupied one
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
  for (uint32_t i = 1; i <= capacity_; ++i) tree_[i] = owner_[i - 1] != kFree ? 1 : 0;
  for (uint32_t i = 1; i <= capacity_; ++i) {
    const uint32_t parent = i + (i & (~i + 1));
    if (parent <= capacity_) tree_[parent] += tree_[i];
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
