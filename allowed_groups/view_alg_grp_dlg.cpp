#include "allowed_groups/view_alg_grp_dlg.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
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

CViewAlgGrpDlg::CViewAlgGrpDlg() : CDialog(IDD_VIEW_ALGGRP, nullptr) { m_list.m_strProfileName = kProfileName; }

void CViewAlgGrpDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_GROUP_LIST, m_list);
  DDX_Control(dx, IDC_DELETE_LISTED, m_btnDelete);
}

BOOL CViewAlgGrpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PLUGIN)), TRUE);
  // The text columns 1 to 4 sort as floating values, as they always have.
  static const sTarnColInfo kColumns[] = {
      {"Category", 80, LVCFMT_LEFT, sort_kind::kText},          {"Exhg-Seg", 80, LVCFMT_LEFT, sort_kind::kFloat},
      {"Instr Name", 80, LVCFMT_RIGHT, sort_kind::kFloat},      {"Symbol", 80, LVCFMT_RIGHT, sort_kind::kFloat},
      {"Option Type", 80, LVCFMT_RIGHT, sort_kind::kFloat},     {"Strike Price", 80, LVCFMT_RIGHT, sort_kind::kFloat},
      {"Expiry Date", 80, LVCFMT_RIGHT, sort_kind::kText},      {"Product Type", 80, LVCFMT_RIGHT, sort_kind::kText},
      {"Transaction Type", 80, LVCFMT_RIGHT, sort_kind::kText},
  };
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    m_list.m_arrColumns.Add(kColumns[i]);
    m_list.m_mapColumnIndex.SetAt(kColumns[i].szName, i);
  }
  m_list.ApplyColumnProfile();
  m_list.EnableFilterMode(true);
  m_list.SetDataDescriptor(&CViewAlgGrpDlg::FormatRow);
  m_list.SetOwnerNotificationWindow(this);
  m_list.SetNewestFirst(true);
  Layout();
  return TRUE;
}

void CViewAlgGrpDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  Layout();
}

void CViewAlgGrpDlg::OnWindowPosChanged(WINDOWPOS* pos) {
  CDialog::OnWindowPosChanged(pos);
  // Saving only on destroy would do; saving on every hide as well keeps the
  // widths and order set during a long session if the terminal crashes.
  if (pos != nullptr && (pos->flags & SWP_HIDEWINDOW) && m_list.GetSafeHwnd() != nullptr) m_list.SaveColumnProfile();
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

CString CViewAlgGrpDlg::CellText(const AllowedGroupRecord& record, int column) {
  switch (column) {
    case 0: return record.strCategory;
    case 1: return record.strExchangeCode;
    case 2: return record.strInstrument;
    case 3: return record.strSymbol;
    case 4: return record.strOptionType;
    case 5: {
      if (!record.strStrikeAsSent.IsEmpty()) return record.strStrikeAsSent;
      // Server units back to a price: currency strikes carry 100000 more.
      // Written as "%0.2f" writes it (to_chars rounds the same way, exactly),
      // without printf's cost: sorting and filtering format every row.
      const double price = record.dStrike / (record.strExchangeCode == "cde_fo" ? 10000000.0 : 100.0);
      char text[400];
      const auto written = std::to_chars(text, text + sizeof text, price, std::chars_format::fixed, 2);
      return written.ec == std::errc() ? CString(text, static_cast<int>(written.ptr - text)) : CString();
    }
    case 6: return record.strExpiry;
    case 7: return record.strProduct;
    case 8: return record.strSide;
    default: return CString();
  }
}

int CViewAlgGrpDlg::FormatRow(DWORD_PTR data, int column, CString& text, COLORREF&, COLORREF&, int&) {
  const auto* record = reinterpret_cast<const AllowedGroupRecord*>(data);
  if (record == nullptr || column < 0 || column > 8) return 0;
  text = CellText(*record, column);
  return 1;
}

BOOL CViewAlgGrpDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->idFrom == static_cast<UINT_PTR>(IDC_GROUP_LIST)) {
    if (header->code == HDN_FILTERCHANGE) {
      m_list.Refilter();
      *result = 0;
    } else if (header->code == LVN_ITEMCHANGED) {
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
    const auto* record = reinterpret_cast<const AllowedGroupRecord*>(m_list.GetItemData(row));
    if (record == nullptr) continue;
    SendDeleteListedRequest(*record);
    m_pendingRows.AddHead(row);
  }
  // Highest row first, so the rows still to go keep their numbers; the list
  // moves each deleted row's selection to the row that follows it, so the
  // next groups to delete are already chosen.
  for (POSITION at = m_pendingRows.GetHeadPosition(); at != nullptr;) {
    const int row = m_pendingRows.GetNext(at);
    auto* record = reinterpret_cast<AllowedGroupRecord*>(m_list.GetItemData(row));
    if (!m_list.DeleteItem(row) || record == nullptr) continue;
    m_index.Remove(record);
    m_records.Release(record);
  }
  m_pendingRows.RemoveAll();
  // A list that emptied itself on an inconsistency points at nothing any more.
  if (m_list.StoreSize() == 0) {
    m_index.Clear();
    m_records.Clear();
  }
}

void CViewAlgGrpDlg::Merge(AllowedGroupRecord& row, std::unique_ptr<AllowedGroupRecord> record) {
  row = std::move(*record);
  if (m_list.GetSafeHwnd() == nullptr) return;
  // Only a row on the visible page needs repainting; one scrolled away or
  // filtered out shows its new values when it next comes into view.
  const auto data = reinterpret_cast<DWORD_PTR>(&row);
  const int top = m_list.GetTopIndex();
  const int end = std::min(m_list.GetItemCount(), top + m_list.GetCountPerPage() + 1);
  for (int visible = top; visible < end; ++visible) {
    if (m_list.GetItemData(visible) == data) {
      m_list.RedrawItems(visible, visible);
      return;
    }
  }
}

void CViewAlgGrpDlg::AddRow(std::unique_ptr<AllowedGroupRecord> record) {
  if (m_list.GetSafeHwnd() == nullptr) return;  // no list, no row: the record goes
  AllowedGroupRecord* row = m_records.Take(std::move(*record));
  m_index.Add(row);
  m_list.InsertItem(0, "");
  m_list.SetItemData(0, reinterpret_cast<DWORD_PTR>(row));
}

void CViewAlgGrpDlg::AddOrMerge(std::unique_ptr<AllowedGroupRecord> record) {
  if (AllowedGroupRecord* row = m_index.Find(*record); row != nullptr) {
    Merge(*row, std::move(record));
  } else {
    AddRow(std::move(record));
  }
}

void CViewAlgGrpDlg::RemoveAllRows() {
  if (m_list.GetSafeHwnd() != nullptr) {
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.DeleteAllItems();
  }
  m_index.Clear();
  m_records.Clear();
}

int CViewAlgGrpDlg::SendDeleteListedRequest(const AllowedGroupRecord& record) {
  const CString& code = record.strExchangeCode;
  const bool bse = code == "bse_cm";
  auto given = [](const CString& text) { return text != "ALL"; };
  CString strike;
  if (record.dStrike != 0) strike.Format("%0.0f", record.dStrike);
  if (!record.strStrikeAsSent.IsEmpty()) strike = record.strStrikeAsSent;
  CString expiry = record.strExpiryAsSent;
  if (expiry.IsEmpty() && given(record.strExpiry)) {
    expiry.Format("%ld",
                  static_cast<long>(ConvertExpiryToSeconds(CompactExpiry(record.strExpiry), ExpiryKindForCode(code))));
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
      .TextIf(!strike.IsEmpty(), tag::kStrike, strike)
      .TextIf(given(record.strExpiry), tag::kExpiry, expiry)
      .Send();
}
