// The form's requests. Each is one tagged message built in the plugin
// context's buffer and handed to the terminal; every field is one text value.
#include <cstdlib>

#include "allowed_groups/alw_grp.h"
#include "allowed_groups/exchange_codes.h"
#include "allowed_groups/expiry.h"
#include "allowed_groups/request_builder.h"
#include "allowed_groups/request_tags.h"
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

int CAlwGrp::SendAddRequest(const CString& category) { return SendGroupRequest(GroupRequest::kAdd, category); }

int CAlwGrp::SendDeleteRequest(const CString& category) { return SendGroupRequest(GroupRequest::kDelete, category); }

int CAlwGrp::SendGroupRequest(GroupRequest kind, const CString& category) {
  if (m_cmbExchange.GetCurSel() < 0) {
    MessageBox("Please Specify the exchange");
    return 0;
  }
  const CString segment = SelectedText(m_cmbExchange);
  const bool bse = segment == "BSE";
  const CString code = ExchangeCodeOf(segment);

  const bool hasInstrument = m_cmbInstrument.GetCurSel() > 0 && !bse;
  const int32_t instrumentTag = segment == "NSE" ? tag::kInstrumentCash : tag::kInstrument;
  const CString instrument = SelectedText(m_cmbInstrument);
  const bool hasSymbol = m_cmbSymbol.GetCurSel() > 0;
  const int32_t symbolTag = bse ? tag::kTradingSymbol : tag::kSymbol;
  const CString symbol = SelectedText(m_cmbSymbol);
  const bool hasProduct = m_cmbProduct.GetCurSel() > 0;
  const CString product = SelectedText(m_cmbProduct);
  CString side;
  if (IsDlgButtonChecked(IDC_BUY) == BST_CHECKED) side = "B";
  else if (IsDlgButtonChecked(IDC_SELL) == BST_CHECKED) side = "S";
  const bool hasOptionType = m_cmbOptionType.GetCurSel() > 0;
  const int32_t optionTag = bse ? tag::kInstrumentCash : tag::kOptionType;
  const CString optionType = SelectedText(m_cmbOptionType);

  // Strike in server units: price x 100, and x 100000 more for currencies.
  const bool hasStrike = m_cmbStrike.GetCurSel() > 0;
  CString strike;
  if (hasStrike) {
    double value = std::atof(SelectedText(m_cmbStrike)) * 100;
    if (segment == "CDS") value *= 100000;
    strike.Format("%0.0f", value);
  }
  const bool hasExpiry = IsDlgButtonChecked(IDC_ALL_EXPIRY) != BST_CHECKED && m_cmbExpiry.GetCurSel() >= 0;
  CString expiry;
  if (hasExpiry) {
    expiry.Format("%ld",
                  static_cast<long>(ConvertExpiryToSeconds(SelectedText(m_cmbExpiry), ExpiryKindForDisplay(segment))));
  }
  const CString& user = plugin::Globals().strUserId;

  if (kind == GroupRequest::kAdd) {
    return RequestBuilder(m_pContext.get(), kAdd)
        .Name("ks_publish_allowed_group")
        .Text(tag::kCategory, category)
        .Text(tag::kUserId, user)
        .Text(tag::kExchangeCode, code)
        .TextIf(hasInstrument, instrumentTag, instrument)
        .TextIf(hasProduct, tag::kProduct, product)
        .TextIf(!side.IsEmpty(), tag::kSide, side)
        .TextIf(hasSymbol, symbolTag, symbol)
        .TextIf(hasOptionType, optionTag, optionType)
        .TextIf(hasStrike, tag::kStrike, strike)
        .TextIf(hasExpiry, tag::kExpiry, expiry)
        .Send();
  }
  return RequestBuilder(m_pContext.get(), kDelete)
      .Name("ks_delete_allowed_group")
      .Text(tag::kUserId, user)
      .Text(tag::kCategory, category)
      .Text(tag::kExchangeCode, code)
      .TextIf(hasInstrument, instrumentTag, instrument)
      .TextIf(hasSymbol, symbolTag, symbol)
      .TextIf(hasProduct, tag::kProduct, product)
      .TextIf(!side.IsEmpty(), tag::kSide, side)
      .TextIf(hasOptionType, optionTag, optionType)
      .TextIf(hasStrike, tag::kStrike, strike)
      .TextIf(hasExpiry, tag::kExpiry, expiry)
      .Send();
}
