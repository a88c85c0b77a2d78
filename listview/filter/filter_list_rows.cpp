// CFilterListCtrl: its rows (in listview::RowMap) and their cells.
#include <algorithm>
#include <utility>

#include "listview/filter/computed_cell.h"
#include "listview/filter/filter_list_ctrl.h"
#include "platform/user/message_box.h"

int CFilterListCtrl::CellText(DWORD_PTR data, int column, CString& text, COLORREF& textColor, COLORREF& backColor,
                              int& image) const {
  if (column >= BuiltInColumnCount() && column < m_arrColumns.GetSize()) {
    const listview::CellSource source = [&](int referenced, CString& cell) {
      COLORREF t = static_cast<COLORREF>(-1), b = static_cast<COLORREF>(-1);
      int i = -1;
      // A formula may refer to built-in columns and to computed columns
      // added before it (lower indexes), never to itself or a later one, so
      // that no two columns can refer to each other and evaluation ends: a
      // file or a deleted column can leave any index in a formula.
      if (referenced < 0 || referenced >= column) return false;
      return CellText(data, referenced, cell, t, b, i) != 0;
    };
    // A referenced cell that cannot be produced leaves this cell's text as
    // it was; the cell still counts as produced, so the row draws on.
    listview::ComputeCell(m_arrColumns[column].strExpression, source, text, &m_formulaErrorBox);
    return 1;
  }
  if (m_pfnFormatterMember != nullptr) {
    CWnd* owner = m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent();
    if (owner == nullptr) return 0;
    return (owner->*m_pfnFormatterMember)(data, column, text, textColor, backColor, image);
  }
  if (m_pfnFormatter != nullptr) return m_pfnFormatter(data, column, text, textColor, backColor, image);
  return 0;
}

CString CFilterListCtrl::CellText(DWORD_PTR data, int column) const {
  CString text;
  COLORREF textColor = static_cast<COLORREF>(-1);
  COLORREF backColor = static_cast<COLORREF>(-1);
  int image = -1;
  CellText(data, column, text, textColor, backColor, image);
  return text;
}

CString CFilterListCtrl::GetItemText(int row, int subItem) const {
  if (!m_bFilterMode) return CCommonListCtrl::GetItemText(row, subItem);
  if (!HasFormatter()) return "no data descriptor initialised";
  const sColInfo* record = m_rows.RecordOfRow(row);
  if (record == nullptr) return CString();
  return CellText(record->dwItemData, ColumnOfSubItem(subItem));
}

DWORD_PTR CFilterListCtrl::GetItemData(int row) const {
  if (!m_bFilterMode) return CCommonListCtrl::GetItemData(row);
  const sColInfo* record = m_rows.RecordOfRow(row);
  return record != nullptr ? record->dwItemData : 0;
}

int CFilterListCtrl::GetItemCount() const { return m_bFilterMode ? m_rows.Count() : CCommonListCtrl::GetItemCount(); }

BOOL CFilterListCtrl::GetCheck(int row) const {
  if (!m_bFilterMode) return CCommonListCtrl::GetCheck(row);
  const sColInfo* record = m_rows.RecordOfRow(row);
  return record != nullptr ? record->nCheck : 0;
}

BOOL CFilterListCtrl::SetCheck(int row, BOOL check) {
  if (!m_bFilterMode) return CCommonListCtrl::SetCheck(row, check);
  sColInfo* record = m_rows.RecordOfRow(row);
  if (record == nullptr) return FALSE;
  record->nCheck = check ? 1 : 0;
  RedrawItems(row, row);
  return TRUE;
}

void CFilterListCtrl::UpdateCount() { SetItemCountEx(m_rows.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL); }

void CFilterListCtrl::ReindexingError(const char* message) {
  AfxMessageBox(message);
  DeleteAllItems();
}

int CFilterListCtrl::InsertItem(int row, LPCTSTR text) {
  if (!m_bFilterMode) return CCommonListCtrl::InsertItem(row, text);
  if (!HasFormatter()) return 0;
  SyncAppendedRows();
  int index = 0;
  int shown = 0;
  if (m_rows.Insert(row, index, shown) != listview::RowMap::Change::kDone) {
    ReindexingError("Insert Item: Reindexing Error");
    return 0;
  }
  // The platform's item goes where the row shows, so that the rows below it
  // keep their selection as they move down.
  CCommonListCtrl::InsertItem(shown, text);
  return index;
}

BOOL CFilterListCtrl::SetItemData(int row, DWORD_PTR data) {
  if (!m_bFilterMode) return CCommonListCtrl::SetItemData(row, data);
  if (!HasFormatter()) return FALSE;
  SyncAppendedRows();
  const int count = m_rows.Count();
  const int position = m_rows.SetData(row, data);
  if (position < 0) return FALSE;
  if (row < 0 || row >= count) return TRUE;

  if (!PassesFilters(data)) {
    // The platform's item of the row that showed the entry goes with it.
    CCommonListCtrl::DeleteItem(m_rows.Hide(position));
    return TRUE;
  }
  UpdateCount();
  if (m_rows.NewestFirst() && IsWindowVisible() && CWnd::GetFocus() != this) EnsureVisible(row, FALSE);
  const int top = GetTopIndex();
  const int page = GetCountPerPage();
  if (row >= top && row <= top + page) {
    RECT rect{};
    if (GetItemRect(row, &rect, LVIR_BOUNDS)) {
      RECT client{};
      GetClientRect(&client);
      if (row != top + page - 1) rect.bottom = client.bottom;
      InvalidateRect(&rect, FALSE);
    }
  }
  return TRUE;
}

void CFilterListCtrl::AppendRow(DWORD_PTR data) {
  if (!m_bFilterMode || !HasFormatter()) {
    InsertItem(0, "");
    SetItemData(0, data);
    return;
  }
  const bool shown = PassesFilters(data);
  m_rows.Append(data, shown);
  if (!shown) return;
  // A row inserted on its own repaints the whole list; rows appended in a
  // burst do it once. Until the vertical bar shows, a row may bring it,
  // which narrows the rows: such a row reaches the platform list at once.
  // Afterwards rows change only the bar's range, and the first of a burst
  // asks for the message that brings the platform list up to date should
  // nothing else come.
  const bool first = m_nUnsyncedRows++ == 0;
  if (first) Invalidate();
  if (!(GetStyle() & WS_VSCROLL)) {
    SyncAppendedRows();
  } else if (first) {
    PostMessage(WM_NULL);
  }
}

void CFilterListCtrl::SyncAppendedRows() {
  if (m_nUnsyncedRows == 0) return;
  const int added = std::exchange(m_nUnsyncedRows, 0);
  if (!m_rows.NewestFirst()) {
    UpdateCount();  // below the rows held: no item moves
  } else if (GetSelectedCount() == 0 && GetSelectionMark() < 0 && GetNextItem(-1, LVNI_FOCUSED) < 0) {
    UpdateCount();  // on top, but no selection, focus or mark has to move down with its row
  } else {
    for (int i = 0; i < added; ++i) CCommonListCtrl::InsertItem(0, "");
    UpdateCount();
  }
  if (m_rows.NewestFirst() && IsWindowVisible() && CWnd::GetFocus() != this) EnsureVisible(0, FALSE);
}

LRESULT CFilterListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_nUnsyncedRows != 0) {
    if (message == WM_DESTROY || message == WM_NCDESTROY) {
      m_nUnsyncedRows = 0;  // the window and its items go
    } else {
      SyncAppendedRows();
    }
  }
  return CCommonListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CFilterListCtrl::DeleteItem(int row) {
  if (!m_bFilterMode) return CCommonListCtrl::DeleteItem(row);
  SyncAppendedRows();
  const int count = m_rows.Count();
  if (row < 0 || row >= count) return FALSE;
  switch (m_rows.Delete(row)) {
    case listview::RowMap::Change::kNotFound: AfxMessageBox("Delete item: Item not found"); return FALSE;
    case listview::RowMap::Change::kReindexingError: ReindexingError("Delete item: Reindexing Error"); return FALSE;
    case listview::RowMap::Change::kDone: break;
  }
  m_nPrevSortColumn = -1;

  const bool wasSelected = (CCommonListCtrl::GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  CCommonListCtrl::DeleteItem(row);
  UpdateCount();
  // The row below moves up and takes the selection; after the last row there
  // is none, and the list refuses the row.
  if (wasSelected) SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  if (m_rows.NewestFirst() && IsWindowVisible() && CWnd::GetFocus() != this) EnsureVisible(0, FALSE);
  return TRUE;
}

BOOL CFilterListCtrl::DeleteAllItems() {
  if (!m_bFilterMode) return CCommonListCtrl::DeleteAllItems();
  SyncAppendedRows();
  m_formulaErrorBox.Rearm();
  m_rows.Clear();
  CCommonListCtrl::DeleteAllItems();
  Invalidate();
  return TRUE;
}
