#include "allowed_groups/view_alg_grp_dlg.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>

#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/segment_rules.h"
#include "allowed_groups/request_builder.h"
#include "listview/tabbed_log.h"
#include "plugin/terminal_link.h"
#include "resources/resource.h"

namespace {

// Nothing is logged for a listed delete; a refused send shows its box only.
constexpr RequestOutcome kDeleteListed{nullptr, "ks_delete_group Request Failure", false, nullptr};

CString StrikeText(const AllowedGroupRecord& record) {
  if (!record.strStrikeAsSent.IsEmpty()) return record.strStrikeAsSent;
  // Server units back to a price: currency strikes carry 100000 more.
  // Written as "%0.2f" writes it (to_chars rounds the same way, exactly),
  // without printf's cost: sorting and filtering format every row.
  const double price = StrikePrice(record.dStrike, RulesForCode(record.strExchangeCode.view()));
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, price, std::chars_format::fixed, 2);
  return written.ec == std::errc() ? CString(text, static_cast<int>(written.ptr - text)) : CString();
}

template <auto member>
CString Field(const AllowedGroupRecord& record) {
  return record.*member;
}

// The view's columns in index order: caption, width, alignment, sort kind
// and the cell's text. The text columns 1 to 4 sort as floating values, as
// they always have.
struct ViewColumn {
  const char* name;
  int width;
  int format;
  int sortType;
  CString (*text)(const AllowedGroupRecord& record);
};
constexpr ViewColumn kColumns[] = {
    {"Category", 80, LVCFMT_LEFT, sort_kind::kText, &Field<&AllowedGroupRecord::strCategory>},
    {"Exhg-Seg", 80, LVCFMT_LEFT, sort_kind::kFloat, &Field<&AllowedGroupRecord::strExchangeCode>},
    {"Instr Name", 80, LVCFMT_RIGHT, sort_kind::kFloat, &Field<&AllowedGroupRecord::strInstrument>},
    {"Symbol", 80, LVCFMT_RIGHT, sort_kind::kFloat, &Field<&AllowedGroupRecord::strSymbol>},
    {"Option Type", 80, LVCFMT_RIGHT, sort_kind::kFloat, &Field<&AllowedGroupRecord::strOptionType>},
    {"Strike Price", 80, LVCFMT_RIGHT, sort_kind::kFloat, &StrikeText},
    {"Expiry Date", 80, LVCFMT_RIGHT, sort_kind::kText, &Field<&AllowedGroupRecord::strExpiry>},
    {"Product Type", 80, LVCFMT_RIGHT, sort_kind::kText, &Field<&AllowedGroupRecord::strProduct>},
    {"Transaction Type", 80, LVCFMT_RIGHT, sort_kind::kText, &Field<&AllowedGroupRecord::strSide>},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

// The layout, in client pixels: the list from (kListLeft, kListTop) to
// kListRightGap and kListBottomGap short of the client's right and bottom
// edges; the delete button centred above it at kButtonTop.
constexpr int kListLeft = 5;
constexpr int kListTop = 55;
constexpr int kListRightGap = 5;
constexpr int kListBottomGap = 5;
constexpr int kButtonTop = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;

}  // namespace

CViewAlgGrpDlg::CViewAlgGrpDlg() : CDialog(IDD_VIEW_ALGGRP, nullptr) { m_list.m_strProfileName = kProfileName; }

BOOL CViewAlgGrpDlg::Create(CPluginContext* context) {
  m_pContext = context;
  return CDialog::Create(IDD_VIEW_ALGGRP, nullptr);
}

void CViewAlgGrpDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_GROUP_LIST, m_list);
  DDX_Control(dx, IDC_DELETE_LISTED, m_btnDelete);
}

BOOL CViewAlgGrpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PLUGIN)), TRUE);
  for (int i = 0; i < kColumnCount; ++i) {
    const ViewColumn& column = kColumns[i];
    m_list.m_arrColumns.Add(sTarnColInfo(column.name, column.width, column.format, column.sortType));
    m_list.m_mapColumnIndex.SetAt(column.name, i);
  }
  // What the list has to tell the person (the cells an export cut) goes to
  // the terminal's log, with the plug-in's own lines.
  listview::SetTabbedLog(&plugin::AddToTabbedLog);
  m_list.ApplyColumnProfile();
  m_list.EnableFilterMode(true);
  m_list.SetDataDescriptor(&CViewAlgGrpDlg::FormatRow);
  m_list.SetOwnerNotificationWindow(this);
  m_list.SetNewestFirst(true);
  // The list cuts a text wider than its column short ("PROPRIE..."); a tip
  // with the whole text, as the list framework offers for rows, spares a
  // person widening the column to read one cell.
  m_list.SetItemToolTipCallback(&CViewAlgGrpDlg::CutOffCellTip);
  Layout();
  return TRUE;
}

int CViewAlgGrpDlg::CutOffCellTip(CWnd*, int row, CString& text, CCommonListCtrl* list) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  list->ScreenToClient(&cursor);
  LVHITTESTINFO hit{};
  hit.pt = cursor;
  list->SubItemHitTest(&hit);
  CRect cell;
  if (hit.iItem != row || hit.iSubItem < 0 || !list->GetSubItemRect(row, hit.iSubItem, LVIR_LABEL, cell)) return 0;
  const CString cellText = list->GetItemText(row, hit.iSubItem);
  if (cellText.IsEmpty()) return 0;
  // The list draws a cell's text 3 pixels in from the side it is aligned to.
  constexpr int kTextMargin = 3;
  HDC dc = ::GetDC(list->GetSafeHwnd());
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(list->SendMessage(WM_GETFONT)));
  SIZE size{};
  ::GetTextExtentPoint32(dc, cellText.GetString(), cellText.GetLength(), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(list->GetSafeHwnd(), dc);
  if (size.cx <= cell.Width() - kTextMargin) return 0;
  text = cellText;
  return 1;
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

// The list fills the client area below the button, which sits centred on
// top, with the same 5-pixel margin on the left, right and bottom: a wider
// bottom margin would only leave an empty band where rows could show.
void CViewAlgGrpDlg::Layout() {
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (m_list.GetSafeHwnd() != nullptr) {
    m_list.MoveWindow(kListLeft, kListTop, width - kListLeft - kListRightGap, height - kListTop - kListBottomGap);
  }
  if (m_btnDelete.GetSafeHwnd() != nullptr) {
    m_btnDelete.MoveWindow(width / 2 - kButtonWidth / 2, kButtonTop, kButtonWidth, kButtonHeight);
  }
}

CString CViewAlgGrpDlg::CellText(const AllowedGroupRecord& record, int column) {
  return column >= 0 && column < kColumnCount ? kColumns[column].text(record) : CString();
}

int CViewAlgGrpDlg::FormatRow(DWORD_PTR data, int column, CString& text, COLORREF&, COLORREF&, int&) {
  const auto* record = reinterpret_cast<const AllowedGroupRecord*>(data);
  if (record == nullptr || column < 0 || column >= kColumnCount) return 0;
  text = CellText(*record, column);
  return 1;
}

// The list's filter boxes changed: show the rows they let through. Every
// notification, this one included, then gets the default answer (0): the
// list asks nothing of this dialog, item changes included.
BOOL CViewAlgGrpDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->idFrom == static_cast<UINT_PTR>(IDC_GROUP_LIST) && header->code == HDN_FILTERCHANGE) m_list.Refilter();
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
    // Only rows with a record were kept above.
    auto* record = reinterpret_cast<AllowedGroupRecord*>(m_list.GetItemData(row));
    if (!m_list.DeleteItem(row)) continue;
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

void CViewAlgGrpDlg::ShowRow(AllowedGroupRecord* row) { m_list.AppendRow(reinterpret_cast<DWORD_PTR>(row)); }

void CViewAlgGrpDlg::AddRow(std::unique_ptr<AllowedGroupRecord> record) {
  if (m_list.GetSafeHwnd() == nullptr) return;  // no list, no row: the record goes
  const CGroupSlab::Place place = m_records.Take(std::move(*record));
  m_index.Add(place);
  ShowRow(place.record);
}

void CViewAlgGrpDlg::AddOrMerge(std::unique_ptr<AllowedGroupRecord> record) {
  if (m_list.GetSafeHwnd() == nullptr) {
    // No list, no row: a group already listed still takes the values.
    if (AllowedGroupRecord* row = m_index.Find(*record)) Merge(*row, std::move(record));
    return;
  }
  // One hash of the group finds its row or the index's place for a new one.
  const auto [row, added] = m_index.FindOrAdd(*record, [&] { return m_records.Take(std::move(*record)); });
  if (added) {
    ShowRow(row);
  } else {
    Merge(*row, std::move(record));
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
  return RequestBuilder(m_pContext, kDeleteListed)
      .Fields(EncodeDeleteRequest(GroupOfRecord(record), plugin::Globals().strUserId, DeleteSource::kList))
      .Send();
}
