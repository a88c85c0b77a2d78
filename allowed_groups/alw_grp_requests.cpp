// The form's requests. Each is one tagged message built in the plugin
// context's buffer and handed to the terminal; every field is one text value.
// The group requests take their fields from the core (core/group_request.h);
// here the controls only become a group.
#include "allowed_groups/alw_grp.h"
#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/core/segment_rules.h"
#include "allowed_groups/request_builder.h"
#include "plugin/plugin_context.h"
#include "plugin/terminal_link.h"
#include "resources/resource.h"

namespace {

constexpr RequestOutcome kCategory{"ks_get_category Request Failure", "ks_get_category Request Failure", true,
                                   "ks_get_category sent successfully"};
constexpr RequestOutcome kPeerData{"ks_get_user_peer_data Request Failure", "ks_get_user_peer_data Request Failure",
                                   true, "ks_get_user_peer_data Request sent successfully"};
constexpr RequestOutcome kAdd{"Add Group Failure", "ks_add_allowed_group Request Failure", true,
                              "ks_add_allowed_group request sent successfully"};
constexpr RequestOutcome kDelete{"Delete Group Failure", "ks_delete_group Request Failure", true,
                                 "ks_delete_group request sent successfully"};
constexpr RequestOutcome kListAll{"ks_get_all_allowed_groups Request Failure",
                                  "ks_get_all_allowed_groups Request Failure", true,
                                  "ks_get_all_allowed_groups request sent successfully"};

}  // namespace

int CAlwGrp::SendCategoryRequest() {
  return RequestBuilder(m_pContext.get(), kCategory)
      .Name("ks_get_category")
      .Text(tag::kUserIdSession, plugin::Globals().strUserId)
      .Send();
}

int CAlwGrp::SendPeerDataRequest() {
  return RequestBuilder(m_pContext.get(), kPeerData)
      .Name("ks_get_user_peer_data")
      .Text(tag::kUserIdSession, plugin::Globals().strUserId)
      .Send();
}

int CAlwGrp::SendListAllRequest() {
  return RequestBuilder(m_pContext.get(), kListAll)
      .Text(tag::kUserId, plugin::Globals().strUserId)
      .Name("ks_get_all_allowed_groups")
      .Send();
}

std::optional<AllowedGroup> CAlwGrp::ChosenGroup(const CString& category) {
  if (m_cmbExchange.GetCurSel() < 0) {
    MessageBox("Please Specify the exchange");
    return std::nullopt;
  }
  // The product box can be typed in. A text that names no product would
  // otherwise send no product, which the server reads as every product: a
  // group wider than the one meant. Refuse it; a text naming a product, in
  // any case, chooses it. (The scrip boxes are drop-down lists: what they
  // show is always one of their entries.)
  const int product = EntryNamed(m_cmbProduct);
  if (product < 0) {
    MessageBox("Please select a valid Product");
    return std::nullopt;
  }
  m_cmbProduct.SetCurSel(product);
  // Index 0 of a scrip combo is "--ANY--", of the product combo "--ALL--":
  // nothing chosen, nothing sent.
  auto chosen = [this](const CComboBox& combo) -> std::optional<CString> {
    if (combo.GetCurSel() <= 0) return std::nullopt;
    return SelectedText(combo);
  };
  AllowedGroup group;
  group.category = category;
  group.exchangeCode = ExchangeCodeOf(SelectedText(m_cmbExchange));
  const SegmentRules& rules = RulesForCode(group.exchangeCode->view());
  group.instrument = chosen(m_cmbInstrument);
  group.symbol = chosen(m_cmbSymbol);
  group.optionType = chosen(m_cmbOptionType);
  if (const auto price = chosen(m_cmbStrike)) group.strike = StrikeInServerUnits(price->view(), rules);
  if (IsDlgButtonChecked(IDC_ALL_EXPIRY) != BST_CHECKED && m_cmbExpiry.GetCurSel() >= 0) {
    group.expiry = ExpiryInServerSeconds(SelectedText(m_cmbExpiry), rules.expiryKind);
  }
  group.product = chosen(m_cmbProduct);
  if (IsDlgButtonChecked(IDC_BUY) == BST_CHECKED) group.side = "B";
  else if (IsDlgButtonChecked(IDC_SELL) == BST_CHECKED) group.side = "S";
  return group;
}

int CAlwGrp::SendAddRequest(const CString& category) {
  const std::optional<AllowedGroup> group = ChosenGroup(category);
  return group ? SendGroupAdd(*group) : 0;
}

int CAlwGrp::SendGroupAdd(const AllowedGroup& group) {
  return RequestBuilder(m_pContext.get(), kAdd).Fields(EncodeAddRequest(group, plugin::Globals().strUserId)).Send();
}

int CAlwGrp::SendDeleteRequest(const CString& category) {
  const std::optional<AllowedGroup> group = ChosenGroup(category);
  if (!group) return 0;
  return RequestBuilder(m_pContext.get(), kDelete)
      .Fields(EncodeDeleteRequest(*group, plugin::Globals().strUserId, DeleteSource::kForm))
      .Send();
}
