// The message handle: an index over one tagged message whose bytes live in
// a caller's buffer. The handle owns only its index; slots, slot arrays and
// the tag order list stay allocated across messages, so steady-state
// building and reading allocate nothing.
//
// Forgetting a message costs the same however many tags it had: a slot is
// active while it carries the stamp of the current message, so a reset only
// moves the handle's stamp. A slot's count means something only while it is
// active, and an active slot holds at least one value.
#pragma once

#include <cstdint>

#include "mml/message/message_format.h"
#include "mml/mml.h"

namespace mml {

constexpr int32_t kTagIndexSize = 65535;  // one entry per tag 0..65534
constexpr uint32_t kNoSlot = 0xFFFFFFFF;

// The values of one tag in the current message.
struct sTagSlot {
  uint32_t nActive;    // the handle's stamp while the tag has a value in the current message
  uint32_t nOrderPos;  // index in the tag order list
  uint32_t* pOffsets;  // offset of each value's field (tag word) in the current buffer
  int32_t* pLengths;   // length of each value
  int32_t nCount;
  int32_t nCapacity;  // of both arrays
};

}  // namespace mml

struct mnm_msg {
  uint32_t nForm;
  uint16_t nMarker;
  int32_t nFieldTotal;  // fields of the current message, deleted ones included
  int32_t* pTagOrder;   // distinct tags by first occurrence; deleted-tag word once gone
  int32_t nTagOrderLen;
  int32_t nTagOrderCap;
  int32_t nDeletedTags;
  uint32_t nSlotTotal;
  buf_hndl pOut;          // where new fields go; null when parsed in place
  buf_hndl pIn;           // received buffer being parsed
  buf_hndl pCur;          // buffer the slot offsets refer to
  uint32_t nParseOffset;  // next unparsed byte of pIn
  uint32_t nMsgStart;
  uint32_t nCountOffset;
  int32_t nCursor;  // iteration position in the tag order list
  mml::sTagSlot* pSlots;
  uint32_t nCopying;
  uint32_t nMsgEnd;  // end of the last field written or parsed
  uint32_t nHasMsg;  // 1 once a message was started or parsed
  uint32_t nStamp;   // of the current message; never 0, which marks a slot inactive
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

inline bool is_active(const mnm_msg& h, const sTagSlot& slot) { return slot.nActive == h.nStamp; }

// Values of the slot's tag in the current message.
inline int32_t value_count(const mnm_msg& h, const sTagSlot& slot) { return is_active(h, slot) ? slot.nCount : 0; }

// The slot of tag with room for n more values, and room in the tag order
// list if the tag is not yet active; null when memory is short.
sTagSlot* grow_slot(mnm_msg& h, int32_t tag, int32_t n);

// Records that a slot got its first value of the current message: the tag
// joins the order list.
inline void activate_slot(mnm_msg& h, sTagSlot& slot, int32_t tag, int32_t* order, int32_t* orderLen) {
  slot.nActive = h.nStamp;
  slot.nOrderPos = static_cast<uint32_t>(*orderLen);
  order[(*orderLen)++] = tag;
}

}  // namespace mml
