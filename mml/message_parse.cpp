// Parsing received messages, in place or into a copy. Every read is
// checked against the received buffer's used length first: nothing a
// network delivers makes the parser read past it.
#include "mml/message.h"
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

// The per-field loop, compiled once per form so that widths are constants.
template <const mml::sWireForm& W>
int parse_fields(mnm_msg& h, const buf_rec& in, bool copying, int* err) {
  uint32_t total = 0;
  if (!read_be(in, &h.nParseOffset, W.nWidth, &total) || total > W.nMaxFields) return mml::fail(err, 2);
  if (!copying) h.nMsgEnd = h.nParseOffset;  // a copy's end moves as fields are appended
  const auto used = static_cast<uint32_t>(in.used);
  for (uint32_t i = 0; i < total; ++i) {
    const uint32_t fieldStart = h.nParseOffset;
    if (used - fieldStart < static_cast<uint32_t>(W.FieldHeaderSize())) return mml::fail(err, 2);
    const char* p = in.data + fieldStart;
    const uint32_t tagWord = mml::get_be16(p);
    const uint32_t length = mml::get_be(p + 2, W.nWidth);
    const uint32_t valueStart = fieldStart + static_cast<uint32_t>(W.FieldHeaderSize());
    // Wide lengths above 2^31-1 exceed what any buffer holds, so they fail here too.
    if (length > used - valueStart) return mml::fail(err, 2);
    h.nParseOffset = valueStart;
    const auto tag = static_cast<int32_t>(tagWord);
    const auto len = static_cast<int32_t>(length);
    if (W.IsLive(tag)) {
      if (copying) {
        const mml_data value{len > 0 ? in.data + valueStart : nullptr, len};
        if (mml::append_fields(h, tag, 1, &value, err) == 0) return 0;
      } else {
        if (mml::record_value(h, tag, fieldStart, len, err) == 0) return 0;
        ++h.nFieldTotal;
      }
    } else if (!copying) {
      ++h.nFieldTotal;  // a deleted field still counts in place; nothing reads it
    }
    h.nParseOffset = valueStart + length;
    if (!copying) h.nMsgEnd = h.nParseOffset;
  }
  return mml::succeed(err);
}

}  // namespace

extern "C" int mnm_parse_next(mnm_hndl h, buf_hndl copy, int* err) {
  if (h == nullptr) return mml::fail(err, 1);
  buf_hndl in = h->pIn;
  if (in == nullptr) return mml::fail(err, 2);
  h->nParseStart = h->nParseOffset;
  const bool copying = copy != nullptr && copy != in;
  h->pCur = copying ? copy : in;
  h->pOut = copy;  // null in place: read-only; the received buffer when copy == in
  if (h->nParseOffset >= static_cast<uint32_t>(in->used)) return mml::fail(err, 6);

  const mml::sWireForm& wire = h->Wire();
  const uint32_t markerAt = h->nParseOffset;
  uint32_t marker = 0;
  if (!read_be(*in, &h->nParseOffset, 2, &marker) || marker != wire.nMarker) {
    h->nParseOffset = markerAt;
    return mml::fail(err, 2);
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
  h->nParseEnd = h->nParseOffset;
  ++h->nParsed;
  h->nParsedFlag = 1;
  return mml::succeed(err);
}

extern "C" int mnm_parse(mnm_hndl h, buf_hndl copy, buf_hndl received, int* err) {
  if (h == nullptr) return mml::fail(err, 1);
  if (received == nullptr) return mml::fail(err, 2);
  h->pIn = received;
  h->nParseOffset = 0;
  h->nParsedFlag = 0;
  h->nParseStart = 0;
  h->nParseEnd = 0;
  return mnm_parse_next(h, copy, err);
}
