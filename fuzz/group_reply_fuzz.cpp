// Arbitrary bytes as the server's replies: every message read as a list-all
// reply into a row of the list, and that row turned back into the delete
// the list would send. A converted expiry must be a date the delete can
// convert back, a strike kept as sent must be what was sent, and no field
// of the row may be empty where the list shows "ALL"; anything else aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "allowed_groups/core/expiry.h"
#include "allowed_groups/core/group_reply.h"
#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "mml/mml.h"

namespace {

[[noreturn]] void Mismatch(const char* what) {
  std::fprintf(stderr, "group_reply_fuzz: %s\n", what);
  std::abort();
}

struct Handles {
  mnm_hndl reply = nullptr;
  Handles() {
    char* envp[] = {nullptr};
    if (mml_env_init(0, nullptr, envp, 2, 0, nullptr) == 0 || mnm_open(&reply, nullptr) == 0) std::abort();
  }
};

void Check(mnm_hndl reply) {
  (void)FirstText(reply, tag::kReplyName);
  (void)ReplyStatusOf(reply);
  const ListedGroup group = DecodeAllowedGroup(reply);
  const AllowedGroupRecord row =
      ListedRecord(group, [](const CString& symbol) { return std::optional<CString>(symbol); });
  for (const CGroupText* text : {&row.strSymbol, &row.strOptionType, &row.strProduct, &row.strSide}) {
    if (text->IsEmpty()) Mismatch("an empty field where the list shows ALL");
  }
  if (!row.strStrikeAsSent.IsEmpty() && (!group.strike || row.strStrikeAsSent.view() != *group.strike)) {
    Mismatch("a strike kept other than sent");
  }
  const AllowedGroup back = GroupOfRecord(row);
  if (group.expiry && !group.expiry->empty() && !row.ExpiryAsSent()) {
    // Converted: a "dd/mm/yyyy" date of the 32-bit range, which the delete
    // turns back into seconds (-2 only for dates its shift takes past 32 bits).
    const CString compact = CompactExpiry(row.strExpiry);
    if (compact.GetLength() != 9 || !back.expiry || *back.expiry == "-1") Mismatch("a converted expiry not sent back");
  }
  (void)EncodeDeleteRequest(back, "u", DeleteSource::kList);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Handles handles;
  if (size == 0 || size > (1u << 16)) return 0;
  buf_hndl in = nullptr;
  if (buf_open(&in, static_cast<int32_t>(size), nullptr) == 0) std::abort();
  std::memcpy(in->data, data, size);
  in->used = static_cast<int32_t>(size);
  int error = 0;
  for (int ok = mnm_parse(handles.reply, nullptr, in, &error); ok != 0;
       ok = mnm_parse_next(handles.reply, nullptr, &error)) {
    Check(handles.reply);
  }
  buf_close(&in, nullptr);
  return 0;
}
