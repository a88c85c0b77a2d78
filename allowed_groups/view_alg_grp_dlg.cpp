#include "allowed_groups/view_alg_grp_dlg.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

void CViewAlgGrpDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_GROUP_LIST, m_list);
  DDX_Control(dx, IDC_DELETE_LISTED, m_btnDelete);
}

BOOL CViewAlgGrpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PLUGIN)), TRUE);
  struct Column {
    const char* name;
    int format;
  };
  static constexpr Column kColumns[] = {
      {"Category", LVCFMT_LEFT},     {"Exhg-Seg", LVCFMT_LEFT},     {"Instr Name", LVCFMT_RIGHT},
      {"Symbol", LVCFMT_RIGHT},      {"Option Type", LVCFMT_RIGHT}, {"Strike Price", LVCFMT_RIGHT},
      {"Expiry Date", LVCFMT_RIGHT}, {"Product Type", LVCFMT_RIGHT}, {"Transaction Type", LVCFMT_RIGHT},
  };
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    m_list.InsertColumn(i, kColumns[i].name, kColumns[i].format, 80);
  }
  m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  RowsChanged();
  Layout();
  return TRUE;
}

void CViewAlgGrpDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  Layout();
}

// The list fills the client area below the button, which sits centred on top.
void CViewAlgGrpDlg::Layout() {
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (m_list.GetSafeHwnd() != nullptr) m_list.MoveWindow(5, 55, width - 20, height - 100);
  if (m_btnDelete.GetSafeHwnd() != nullptr) m_btnDelete.MoveWindow(width / 2 - 40, 8, 80, 28);
}

void CViewAlgGrpDlg::RowsChanged() {
  if (m_list.GetSafeHwnd() == nullptr) return;
  m_list.SetItemCount(static_cast<int>(m_rows.size()));
  m_list.Invalidate();
}

CString CViewAlgGrpDlg::CellText(const AllowedGroupRecord& record, int column) {
  switch (column) {
    case 0: return record.strCategory;
    case 1: return record.strExchangeCode;
    case 2: return record.strInstrument;
    case 3: return record.strSymbol;
    case 4: return record.strOptionType;
    case 5: {
      // Server units back to a price: currency strikes carry 100000 more.
      CString text;
      text.Format("%0.2f", record.dStrike / (record.strExchangeCode == "cde_fo" ? 10000000.0 : 100.0));
      return text;
    }
    case 6: return record.strExpiry;
    case 7: return record.strProduct;
    case 8: return record.strSide;
    default: return CString();
  }
}

BOOL CViewAlgGrpDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->idFrom == static_cast<UINT_PTR>(IDC_GROUP_LIST)) {
    if (header->code == LVN_GETDISPINFO) {
      LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(lParam)->item;
      const bool valid = item.iItem >= 0 && item.iItem < static_cast<int>(m_rows.size());
      if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        const CString text = valid ? CellText(*m_rows[static_cast<size_t>(item.iItem)], item.iSubItem) : CString();
        const int n = std::min(text.GetLength(), item.cchTextMax - 1);
        std::memcpy(item.pszText, text.GetString(), static_cast<size_t>(n));
        item.pszText[n] = '\0';
      }
      if ((item.mask & LVIF_PARAM) && valid) item.lParam = reinterpret_cast<LPARAM>(m_rows[static_cast<size_t>(item.iItem)].get());
      *result = 0;
      return TRUE;
    }
    if (header->code == LVN_ITEMCHANGED) {
      *result = 0;
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, result);
}

BOOL CViewAlgGrpDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_DELETE_LISTED && HIWORD(wParam) == BN_CLICKED) {
    OnDeleteGroup();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CViewAlgGrpDlg::OnDeleteGroup() {
  if (m_list.GetSelectedCount() == 0) {
    MessageBox("Please select a group to delete");
    return;
  }
  for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
    if (row >= static_cast<int>(m_rows.size())) break;
    SendDeleteListedRequest(*m_rows[static_cast<size_t>(row)]);
    m_pendingRows.AddHead(row);
  }
  // Highest row first, so the rows still to go keep their numbers.
  m_list.SetItemState(-1, 0, LVIS_SELECTED);
  for (POSITION at = m_pendingRows.GetHeadPosition(); at != nullptr;) {
    const int row = m_pendingRows.GetNext(at);
    m_rows.erase(m_rows.begin() + row);
  }
  m_pendingRows.RemoveAll();
  RowsChanged();
}

void CViewAlgGrpDlg::AddOrMerge(std::unique_ptr<AllowedGroupRecord> record) {
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i]->SameGroup(*record)) {
      *m_rows[i] = std::move(*record);
      if (m_list.GetSafeHwnd() != nullptr) m_list.RedrawItems(static_cast<int>(i), static_cast<int>(i));
      return;
    }
  }
  m_rows.insert(m_rows.begin(), std::move(record));
  RowsChanged();
}

void CViewAlgGrpDlg::RemoveAllRows() {
  m_rows.clear();
  if (m_list.GetSafeHwnd() != nullptr) m_list.SetItemState(-1, 0, LVIS_SELECTED);
  RowsChanged();
}

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
