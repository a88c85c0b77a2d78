// Message handles: creation and building messages into a buffer.
#include <cstddef>
#include <cstring>

#include "mml/message/message.h"
#include "mml/status.h"

namespace mml {

namespace {

// Grows out to exactly need bytes if it is smaller.
bool ensure_room(buf_hndl out, int64_t need) {
  if (need <= out->capacity) return true;
  return need <= INT32_MAX && buf_reserve(out, static_cast<int32_t>(need), nullptr) != 0;
}

}  // namespace

int start_message(mnm_msg& h, buf_hndl out, int* err) {
  const sWireForm& wire = h.Wire();
  if (!ensure_room(out, static_cast<int64_t>(out->used) + wire.HeaderSize())) return fail(err, MsgStatus::kBufferFull);
  h.nMsgStart = static_cast<uint32_t>(out->used);
  h.nCountOffset = h.nMsgStart + 2;
  char* p = out->data + out->used;
  put_be16(p, wire.nMarker);
  put_be(p + 2, wire.nWidth, 0);
  out->used += wire.HeaderSize();
  h.nMsgEnd = static_cast<uint32_t>(out->used);
  h.nHasMsg = 1;
  return succeed(err);
}

namespace {

// Copies a value to its place in the output buffer. The source may overlap
// the target (a value taken from the buffer's own spare room), so every
// load happens before any store. Most values are short texts and numbers:
// those are copied with a few unaligned moves instead of a library call.
inline void copy_value(char* to, const char* from, size_t len) {
  const auto move_pair = [to, from, len]<size_t kChunk>() {
    struct Chunk {
      char bytes[kChunk];
    };
    Chunk head;
    Chunk tail;
    std::memcpy(&head, from, kChunk);
    std::memcpy(&tail, from + len - kChunk, kChunk);
    std::memcpy(to, &head, kChunk);
    std::memcpy(to + len - kChunk, &tail, kChunk);
  };
  if (len > 32) {
    std::memmove(to, from, len);
  } else if (len >= 16) {
    move_pair.template operator()<16>();
  } else if (len >= 8) {
    move_pair.template operator()<8>();
  } else if (len >= 4) {
    move_pair.template operator()<4>();
  } else if (len > 0) {
    const char first = from[0];
    const char middle = from[len / 2];
    const char last = from[len - 1];
    to[0] = first;
    to[len / 2] = middle;
    to[len - 1] = last;
  }
}

// The per-field path, compiled once per form so that widths are constants.
// Counts and offsets live in locals while bytes are written: a byte store
// may alias anything and would force every bookkeeping field back to memory.
template <const sWireForm& W>
int append_values(mnm_msg& h, int32_t tag, int32_t n, const mml_data* values, int* err) {
  if (n < 1 || tag < 0 || values == nullptr || tag > W.nMaxLiveTag ||
      static_cast<int64_t>(h.nFieldTotal) + n > W.nMaxFields) {
    return fail(err, MsgStatus::kBadArgument);
  }
  sTagSlot* const slot = grow_slot(h, tag, n);
  if (slot == nullptr) return fail(err, MsgStatus::kNoMemory);

  constexpr int32_t kFieldHeader = W.FieldHeaderSize();
  buf_rec& out = *h.pOut;
  uint32_t* const offsets = slot->pOffsets;
  int32_t* const lengths = slot->pLengths;
  const int32_t first = value_count(h, *slot);
  int32_t added = 0;
  int code = 0;
  for (; added < n; ++added) {
    const mml_data value = values[added];
    if (value.data == nullptr ? value.len != 0 : (value.len < 1 || value.len > W.nMaxValue)) {
      code = MsgStatus::kBadArgument;
      break;
    }
    const int64_t fieldEnd = static_cast<int64_t>(out.used) + kFieldHeader + value.len;
    const char* source = value.data;
    if (fieldEnd > out.capacity) {
      // A value taken from this very buffer is found again at its offset
      // when growing moves the storage.
      const bool inside =
          source != nullptr && out.data != nullptr && source >= out.data && source < out.data + out.capacity;
      const ptrdiff_t sourceOffset = inside ? source - out.data : 0;
      if (!ensure_room(&out, fieldEnd)) {
        code = MsgStatus::kBufferFull;
        break;
      }
      if (inside) source = out.data + sourceOffset;
    }
    const auto offset = static_cast<uint32_t>(out.used);
    char* const p = out.data + offset;
    out.used = static_cast<int32_t>(fieldEnd);
    offsets[first + added] = offset;
    lengths[first + added] = value.len;
    put_be16(p, static_cast<uint32_t>(tag));
    put_be(p + 2, W.nWidth, static_cast<uint32_t>(value.len));
    copy_value(p + kFieldHeader, source, static_cast<size_t>(value.len));
  }

  // Values appended before a failure stay, in the index as in the buffer.
  if (added > 0) {
    slot->nCount = first + added;
    if (!is_active(h, *slot)) activate_slot(h, *slot, tag, h.pTagOrder, &h.nTagOrderLen);
    h.nFieldTotal += added;
    h.nMsgEnd = static_cast<uint32_t>(out.used);
  }
  if (code != 0) return fail(err, code);
  if (h.nCopying == 0) put_be(out.data + h.nCountOffset, W.nWidth, static_cast<uint32_t>(h.nFieldTotal));
  return succeed(err);
}

}  // namespace

namespace {

// One value, with room in the buffer and in a slot the tag already has:
// how nearly every field of a steady stream of messages arrives. Anything
// else (a first value of a tag, growth, a bad argument) takes the general
// path, which checks everything again; nothing is changed before that.
template <const sWireForm& W>
[[gnu::always_inline]] inline int append_one(mnm_msg& h, int32_t tag, const mml_data* values, int* err) {
  constexpr int32_t kFieldHeader = W.FieldHeaderSize();
  if (values == nullptr || static_cast<uint32_t>(tag) > static_cast<uint32_t>(W.nMaxLiveTag)) {
    return fail(err, MsgStatus::kBadArgument);
  }
  const mml_data value = *values;
  buf_rec& out = *h.pOut;
  const uint32_t number = h.aTagIndex[tag];
  const int64_t fieldEnd = static_cast<int64_t>(out.used) + kFieldHeader + value.len;
  if (number == kNoSlot || value.data == nullptr || value.len < 1 || value.len > W.nMaxValue ||
      fieldEnd > out.capacity || h.nFieldTotal >= W.nMaxFields) {
    return append_values<W>(h, tag, 1, values, err);
  }
  sTagSlot& slot = h.pSlots[number];
  const bool active = is_active(h, slot);
  const int32_t count = active ? slot.nCount : 0;
  if (count >= slot.nCapacity || (!active && h.nTagOrderLen >= h.nTagOrderCap)) {
    return append_values<W>(h, tag, 1, values, err);
  }

  const auto offset = static_cast<uint32_t>(out.used);
  char* const p = out.data + offset;
  out.used = static_cast<int32_t>(fieldEnd);
  slot.pOffsets[count] = offset;
  slot.pLengths[count] = value.len;
  slot.nCount = count + 1;
  if (!active) activate_slot(h, slot, tag, h.pTagOrder, &h.nTagOrderLen);
  const int32_t total = ++h.nFieldTotal;
  h.nMsgEnd = static_cast<uint32_t>(fieldEnd);
  const uint32_t copying = h.nCopying;
  char* const countAt = out.data + h.nCountOffset;
  put_be16(p, static_cast<uint32_t>(tag));
  put_be(p + 2, W.nWidth, static_cast<uint32_t>(value.len));
  copy_value(p + kFieldHeader, value.data, static_cast<size_t>(value.len));
  if (copying == 0) put_be(countAt, W.nWidth, static_cast<uint32_t>(total));
  return succeed(err);
}

}  // namespace

int append_fields(mnm_msg& h, int32_t tag, int32_t n, const mml_data* values, int* err) {
  if (n == 1) {
    return h.nForm == MNM_FORM_COMPACT ? append_one<kCompactForm>(h, tag, values, err)
                                       : append_one<kWideForm>(h, tag, values, err);
  }
  return h.nForm == MNM_FORM_COMPACT ? append_values<kCompactForm>(h, tag, n, values, err)
                                     : append_values<kWideForm>(h, tag, n, values, err);
}

}  // namespace mml

extern "C" int mnm_create(mnm_hndl* h, int32_t form, int* err) {
  if (mml_env_is_ready(nullptr) == 0) return mml::fail(err, mml::MsgStatus::kNoMemory);
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  if (*h != nullptr) return mml::fail(err, mml::MsgStatus::kHandleInUse);
  if (form != MNM_FORM_COMPACT && form != MNM_FORM_WIDE) return mml::fail(err, mml::MsgStatus::kBadArgument);
  void* block = nullptr;
  int32_t granted = 0;
  if (mml_alloc(&block, &granted, static_cast<int32_t>(sizeof(mnm_msg)), nullptr) == 0) {
    return mml::fail(err, mml::MsgStatus::kNoMemory);
  }
  auto* msg = static_cast<mnm_msg*>(block);  // zero-filled: every count, flag and pointer starts clear
  msg->nForm = static_cast<uint32_t>(form);
  msg->nMarker = msg->Wire().nMarker;
  msg->nCursor = -1;
  msg->nStamp = 1;
  std::memset(msg->aTagIndex, 0xFF, sizeof msg->aTagIndex);
  *h = msg;
  return mml::succeed(err);
}

extern "C" int mnm_open(mnm_hndl* h, int* err) { return mnm_create(h, MNM_FORM_WIDE, err); }

extern "C" int mnm_close(mnm_hndl* h, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  if (*h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  mnm_msg& msg = **h;
  bool freed = true;
  const auto release = [&freed](auto*& array) {
    if (array == nullptr) return;
    void* block = array;
    freed = mml_free(&block, nullptr) != 0 && freed;
    array = nullptr;
  };
  for (uint32_t i = 0; i < msg.nSlotTotal; ++i) {
    release(msg.pSlots[i].pOffsets);
    release(msg.pSlots[i].pLengths);
  }
  release(msg.pSlots);
  release(msg.pTagOrder);
  void* block = *h;
  freed = mml_free(&block, nullptr) != 0 && freed;
  *h = nullptr;
  return freed ? mml::succeed(err) : mml::fail(err, mml::MsgStatus::kNoMemory);
}

extern "C" int mnm_init_msg(mnm_hndl h, buf_hndl out, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (out == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  h->pOut = out;
  h->pCur = out;
  mml::reset_index(*h);
  if (mml::start_message(*h, out, err) == 0) return 0;
  return mml::succeed(err);
}

extern "C" int mnm_add_field(mnm_hndl h, int32_t tag, int32_t count, const mml_data* values, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (h->pOut == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  return mml::append_fields(*h, tag, count, values, err);
}

extern "C" int mnm_get_msg_span(mnm_hndl h, int32_t* start, int32_t* len, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (start == nullptr || len == nullptr || h->nHasMsg == 0 || h->pCur == nullptr) {
    return mml::fail(err, mml::MsgStatus::kBadArgument);
  }
  *start = static_cast<int32_t>(h->nMsgStart);
  *len = static_cast<int32_t>(h->nMsgEnd - h->nMsgStart);
  return mml::succeed(err);
}

extern "C" int mnm_get_msg(mnm_hndl h, mml_data* out, int* err) {
  int32_t start = 0;
  int32_t len = 0;
  if (out == nullptr) return mml::fail(err, h == nullptr ? mml::MsgStatus::kNullHandle : mml::MsgStatus::kBadArgument);
  if (mnm_get_msg_span(h, &start, &len, err) == 0) return 0;
  *out = {h->pCur->data + start, len};
  return mml::succeed(err);
}
