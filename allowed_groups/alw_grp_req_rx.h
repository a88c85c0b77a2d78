// The receiver of the server's replies, registered with the terminal. It
// reaches the form through the module's single form object.
#pragma once

#include <memory>

#include "allowed_groups/allowed_group_record.h"
#include "plugin/host_interface.h"

class CAlwGrpReqRx final : public CVelaRxNotifierBase {
 public:
  void OnRxEvent(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override;
  // Category replies fill the form; list-all replies become rows of the
  // "View Allowed Group" list; everything else is ignored.
  void OnRxMessage(int32_t session, mnm_hndl reply, int32_t reserved1, int32_t reserved2) override;

  // The reply's status: 5 (success) without a status field
  // (tag::kReplyStatus); a zero status is reported to the user and read as 1.
  static int ReplyStatus(mnm_hndl reply);
  // One group from a list-all reply (the first value of every tag).
  static std::unique_ptr<AllowedGroupRecord> DecodeGroup(mnm_hndl reply);
};
