#include "listview/reposition/reposition_columns.h"

#include <vector>

#include "platform/user/data_exchange.h"
#include "platform/user/message_box.h"

namespace {

constexpr int kTextLimit = 255;  // characters of a header caption read back
constexpr int kPreallocatedOrder = 50;

CString HeaderText(CHeaderCtrl* header, int item) {
  char text[kTextLimit + 1] = {};
  HDITEM hdi;
  hdi.mask = HDI_TEXT;
  hdi.pszText = text;
  hdi.cchTextMax = sizeof(text);
  if (header == nullptr || !header->GetItem(item, &hdi)) return CString();
  return CString(text);
}

std::vector<int> Selected(const CListCtrl& list) {
  std::vector<int> items;
  CListCtrl::POSITION position = list.GetFirstSelectedItemPosition();
  while (position != nullptr) items.push_back(list.GetNextSelectedItem(position));
  return items;
}

// The entry whose text is exactly `caption` (case counts), or -1.
int FindExact(const CListCtrl& list, const CString& caption) {
  for (int i = 0; i < list.GetItemCount(); ++i) {
    if (list.GetItemText(i, 0) == caption) return i;
  }
  return -1;
}

void ClearSelection(CListCtrl& list) {
  for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
}

}  // namespace

CRepositionColumns::CRepositionColumns() : m_controlPos(this) { m_arrColumnOrder.SetSize(0, kPreallocatedOrder); }

void CRepositionColumns::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, reposition_id::kAvailableList, m_listAvailable);
  DDX_Control(dx, reposition_id::kShownList, m_listShown);
}

BOOL CRepositionColumns::OnInitDialog() {
  CDialog::OnInitDialog();
  for (CZRDragListCtrl* list : {&m_listAvailable, &m_listShown}) {
    CRect client;
    list->GetClientRect(&client);
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    list->InsertColumn(0, list == &m_listAvailable ? "Available Columns" : "Shown Columns", LVCFMT_LEFT,
                       client.Width());
  }
  CRect client;
  GetClientRect(&client);
  Layout(client.Width(), client.Height());
  return TRUE;
}

// ---- Opening -----------------------------------------------------------------

void CRepositionColumns::Open(listview::ListHost* list, const CArray<sTarnColInfo>& records) {
  m_pList = list;
  m_pHeader = list != nullptr ? list->HostList().GetHeaderCtrl() : nullptr;
  const int columns = m_pHeader != nullptr && m_pHeader->GetSafeHwnd() != nullptr ? m_pHeader->GetItemCount() : 0;
  m_arrColumnOrder.SetSize(columns);
  if (columns > 0) m_pHeader->GetOrderArray(m_arrColumnOrder.GetData(), columns);
  m_nRecordCount = static_cast<int>(records.GetSize());
  m_arrColumns.Copy(records);
  m_nSave = 1;
  if (list != nullptr) {
    m_strProfileName = list->ProfileName();
    m_arrFixedColumns.Copy(list->MandatoryColumns());
  }
  m_bSortControls = m_strProfileName == kSortProfile ? 1 : 0;
  m_listAvailable.DeleteAllItems();
  m_listShown.DeleteAllItems();

  for (int position = 0; position < columns; ++position) {
    InsertAt(m_listShown, position, HeaderText(m_pHeader, m_arrColumnOrder[position]));
  }
  for (int i = 0; i < m_arrColumns.GetSize(); ++i) {
    if (FindExact(m_listShown, m_arrColumns[i].szName) < 0) InsertAt(m_listAvailable, 0, m_arrColumns[i].szName);
  }
  for (int id : {reposition_id::kSortLabel, reposition_id::kSort, reposition_id::kSortField}) {
    if (CWnd* control = GetDlgItem(id)) control->ShowWindow(m_bSortControls ? SW_SHOW : SW_HIDE);
  }
  CRect client;
  GetClientRect(&client);
  Layout(client.Width(), client.Height());  // the lists take the sort row's room when it is hidden
}

int CRepositionColumns::InsertAt(CZRDragListCtrl& list, int index, const CString& text) {
  return list.InsertItem(index, text);
}

bool CRepositionColumns::IsFixed(const CString& caption) const {
  for (int i = 0; i < m_arrFixedColumns.GetSize(); ++i) {
    if (m_arrFixedColumns[i] == caption) return true;
  }
  return false;
}

int CRepositionColumns::RecordOf(const CString& caption) const {
  for (int i = 0; i < m_arrColumns.GetSize(); ++i) {
    if (caption == m_arrColumns[i].szName) return i;
  }
  return -1;
}

// ---- Moving entries ----------------------------------------------------------

void CRepositionColumns::MoveToShown() {
  const std::vector<int> moving = Selected(m_listAvailable);
  if (moving.empty()) return;
  ClearSelection(m_listShown);
  for (const int item : moving) {
    const int mark = m_listShown.GetSelectionMark();
    const int at =
        InsertAt(m_listShown, mark >= 0 ? mark : m_listShown.GetItemCount(), m_listAvailable.GetItemText(item, 0));
    m_listShown.SetItemState(at, LVIS_SELECTED, LVIS_SELECTED);
  }
  for (auto it = moving.rbegin(); it != moving.rend(); ++it) m_listAvailable.DeleteItem(*it);
  m_listShown.SetFocus();
}

void CRepositionColumns::MoveToAvailable() {
  std::vector<int> moved;
  for (const int item : Selected(m_listShown)) {
    const CString caption = m_listShown.GetItemText(item, 0);
    if (IsFixed(caption)) {
      AfxMessageBox(caption + " cannot be removed");
      continue;
    }
    const int mark = m_listAvailable.GetSelectionMark();
    const int at = InsertAt(m_listAvailable, mark >= 0 ? mark : m_listAvailable.GetItemCount(), caption);
    m_listAvailable.SetItemState(at, LVIS_SELECTED, LVIS_SELECTED);
    moved.push_back(item);
  }
  for (auto it = moved.rbegin(); it != moved.rend(); ++it) m_listShown.DeleteItem(*it);
  m_listAvailable.SetFocus();
}

// ---- Applying ----------------------------------------------------------------

void CRepositionColumns::Apply() {
  if (m_pList == nullptr || m_pList->HostList().GetSafeHwnd() == nullptr) {
    EndDialog(IDOK);
    return;
  }
  CListCtrl& window = m_pList->HostList();
  const int columns = m_pHeader != nullptr ? m_pHeader->GetItemCount() : 0;
  // Shown columns keep the width the user gave them.
  for (int item = 0; item < columns; ++item) {
    const int record = RecordOf(HeaderText(m_pHeader, item));
    if (record >= 0) m_arrColumns[record].nWidth = window.GetColumnWidth(item);
  }
  for (int item = columns - 1; item >= 0; --item) m_pList->RemoveShownColumn(item);

  CArray<int>& order = m_pList->ColumnOrder();
  order.SetSize(m_pList->ColumnRecords().GetSize());
  for (int i = 0; i < order.GetSize(); ++i) order[i] = -1;
  CArray<int>& atPosition = m_pList->ColumnAtPosition();
  atPosition.RemoveAll();
  m_arrColumnOrder.RemoveAll();
  int position = 0;
  for (int entry = 0; entry < m_listShown.GetItemCount(); ++entry) {
    const int record = RecordOf(m_listShown.GetItemText(entry, 0));
    if (record < 0 || record >= order.GetSize()) continue;
    const sTarnColInfo& column = m_arrColumns[record];
    order[record] = position;
    atPosition.Add(record);
    m_arrColumnOrder.Add(record);
    m_pList->InsertShownColumn(position, column);
    ++position;
  }
  // Rows draw from the column that sits first.
  if (!atPosition.IsEmpty()) m_pList->SetFirstColumnIndex(atPosition[0]);
  m_pList->ResetFilters();
  window.Invalidate();
  if (CWnd* owner = m_pList->DialogAncestor()) {
    owner->SendMessage(kLayoutChanged, static_cast<WPARAM>(window.GetDlgCtrlID()), 0);
  }
  EndDialog(IDOK);
}

void CRepositionColumns::Save() {
  listview::ListHost* list = m_pList;
  Apply();
  if (list == nullptr || list->HostList().GetSafeHwnd() == nullptr || m_nSave != 1) return;
  if (m_bSecondMode) {
    list->KeepLayoutAsDefault();
    return;
  }
  list->SaveColumnProfile();
}

// ---- Messages ----------------------------------------------------------------

BOOL CRepositionColumns::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case reposition_id::kShow: MoveToShown(); return TRUE;
    case reposition_id::kHide: MoveToAvailable(); return TRUE;
    case reposition_id::kView: Apply(); return TRUE;
    case reposition_id::kSave: Save(); return TRUE;
    case reposition_id::kDefault: SetDlgItemText(reposition_id::kSortField, m_strDefaultSortColumn); return TRUE;
    case reposition_id::kSort: GetDlgItemText(reposition_id::kSortField, m_strDefaultSortColumn); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

BOOL CRepositionColumns::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header != nullptr && header->code == NM_DBLCLK) {
    if (header->idFrom == static_cast<UINT_PTR>(reposition_id::kAvailableList)) MoveToShown();
    if (header->idFrom == static_cast<UINT_PTR>(reposition_id::kShownList)) MoveToAvailable();
  } else if (header != nullptr && header->code == NM_CLICK &&
             header->idFrom == static_cast<UINT_PTR>(reposition_id::kShownList)) {
    const int item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
    if (item >= 0) SetDlgItemText(reposition_id::kSortField, m_listShown.GetItemText(item, 0));
  }
  return CDialog::OnNotify(wParam, lParam, result);
}

BOOL CRepositionColumns::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // A drag list asks before an entry leaves it: a mandatory column may
  // come into the shown list but never leave it. Refusing it on the way in
  // too would keep one that a stored profile hid from ever being shown by
  // dragging, under a box saying it "cannot be removed".
  if (message == kQueryLeave && wParam != 0) {
    const CString caption(reinterpret_cast<const char*>(wParam));
    if (IsFixed(caption) && FindExact(m_listShown, caption) >= 0) {
      *result = 1;
      return TRUE;
    }
  }
  return CDialog::OnWndMsg(message, wParam, lParam, result);
}
