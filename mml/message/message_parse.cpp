// Parsing received messages, in place or into a copy. Every read is
// checked against the received buffer's used length first: nothing a
// network delivers makes the parser read past it.
#include "mml/message/message.h"
#include "mml/status.h"

namespace {

// Reads width bytes at *pos of in, advancing *pos; false when they would
// run past the used length.
bool read_be(const buf_rec& in, uint32_t* pos, int32_t width, uint32_t* value) {
  if (static_cast<int64_t>(in.used) - *pos < width) return false;
  *value = mml::get_be(in.data + *pos, width);
  *pos += static_cast<uint32_t>(width);
  return true;
}

// The per-field loops, compiled once per form so that widths are constants.
// Both stop at the first field that runs past the received bytes.

// In place: offsets into the received buffer are recorded, nothing is
// written. Position, count and the tag order list live in locals: every
// store to a slot's arrays could alias the handle's own fields and would
// otherwise force them to be reloaded on every field.
template <const mml::sWireForm& W>
int index_in_place(mnm_msg& h, const buf_rec& in, uint32_t total, int* err) {
  constexpr auto kFieldHeader = static_cast<uint32_t>(W.FieldHeaderSize());
  const char* const data = in.data;
  const auto used = static_cast<uint32_t>(in.used);
  uint32_t pos = h.nParseOffset;
  int32_t fields = h.nFieldTotal;
  mml::sTagSlot* slots = h.pSlots;
  int32_t* order = h.pTagOrder;
  int32_t orderLen = h.nTagOrderLen;
  int32_t orderCap = h.nTagOrderCap;
  int code = 0;
  for (uint32_t i = 0; i < total; ++i) {
    if (used - pos < kFieldHeader) {
      code = mml::MsgStatus::kBadArgument;
      break;
    }
    // Wide lengths above 2^31-1 exceed what any buffer holds, so they fail too.
    const uint32_t length = mml::get_be(data + pos + 2, W.nWidth);
    if (length > used - pos - kFieldHeader) {
      code = mml::MsgStatus::kBadArgument;
      break;
    }
    const auto tag = static_cast<int32_t>(mml::get_be16(data + pos));
    if (W.IsLive(tag)) {
      // An active slot holds at least one value, so a count of 0 means the
      // tag is new to this message.
      const uint32_t number = h.aTagIndex[tag];
      mml::sTagSlot* slot = number == mml::kNoSlot ? nullptr : &slots[number];
      int32_t count = slot == nullptr ? 0 : mml::value_count(h, *slot);
      if (slot == nullptr || count >= slot->nCapacity || (count == 0 && orderLen >= orderCap)) {
        h.nTagOrderLen = orderLen;
        slot = mml::grow_slot(h, tag, 1);
        if (slot == nullptr) {
          code = mml::MsgStatus::kNoMemory;
          break;
        }
        slots = h.pSlots;
        order = h.pTagOrder;
        orderCap = h.nTagOrderCap;
        count = mml::value_count(h, *slot);
      }
      slot->pOffsets[count] = pos;
      slot->pLengths[count] = static_cast<int32_t>(length);
      slot->nCount = count + 1;
      if (count == 0) mml::activate_slot(h, *slot, tag, order, &orderLen);
    }
    ++fields;  // a deleted field still counts in place; nothing reads it
    pos += kFieldHeader + length;
  }
  h.nTagOrderLen = orderLen;
  h.nParseOffset = pos;
  h.nMsgEnd = pos;
  h.nFieldTotal = fields;
  return code == 0 ? mml::succeed(err) : mml::fail(err, code);
}

// Copying: live fields are appended to the copy buffer, deleted ones dropped.
template <const mml::sWireForm& W>
int copy_fields(mnm_msg& h, const buf_rec& in, uint32_t total, int* err) {
  constexpr auto kFieldHeader = static_cast<uint32_t>(W.FieldHeaderSize());
  const auto used = static_cast<uint32_t>(in.used);
  for (uint32_t i = 0; i < total; ++i) {
    const uint32_t pos = h.nParseOffset;
    if (used - pos < kFieldHeader) return mml::fail(err, mml::MsgStatus::kBadArgument);
    const uint32_t length = mml::get_be(in.data + pos + 2, W.nWidth);
    if (length > used - pos - kFieldHeader) return mml::fail(err, mml::MsgStatus::kBadArgument);
    const auto tag = static_cast<int32_t>(mml::get_be16(in.data + pos));
    if (W.IsLive(tag)) {
      const auto len = static_cast<int32_t>(length);
      const mml_data value{len > 0 ? in.data + pos + kFieldHeader : nullptr, len};
      if (mml::append_fields(h, tag, 1, &value, err) == 0) return 0;
    }
    h.nParseOffset = pos + kFieldHeader + length;
  }
  return mml::succeed(err);
}

template <const mml::sWireForm& W>
int parse_fields(mnm_msg& h, const buf_rec& in, bool copying, int* err) {
  uint32_t total = 0;
  if (!read_be(in, &h.nParseOffset, W.nWidth, &total) || total > W.nMaxFields) {
    return mml::fail(err, mml::MsgStatus::kBadArgument);
  }
  if (copying) return copy_fields<W>(h, in, total, err);
  h.nMsgEnd = h.nParseOffset;
  return index_in_place<W>(h, in, total, err);
}

}  // namespace

extern "C" int mnm_parse_next(mnm_hndl h, buf_hndl copy, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  buf_hndl in = h->pIn;
  if (in == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  const bool copying = copy != nullptr && copy != in;
  h->pCur = copying ? copy : in;
  h->pOut = copy;  // null in place: read-only; the received buffer when copy == in
  if (h->nParseOffset >= static_cast<uint32_t>(in->used)) return mml::fail(err, mml::MsgStatus::kAbsent);

  const mml::sWireForm& wire = h->Wire();
  const uint32_t markerAt = h->nParseOffset;
  uint32_t marker = 0;
  if (!read_be(*in, &h->nParseOffset, 2, &marker) || marker != wire.nMarker) {
    h->nParseOffset = markerAt;
    return mml::fail(err, mml::MsgStatus::kBadArgument);
  }
  mml::reset_index(*h);
  if (copying) {
    if (mml::start_message(*h, copy, err) == 0) return 0;
  } else {
    h->nMsgStart = markerAt;
    h->nCountOffset = markerAt + 2;
    h->nMsgEnd = h->nParseOffset;
    h->nHasMsg = 1;
  }

  h->nCopying = copying ? 1 : 0;
  const int ok = h->nForm == MNM_FORM_COMPACT ? parse_fields<mml::kCompactForm>(*h, *in, copying, err)
                                              : parse_fields<mml::kWideForm>(*h, *in, copying, err);
  h->nCopying = 0;
  if (ok == 0) return 0;
  if (copying) mml::put_be(copy->data + h->nCountOffset, wire.nWidth, static_cast<uint32_t>(h->nFieldTotal));
  return mml::succeed(err);
}

extern "C" int mnm_parse(mnm_hndl h, buf_hndl copy, buf_hndl received, int* err) {
  if (h == nullptr) return mml::fail(err, mml::MsgStatus::kNullHandle);
  if (received == nullptr) return mml::fail(err, mml::MsgStatus::kBadArgument);
  h->pIn = received;
  h->nParseOffset = 0;
  return mnm_parse_next(h, copy, err);
}
