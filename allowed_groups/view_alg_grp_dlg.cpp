#include "allowed_groups/view_alg_grp_dlg.h"

#include <cstdlib>

#include "allowed_groups/alw_grp.h"
#include "allowed_groups/exchange_codes.h"
#include "allowed_groups/expiry.h"
#include "allowed_groups/request_builder.h"
#include "resources/resource.h"

namespace {

// Nothing is logged for a listed delete; a refused send shows its box only.
constexpr RequestOutcome kDeleteListed{nullptr, "ks_delete_group Request Failure", false, nullptr};

constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "27/12/2012" back to "27Dec2012", the form the expiry conversion reads.
CString CompactExpiry(const CString& dayMonthYear) {
  int position = 0;
  const CString day = dayMonthYear.Tokenize("/", position);
  const CString month = position >= 0 ? dayMonthYear.Tokenize("/", position) : CString();
  const CString year = position >= 0 ? dayMonthYear.Tokenize("/", position) : CString();
  const int monthNumber = std::atoi(month);
  if (monthNumber < 1 || monthNumber > 12) return dayMonthYear;  // the conversion reports what it makes of it
  CString text;
  text.Format("%02d%s%04d", std::atoi(day), kMonthNames[monthNumber - 1], std::atoi(year));
  return text;
}

}  // namespace

CViewAlgGrpDlg::CViewAlgGrpDlg() : CDialog(IDD_VIEW_ALGGRP, nullptr) {}

BOOL CViewAlgGrpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PLUGIN)), TRUE);
  return TRUE;
}

void CViewAlgGrpDlg::AddOrMerge(std::unique_ptr<AllowedGroupRecord> record) {
  for (auto& row : m_rows) {
    if (row->SameGroup(*record)) {
      *row = std::move(*record);
      return;
    }
  }
  m_rows.insert(m_rows.begin(), std::move(record));
}

void CViewAlgGrpDlg::RemoveAllRows() { m_rows.clear(); }

int CViewAlgGrpDlg::SendDeleteListedRequest(const AllowedGroupRecord& record) {
  const CString& code = record.strExchangeCode;
  const bool bse = code == "bse_cm";
  auto given = [](const CString& text) { return text != "ALL"; };
  CString strike;
  if (record.dStrike != 0) strike.Format("%0.0f", record.dStrike);
  CString expiry;
  if (given(record.strExpiry)) {
    expiry.Format("%ld", static_cast<long>(ConvertExpiryToSeconds(CompactExpiry(record.strExpiry), ExpiryKindForCode(code))));
  }
  return RequestBuilder(AllowedGroupsForm().Context(), kDeleteListed)
      .Text(tag::kUserId, plugin::Globals().strUserId)
      .Name("ks_delete_allowed_group")
      .TextIf(given(record.strCategory), tag::kCategory, record.strCategory)
      .TextIf(given(code), tag::kExchangeCode, code)
      .TextIf(!bse && given(record.strInstrument), code == "nse_cm" ? tag::kInstrumentCash : tag::kInstrument,
              record.strInstrument)
      .TextIf(given(record.strSymbol), bse ? tag::kTradingSymbol : tag::kSymbol, record.strSymbol)
      .TextIf(given(record.strProduct), tag::kProduct, record.strProduct)
      .TextIf(given(record.strSide), tag::kSide, record.strSide)
      .TextIf(given(record.strOptionType), bse ? tag::kInstrumentCash : tag::kOptionType, record.strOptionType)
      .TextIf(record.dStrike != 0, tag::kStrike, strike)
      .TextIf(given(record.strExpiry), tag::kExpiry, expiry)
      .Send();
}
