// Reading, iterating and deleting the fields of the current message.
#include "mml/message/message.h"
#include "mml/status.h"

namespace {

// The active slot of tag, or null.
mml::sTagSlot* active_slot(mnm_msg& h, int32_t tag) {
  const uint32_t number = h.aTagIndex[tag];
  if (number == mml::kNoSlot || !mml::is_active(h, h.pSlots[number])) return nullptr;
  return &h.pSlots[number];
}

}  // namespace

extern "C" int mnm_get_field(mnm_hndl h, int32_t tag, int32_t index, mml_data* out, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  const mml::sWireForm& wire = h->Wire();
  if (out == nullptr || !wire.IsLive(tag)) return mml::fail(err, mml::MsgStatus::kBadArgument);
  const mml::sTagSlot* slot = active_slot(*h, tag);
  if (slot == nullptr || index < 0 || index >= slot->nCount) return mml::fail(err, mml::MsgStatus::kBadArgument);
  const int32_t len = slot->pLengths[index];
  if (len == 0) return mml::fail(err, mml::MsgStatus::kAbsent);
  *out = {h->pCur->data + slot->pOffsets[index] + wire.FieldHeaderSize(), len};
  return mml::succeed(err);
}

extern "C" int mnm_get_field_count(mnm_hndl h, int32_t tag, int32_t* count, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (count == nullptr || !h->Wire().IsLive(tag)) return mml::fail(err, mml::MsgStatus::kBadArgument);
  const mml::sTagSlot* slot = active_slot(*h, tag);
  if (slot == nullptr) return mml::fail(err, mml::MsgStatus::kAbsent);
  *count = slot->nCount;
  return mml::succeed(err);
}

extern "C" int mnm_next_field(mnm_hndl h, int32_t* tag, int32_t* count, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (tag == nullptr || count == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  const mml::sWireForm& wire = h->Wire();
  while (++h->nCursor < h->nTagOrderLen) {
    const int32_t next = h->pTagOrder[h->nCursor];
    if (!wire.IsLive(next)) continue;  // a tag whose values were all deleted
    *tag = next;
    *count = h->pSlots[h->aTagIndex[next]].nCount;
    return mml::succeed(err);
  }
  h->nCursor = h->nTagOrderLen;  // stays exhausted
  return mml::fail(err, mml::MsgStatus::kAbsent);
}

extern "C" int mnm_first_field(mnm_hndl h, int32_t* tag, int32_t* count, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  h->nCursor = -1;
  return mnm_next_field(h, tag, count, err);
}

extern "C" int mnm_delete_field(mnm_hndl h, int32_t tag, int32_t index, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  const mml::sWireForm& wire = h->Wire();
  if (!wire.IsLive(tag)) return mml::fail(err, mml::MsgStatus::kBadArgument);
  mml::sTagSlot* slot = active_slot(*h, tag);
  if (slot == nullptr) return mml::fail(err, mml::MsgStatus::kAbsent);
  if (index < 0 || index >= slot->nCount) return mml::fail(err, mml::MsgStatus::kBadArgument);

  mml::put_be16(h->pCur->data + slot->pOffsets[index], wire.DeletedWord(tag));
  for (int32_t i = index + 1; i < slot->nCount; ++i) {
    slot->pOffsets[i - 1] = slot->pOffsets[i];
    slot->pLengths[i - 1] = slot->pLengths[i];
  }
  if (--slot->nCount == 0) {
    slot->nActive = 0;
    h->pTagOrder[slot->nOrderPos] = wire.DeletedWord(tag);
    ++h->nDeletedTags;
  }
  return mml::succeed(err);
}
