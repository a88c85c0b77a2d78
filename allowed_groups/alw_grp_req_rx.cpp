#include "allowed_groups/alw_grp_req_rx.h"

#include <array>
#include <optional>
#include <string_view>

#include "allowed_groups/core/group_reply.h"
#include "allowed_groups/core/request_tags.h"
#include "platform/afx.h"
#include "plugin/terminal_link.h"

namespace {

// The terminal's scrip details of a BSE trading symbol: the instrument first.
std::optional<CString> BseInstrument(const CString& tradingSymbol) {
  auto lookup =
      plugin::TerminalExport<PFN_pu_get_scrip_details_from_TradSymbol>("pu_get_scrip_details_from_TradSymbol");
  if (lookup == nullptr) return std::nullopt;
  std::array<CString, kScripDetailsCount> details;
  lookup("bse_cm", tradingSymbol, details.data());
  return details[0];
}

}  // namespace

void CAlwGrpReqRx::OnRxEvent(int32_t, int32_t, int32_t, int32_t, int32_t) {}

int CAlwGrpReqRx::ReplyStatus(mnm_hndl reply) {
  const int status = ReplyStatusOf(reply);
  if (status == 0) {
    AfxMessageBox("Fatal error.Please contact administrator.");
    return 1;
  }
  return status;
}

std::unique_ptr<AllowedGroupRecord> CAlwGrpReqRx::DecodeGroup(mnm_hndl reply) {
  // A closure rather than the function's address: a function pointer's type
  // names CString, whose type information would then leave the module.
  const auto lookup = [](const CString& tradingSymbol) { return BseInstrument(tradingSymbol); };
  return std::make_unique<AllowedGroupRecord>(ListedRecord(DecodeAllowedGroup(reply), lookup));
}

void CAlwGrpReqRx::OnRxMessage(int32_t, mnm_hndl reply, int32_t, int32_t) {
  const std::optional<std::string_view> name = FirstText(reply, tag::kReplyName);
  if (!name) return;
  if (*name == "ks_get_category") {
    if (ReplyStatus(reply) == kStatusSuccess) m_replies.OnCategories(reply);
    else m_replies.OnCategoriesRefused();
  } else if (*name == "ks_get_all_allowed_groups") {
    if (ReplyStatus(reply) != kStatusSuccess) return;
    m_replies.OnListedGroup(DecodeGroup(reply));
  }
}
