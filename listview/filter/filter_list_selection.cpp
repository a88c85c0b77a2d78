// CFilterListCtrl: the selection follows the records while the view changes.
//
// The platform list holds the states of an owner-data list by index only, so
// a view rebuilt under it (sorted, filtered, mirrored) would leave the
// highlight where it was on the screen, on other records, and "Delete Group"
// would delete groups nobody chose. Each rebuild therefore takes the marks by
// store index first and gives them back to the rows that show the same
// records afterwards. Inserting and deleting a row keep the states in step
// on their own: the platform moves the states of the later indexes with the
// row.
#include <vector>

#include "listview/filter/filter_list_ctrl.h"

CFilterListCtrl::RowMarks CFilterListCtrl::TakeRowMarks() const {
  RowMarks marks;
  // Outside filter mode the row map holds no rows: no mark is taken.
  if (GetSafeHwnd() == nullptr) return marks;
  const int count = m_rows.Count();
  for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0 && row < count; row = GetNextItem(row, LVNI_SELECTED)) {
    marks.selected.push_back(m_rows.StoreOfRow(row));
  }
  marks.focused = m_rows.StoreOfRow(GetNextItem(-1, LVNI_FOCUSED));
  marks.anchor = m_rows.StoreOfRow(GetSelectionMark());
  return marks;
}

void CFilterListCtrl::GiveBackRowMarks(const RowMarks& marks) {
  // Nothing was marked, so nothing is: the platform's states stayed empty.
  if (marks.Empty()) return;
  std::vector<char> selected(static_cast<size_t>(m_rows.StoreSize()), 0);
  for (const int store : marks.selected) {
    if (store >= 0 && store < static_cast<int>(selected.size())) selected[static_cast<size_t>(store)] = 1;
  }
  const int count = m_rows.Count();
  std::vector<int> rows;
  int focused = -1;
  int anchor = -1;
  for (int row = 0; row < count; ++row) {
    const int store = m_rows.StoreOfRow(row);
    if (selected[static_cast<size_t>(store)] != 0) rows.push_back(row);
    if (store == marks.focused) focused = row;
    if (store == marks.anchor) anchor = row;
  }
  SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (count > 0 && static_cast<int>(rows.size()) == count) {
    SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);  // one notification for a whole list
  } else {
    for (const int row : rows) SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  if (focused >= 0) SetItemState(focused, LVIS_FOCUSED, LVIS_FOCUSED);
  SetSelectionMark(anchor);
}

void CFilterListCtrl::SetNewestFirst(bool on) {
  if (on == m_rows.NewestFirst()) return;
  SyncAppendedRows();
  const RowMarks marks = TakeRowMarks();
  m_rows.SetNewestFirst(on);
  GiveBackRowMarks(marks);
  Invalidate();
}
