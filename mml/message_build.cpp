// Message handles: creation and building messages into a buffer.
#include <cstddef>
#include <cstring>

#include "mml/message.h"
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
  if (!ensure_room(out, static_cast<int64_t>(out->used) + wire.HeaderSize())) return fail(err, 4);
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

// The per-field path, compiled once per form so that widths are constants.
template <const sWireForm& W>
int append_values(mnm_msg& h, int32_t tag, int32_t n, const mml_data* values, int* err) {
  if (n < 1 || tag < 0 || values == nullptr || tag > W.nMaxLiveTag ||
      static_cast<int64_t>(h.nFieldTotal) + n > W.nMaxFields) {
    return fail(err, 2);
  }
  sTagSlot* slot = prepare_slot(h, tag, n);
  if (slot == nullptr) return fail(err, 3);

  buf_rec& out = *h.pOut;
  for (int32_t i = 0; i < n; ++i) {
    const mml_data value = values[i];
    if (value.data == nullptr ? value.len != 0 : (value.len < 1 || value.len > W.nMaxValue)) return fail(err, 2);
    const int64_t fieldEnd = static_cast<int64_t>(out.used) + W.FieldHeaderSize() + value.len;
    const char* source = value.data;
    // A value taken from this very buffer is found again at its offset
    // if growing moves the storage, and copied with overlap in mind.
    const bool inside = source != nullptr && out.data != nullptr && source >= out.data &&
                        source < out.data + out.capacity;
    if (fieldEnd > out.capacity) {
      const ptrdiff_t sourceOffset = inside ? source - out.data : 0;
      if (!ensure_room(&out, fieldEnd)) return fail(err, 4);
      if (inside) source = out.data + sourceOffset;
    }
    // Bookkeeping first: byte stores below may alias anything, and would
    // make the compiler reload every field touched after them.
    const auto offset = static_cast<uint32_t>(out.used);
    char* p = out.data + offset;
    out.used = static_cast<int32_t>(fieldEnd);
    add_to_slot(h, *slot, tag, offset, value.len);
    ++h.nFieldTotal;

    put_be16(p, static_cast<uint32_t>(tag));
    put_be(p + 2, W.nWidth, static_cast<uint32_t>(value.len));
    if (inside) {
      std::memmove(p + W.FieldHeaderSize(), source, static_cast<size_t>(value.len));
    } else if (value.len > 0) {
      std::memcpy(p + W.FieldHeaderSize(), source, static_cast<size_t>(value.len));
    }
  }
  h.nMsgEnd = static_cast<uint32_t>(out.used);
  if (h.nCopying == 0) put_be(out.data + h.nCountOffset, W.nWidth, static_cast<uint32_t>(h.nFieldTotal));
  return succeed(err);
}

}  // namespace

int append_fields(mnm_msg& h, int32_t tag, int32_t n, const mml_data* values, int* err) {
  return h.nForm == MNM_FORM_COMPACT ? append_values<kCompactForm>(h, tag, n, values, err)
                                     : append_values<kWideForm>(h, tag, n, values, err);
}

}  // namespace mml

extern "C" int mnm_create(mnm_hndl* h, int32_t form, int* err) {
  if (mml_env_is_ready(nullptr) == 0) return mml::fail(err, 3);
  if (h == nullptr) return mml::fail(err, 2);
  if (*h != nullptr) return mml::fail(err, 5);
  if (form != MNM_FORM_COMPACT && form != MNM_FORM_WIDE) return mml::fail(err, 2);
  void* block = nullptr;
  int32_t granted = 0;
  if (mml_alloc(&block, &granted, static_cast<int32_t>(sizeof(mnm_msg)), nullptr) == 0) return mml::fail(err, 3);
  auto* msg = static_cast<mnm_msg*>(block);  // zero-filled: every count, flag and pointer starts clear
  msg->nForm = static_cast<uint32_t>(form);
  msg->nMarker = msg->Wire().nMarker;
  msg->nCursor = -1;
  std::memset(msg->aTagIndex, 0xFF, sizeof msg->aTagIndex);
  *h = msg;
  return mml::succeed(err);
}

extern "C" int mnm_open(mnm_hndl* h, int* err) { return mnm_create(h, MNM_FORM_WIDE, err); }

extern "C" int mnm_close(mnm_hndl* h, int* err) {
  if (h == nullptr) return mml::fail(err, 2);
  if (*h == nullptr) return mml::fail(err, 1);
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
  return freed ? mml::succeed(err) : mml::fail(err, 3);
}

extern "C" int mnm_init_msg(mnm_hndl h, buf_hndl out, int* err) {
  if (h == nullptr) return mml::fail(err, 1);
  if (out == nullptr) return mml::fail(err, 2);
  h->pOut = out;
  h->pCur = out;
  mml::reset_index(*h);
  if (mml::start_message(*h, out, err) == 0) return 0;
  ++h->nStarted;
  h->nParsedFlag = 0;
  h->nParseStart = 0;
  h->nParseEnd = 0;
  return mml::succeed(err);
}

extern "C" int mnm_add_field(mnm_hndl h, int32_t tag, int32_t count, const mml_data* values, int* err) {
  if (h == nullptr) return mml::fail(err, 1);
  if (h->pOut == nullptr) return mml::fail(err, 2);
  return mml::append_fields(*h, tag, count, values, err);
}

extern "C" int mnm_get_msg_span(mnm_hndl h, int32_t* start, int32_t* len, int* err) {
  if (h == nullptr) return mml::fail(err, 1);
  if (start == nullptr || len == nullptr || h->nHasMsg == 0 || h->pCur == nullptr) return mml::fail(err, 2);
  *start = static_cast<int32_t>(h->nMsgStart);
  *len = static_cast<int32_t>(h->nMsgEnd - h->nMsgStart);
  return mml::succeed(err);
}

extern "C" int mnm_get_msg(mnm_hndl h, mml_data* out, int* err) {
  int32_t start = 0;
  int32_t len = 0;
  if (out == nullptr) return mml::fail(err, h == nullptr ? 1 : 2);
  if (mnm_get_msg_span(h, &start, &len, err) == 0) return 0;
  *out = {h->pCur->data + start, len};
  return mml::succeed(err);
}
