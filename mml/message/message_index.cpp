// Bookkeeping of the message index: slots, their value arrays and the tag
// order list. Every array grows exactly (slot table and order list by one,
// value arrays to the count needed) and is kept across messages.
#include <cstring>
#include <span>
#include <utility>

#include "mml/message/message.h"
#include "mml/status.h"

namespace mml {

namespace {

// Grows an accounted array to exactly count elements. A moved block is
// kept even when the call failed (the memory map could not record it).
template <class T>
bool resize_exact(T*& array, int64_t count) {
  if (!std::in_range<int32_t>(count * static_cast<int64_t>(sizeof(T)))) return false;
  void* block = array;
  int32_t granted = 0;
  const auto bytes = static_cast<int32_t>(count * static_cast<int64_t>(sizeof(T)));
  const int ok =
      block == nullptr ? mml_alloc(&block, &granted, bytes, nullptr) : mml_realloc(&block, &granted, bytes, nullptr);
  array = static_cast<T*>(block);
  return ok != 0;
}

}  // namespace

void reset_index(mnm_msg& h) {
  if (++h.nStamp == 0) {
    // After 2^32 messages the stamp comes round again: a slot last used that
    // long ago must not look active.
    for (sTagSlot& slot : std::span(h.pSlots, h.nSlotTotal)) slot.nActive = 0;
    h.nStamp = 1;
  }
  h.nMarker = h.Wire().nMarker;
  h.nFieldTotal = 0;
  h.nTagOrderLen = 0;
  h.nDeletedTags = 0;
  h.nCursor = -1;
}

// Whatever grew before memory ran short stays, unused.
sTagSlot* grow_slot(mnm_msg& h, int32_t tag, int32_t n) {
  uint32_t number = h.aTagIndex[tag];
  if (number == kNoSlot) {
    if (!resize_exact(h.pSlots, static_cast<int64_t>(h.nSlotTotal) + 1)) return nullptr;
    number = h.nSlotTotal++;
    h.aTagIndex[tag] = number;
  }
  sTagSlot& slot = h.pSlots[number];
  if (!is_active(h, slot)) slot.nCount = 0;
  const int64_t needed = static_cast<int64_t>(slot.nCount) + n;
  if (needed > slot.nCapacity) {
    if (!resize_exact(slot.pOffsets, needed) || !resize_exact(slot.pLengths, needed)) return nullptr;
    slot.nCapacity = static_cast<int32_t>(needed);
  }
  if (!is_active(h, slot) && h.nTagOrderLen == h.nTagOrderCap) {
    if (!resize_exact(h.pTagOrder, static_cast<int64_t>(h.nTagOrderCap) + 1)) return nullptr;
    ++h.nTagOrderCap;
  }
  return &slot;
}

}  // namespace mml
