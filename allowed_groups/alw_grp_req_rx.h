// The receiver of the server's replies, registered with the terminal. It
// decodes a reply (core/group_reply.h) and hands what it holds to the
// replies' consumer it was made with.
#pragma once

#include <memory>

#include "allowed_groups/core/allowed_group_record.h"
#include "allowed_groups/group_replies.h"
#include "plugin/host_interface.h"

class CAlwGrpReqRx final : public CVelaRxNotifierBase {
 public:
  // REQUIRES: replies outlives the receiver.
  explicit CAlwGrpReqRx(IGroupReplies& replies) : m_replies(replies) {}

  void OnRxEvent(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override;
  // Category replies go to OnCategories (or OnCategoriesRefused); list-all
  // replies become records for OnListedGroup; everything else is ignored.
  void OnRxMessage(int32_t session, mnm_hndl reply, int32_t reserved1, int32_t reserved2) override;

  // The reply's status: 5 (success) without a status field
  // (tag::kReplyStatus); a zero status is reported to the user and read as 1.
  static int ReplyStatus(mnm_hndl reply);
  // One group from a list-all reply (the first value of every tag), its BSE
  // instrument looked up through the terminal.
  static std::unique_ptr<AllowedGroupRecord> DecodeGroup(mnm_hndl reply);

 private:
  IGroupReplies& m_replies;
};
