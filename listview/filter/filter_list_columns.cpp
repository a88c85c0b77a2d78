// CFilterListCtrl: computed columns added and removed while the list runs.
//
// Stored formulas name columns by index. Removing a column moves every later
// index one down, so the formulas of the computed columns that remain are
// rewritten to follow: each reference keeps pointing at the column it
// pointed at before, in the list and in the profile saved afterwards, and a
// reference to the removed column names none (its cells are empty).
#include <algorithm>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/formula_pieces.h"

int CFilterListCtrl::AddComputedColumn(const sTarnColInfo& column) {
  CHeaderCtrl* header = GetHeaderCtrl();
  const int position = header != nullptr ? header->GetItemCount() : 0;
  const int index = static_cast<int>(m_arrColumns.Add(column));
  m_arrColumnOrder.SetSize(index + 1);
  m_arrColumnOrder[index] = position;
  m_arrColumnAtPosition.SetAtGrow(position, index);
  InsertColumn(position, column.szName, column.nFormat, column.nWidth);
  AddHeaderToolTip(position, column.strDescription);
  m_formulaErrorBox.Rearm();
  Invalidate();
  return index;
}

void CFilterListCtrl::RemoveComputedColumn(int index) {
  if (index < m_nBuiltInColumns || index >= m_arrColumns.GetSize()) return;
  const int position = index < m_arrColumnOrder.GetSize() ? m_arrColumnOrder[index] : -1;
  if (position != -1) {
    DeleteColumn(position);
    for (int i = 0; i < m_arrColumnOrder.GetSize(); ++i) {
      if (m_arrColumnOrder[i] > position) --m_arrColumnOrder[i];
    }
  }
  m_arrColumns.RemoveAt(index);
  if (index < m_arrColumnOrder.GetSize()) m_arrColumnOrder.RemoveAt(index);
  for (int i = index; i < m_arrColumns.GetSize(); ++i) {
    m_arrColumns[i].strExpression = listview::FormulaWithoutColumn(m_arrColumns[i].strExpression, index);
  }

  // What names a column index follows it; what named the removed one goes.
  auto follow = [index](int& column) {
    if (column == index) column = -1;
    else if (column > index) --column;
  };
  bool filterRemoved = false;
  for (size_t i = m_arrFilterColumns.size(); i-- > 0;) {
    follow(m_arrFilterColumns[i]);
    if (m_arrFilterColumns[i] == -1) {
      m_arrFilterColumns.erase(m_arrFilterColumns.begin() + static_cast<std::ptrdiff_t>(i));
      m_arrFilterTexts.erase(m_arrFilterTexts.begin() + static_cast<std::ptrdiff_t>(i));
      filterRemoved = true;
    }
  }
  follow(m_nSortColumnIndex);
  follow(m_appearance.nKeywordColumn);
  // Sort positions are header positions: the later ones move one left.
  auto followPosition = [position](int& p) {
    if (position == -1) return;
    if (p == position) p = -1;
    else if (p > position) --p;
  };
  followPosition(m_nPrevSortColumn);
  if (m_nSortColumn == position) m_nSortColumn = 0;
  else followPosition(m_nSortColumn);

  m_arrColumnAtPosition.RemoveAll();
  for (int i = 0; i < m_arrColumnOrder.GetSize(); ++i) {
    const int p = m_arrColumnOrder[i];
    if (p >= 0) m_arrColumnAtPosition.SetAtGrow(p, i);
  }
  m_nFirstColumnIndex = m_arrColumnAtPosition.IsEmpty() ? 0 : m_arrColumnAtPosition[0];
  if (filterRemoved) Refilter();
  Invalidate();
}

void CFilterListCtrl::ReregisterHeaderToolTips() {
  for (int i = 0; i < KnownColumns(); ++i) {
    const int position = m_arrColumnOrder[i];
    if (position < 0) continue;
    const CString& description = m_arrColumns[i].strDescription;
    AddHeaderToolTip(position, description.IsEmpty() ? nullptr : description.GetString());
  }
}
