// The message handle: an index over one tagged message whose bytes live in
// a caller's buffer. The handle owns only its index; slots, slot arrays and
// the tag order list stay allocated across messages, so steady-state
// building and reading allocate nothing.
#pragma once

#include <cstdint>

#include "mml/message_format.h"
#include "mml/mml.h"

namespace mml {

constexpr int32_t kTagIndexSize = 65535;  // one entry per tag 0..65534
constexpr uint32_t kNoSlot = 0xFFFFFFFF;

// The values of one tag in the current message.
struct sTagSlot {
  uint32_t nActive;    // 1 while the tag has a value in the current message
  uint32_t nOrderPos;  // index in the tag order list
  uint32_t* pOffsets;  // offset of each value's field (tag word) in the current buffer
  int32_t* pLengths;   // length of each value
  int32_t nCount;
  int32_t nCapacity;   // of both arrays
};

}  // namespace mml

struct mnm_msg {
  uint32_t nForm;
  uint16_t nMarker;
  int32_t nFieldTotal;   // fields of the current message, deleted ones included
  int32_t* pTagOrder;    // distinct tags by first occurrence; deleted-tag word once gone
  int32_t nTagOrderLen;
  int32_t nTagOrderCap;
  int32_t nDeletedTags;
  uint32_t nSlotTotal;
  buf_hndl pOut;         // where new fields go; null when parsed in place
  buf_hndl pIn;          // received buffer being parsed
  buf_hndl pCur;         // buffer the slot offsets refer to
  uint32_t nParseOffset; // next unparsed byte of pIn
  uint32_t nMsgStart;
  uint32_t nCountOffset;
  int32_t nCursor;       // iteration position in the tag order list
  mml::sTagSlot* pSlots;
  uint32_t nStarted;
  uint32_t nParsed;
  uint32_t nParsedFlag;
  uint32_t nParseStart;
  uint32_t nParseEnd;
  uint32_t nCopying;
  uint32_t nMsgEnd;      // end of the last field written or parsed
  uint32_t nHasMsg;      // 1 once a message was started or parsed
  // Last, so that the fields used on every call share cache lines.
  uint32_t aTagIndex[mml::kTagIndexSize];  // tag -> slot number, or kNoSlot

  const mml::sWireForm& Wire() const { return nForm == MNM_FORM_COMPACT ? mml::kCompactForm : mml::kWideForm; }
};

namespace mml {

// Forgets the current message but keeps every allocation.
void reset_index(mnm_msg& h);

// Writes a header at the end of out and makes it the message being built.
// Error 4 when out cannot grow.
int start_message(mnm_msg& h, buf_hndl out, int* err);

// Appends n fields of tag to the output buffer and records them; rewrites
// the header's total unless a copying parse runs. Errors as mnm_add_field.
int append_fields(mnm_msg& h, int32_t tag, int32_t n, const mml_data* values, int* err);

// The slot of tag with room for n more values, and room in the tag order
// list if the tag is not yet active; null when memory is short. The common
// case, a slot already large enough, is decided inline.
sTagSlot* grow_slot(mnm_msg& h, int32_t tag, int32_t n);
inline sTagSlot* prepare_slot(mnm_msg& h, int32_t tag, int32_t n) {
  const uint32_t number = h.aTagIndex[tag];
  if (number != kNoSlot) {
    sTagSlot& slot = h.pSlots[number];
    if (static_cast<int64_t>(slot.nCount) + n <= slot.nCapacity &&
        (slot.nActive != 0 || h.nTagOrderLen < h.nTagOrderCap)) {
      return &slot;
    }
  }
  return grow_slot(h, tag, n);
}

// Adds one value to a prepared slot; the tag joins the order list on its
// first value.
inline void add_to_slot(mnm_msg& h, sTagSlot& slot, int32_t tag, uint32_t offset, int32_t length) {
  slot.pOffsets[slot.nCount] = offset;
  slot.pLengths[slot.nCount] = length;
  ++slot.nCount;
  if (slot.nActive == 0) {
    slot.nActive = 1;
    slot.nOrderPos = static_cast<uint32_t>(h.nTagOrderLen);
    h.pTagOrder[h.nTagOrderLen++] = tag;
  }
}

// Records one value that already lies at offset in the current buffer.
// Error 3 when the index cannot grow.
inline int record_value(mnm_msg& h, int32_t tag, uint32_t offset, int32_t length, int* err) {
  sTagSlot* slot = prepare_slot(h, tag, 1);
  if (slot == nullptr) {
    if (err != nullptr) *err = 3;
    return 0;
  }
  add_to_slot(h, *slot, tag, offset, length);
  return 1;
}

}  // namespace mml
