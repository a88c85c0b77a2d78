// CFilterListCtrl: the store, the view and the rows' cells.
#include <algorithm>

#include "listview/filter/computed_cell.h"
#include "listview/filter/filter_list_ctrl.h"
#include "platform/user/message_box.h"

int CFilterListCtrl::ViewPosition(int row) const {
  const int count = static_cast<int>(m_view.size());
  return m_cNewestFirst ? count - 1 - row : row;
}

sColInfo* CFilterListCtrl::RecordOfRow(int row) const {
  if (row < 0 || row >= static_cast<int>(m_view.size())) return nullptr;
  const int store = m_view[static_cast<size_t>(ViewPosition(row))];
  if (store < 0 || store >= static_cast<int>(m_store.size())) return nullptr;
  return const_cast<sColInfo*>(&m_store[static_cast<size_t>(store)]);
}

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
  const sColInfo* record = RecordOfRow(row);
  if (record == nullptr) return CString();
  return CellText(record->dwItemData, ColumnOfSubItem(subItem));
}

DWORD_PTR CFilterListCtrl::GetItemData(int row) const {
  if (!m_bFilterMode) return CCommonListCtrl::GetItemData(row);
  const sColInfo* record = RecordOfRow(row);
  return record != nullptr ? record->dwItemData : 0;
}

int CFilterListCtrl::GetItemCount() const {
  return m_bFilterMode ? static_cast<int>(m_view.size()) : CCommonListCtrl::GetItemCount();
}

BOOL CFilterListCtrl::GetCheck(int row) const {
  if (!m_bFilterMode) return CCommonListCtrl::GetCheck(row);
  const sColInfo* record = RecordOfRow(row);
  return record != nullptr ? record->nCheck : 0;
}

BOOL CFilterListCtrl::SetCheck(int row, BOOL check) {
  if (!m_bFilterMode) return CCommonListCtrl::SetCheck(row, check);
  sColInfo* record = RecordOfRow(row);
  if (record == nullptr) return FALSE;
  record->nCheck = check ? 1 : 0;
  RedrawItems(row, row);
  return TRUE;
}

void CFilterListCtrl::UpdateCount() {
  SetItemCountEx(static_cast<int>(m_view.size()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void CFilterListCtrl::EmptyRows() {
  m_store.clear();
  m_view.clear();
}

void CFilterListCtrl::ReindexingError(const char* message) {
  AfxMessageBox(message);
  DeleteAllItems();
}

int CFilterListCtrl::InsertItem(int row, LPCTSTR text) {
  if (!m_bFilterMode) return CCommonListCtrl::InsertItem(row, text);
  if (!HasFormatter()) return 0;
  sColInfo record;
  const int size = static_cast<int>(m_store.size());
  int result = 0;
  int position = size;  // the new entry's place in the view
  if (row != 0 && row > 0 && row < size) {
    // In the middle: later store indexes move up by one.
    for (int& entry : m_view) {
      if (entry == -1) {
        ReindexingError("Insert Item: Reindexing Error");
        return 0;
      }
      if (entry >= row) ++entry;
    }
    m_store.insert(m_store.begin() + row, record);
    position = std::min(row, static_cast<int>(m_view.size()));
    m_view.insert(m_view.begin() + position, row);
    result = row;
  } else {
    // A new row goes to the end of store and view; newest first shows it on top.
    m_store.push_back(record);
    position = static_cast<int>(m_view.size());
    m_view.push_back(size);
    result = size;
  }
  // The platform's item goes where the row shows, so that the rows below it
  // keep their selection as they move down.
  CCommonListCtrl::InsertItem(RowOfPosition(position), text);
  return result;
}

BOOL CFilterListCtrl::SetItemData(int row, DWORD_PTR data) {
  if (!m_bFilterMode) return CCommonListCtrl::SetItemData(row, data);
  if (!HasFormatter() || m_view.empty()) return FALSE;
  const int count = static_cast<int>(m_view.size());
  // Row 0 (and any row past the end) addresses the entry just appended.
  int position = row > 0 && row < count ? row : count - 1;
  sColInfo* record = &m_store[static_cast<size_t>(m_view[static_cast<size_t>(position)])];
  if (record->dwItemData != 0 && row >= 0 && row < count) {
    position = ViewPosition(row);
    record = &m_store[static_cast<size_t>(m_view[static_cast<size_t>(position)])];
  }
  record->dwItemData = data;
  if (row < 0 || row >= count) return TRUE;

  if (!PassesFilters(data)) {
    // The platform's item of the row that showed the entry goes with it.
    const int shown = RowOfPosition(position);
    m_view.erase(m_view.begin() + position);
    CCommonListCtrl::DeleteItem(shown);
    return TRUE;
  }
  UpdateCount();
  if (m_cNewestFirst && IsWindowVisible() && CWnd::GetFocus() != this) EnsureVisible(row, FALSE);
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

BOOL CFilterListCtrl::DeleteItem(int row) {
  if (!m_bFilterMode) return CCommonListCtrl::DeleteItem(row);
  const int count = static_cast<int>(m_view.size());
  if (row < 0 || row >= count) return FALSE;
  const int position = ViewPosition(row);
  const int store = m_view[static_cast<size_t>(position)];
  if (store == -1) {
    AfxMessageBox("Delete item: Item not found");
    return FALSE;
  }
  m_view.erase(m_view.begin() + position);
  if (store != static_cast<int>(m_store.size()) - 1) {
    for (int& entry : m_view) {
      if (entry == store || entry == -1) {
        ReindexingError("Delete item: Reindexing Error");
        return FALSE;
      }
      if (entry > store) --entry;
    }
  }
  m_store.erase(m_store.begin() + store);
  m_nPrevSortColumn = -1;

  const bool wasSelected = (CCommonListCtrl::GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  CCommonListCtrl::DeleteItem(row);
  UpdateCount();
  if (wasSelected && row < count - 1) SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  if (m_cNewestFirst && IsWindowVisible() && CWnd::GetFocus() != this) EnsureVisible(0, FALSE);
  return TRUE;
}

BOOL CFilterListCtrl::DeleteAllItems() {
  if (!m_bFilterMode) return CCommonListCtrl::DeleteAllItems();
  m_formulaErrorBox.Rearm();
  EmptyRows();
  CCommonListCtrl::DeleteAllItems();
  Invalidate();
  return TRUE;
}
