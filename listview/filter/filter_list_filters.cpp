// CFilterListCtrl: the filter table, refiltering and sorting the view.
#include <algorithm>

#include "listview/common/sort_keys.h"
#include "listview/filter/filter_list_ctrl.h"
#include "listview/filter/match_filter.h"
#include "platform/user/message_box.h"

int CFilterListCtrl::ColumnOfSubItem(int subItem) const {
  for (int c = 0; c < m_arrColumnOrder.GetSize(); ++c) {
    if (m_arrColumnOrder[c] == subItem) return c;
  }
  return -1;
}

std::vector<int> CFilterListCtrl::FilteredColumns() const { return m_arrFilterColumns; }

int CFilterListCtrl::HeaderItemOfColumn(int column) const {
  if (column < 0 || column >= m_arrColumnOrder.GetSize()) return -1;
  return m_arrColumnOrder[column];
}

void CFilterListCtrl::SetColumnFilter(int column, const CString& text) {
  if (column < 0 || column >= m_arrColumns.GetSize()) return;
  const auto found = std::find(m_arrFilterColumns.begin(), m_arrFilterColumns.end(), column);
  if (found != m_arrFilterColumns.end()) {
    const auto at = static_cast<size_t>(found - m_arrFilterColumns.begin());
    if (text.IsEmpty()) {
      m_arrFilterColumns.erase(found);
      m_arrFilterTexts.erase(m_arrFilterTexts.begin() + static_cast<std::ptrdiff_t>(at));
    } else {
      m_arrFilterTexts[at] = text;
    }
  } else if (!text.IsEmpty()) {
    m_arrFilterColumns.push_back(column);
    m_arrFilterTexts.push_back(text);
  }
}

void CFilterListCtrl::ClearFilters() {
  m_arrFilterColumns.clear();
  m_arrFilterTexts.clear();
  if (m_header.GetSafeHwnd() != nullptr) m_header.ClearAllFilters();
}

void CFilterListCtrl::ResetFilters() {
  ClearFilters();
  SetHeaderFilterText(0, "", 0);  // so that the header reports a change
}

// Only lists with a formatter filter, and every caller has checked for one.
bool CFilterListCtrl::PassesFilters(DWORD_PTR data) const {
  const bool exact = m_cExactMatch || m_cOneShotExact;
  for (size_t i = 0; i < m_arrFilterColumns.size(); ++i) {
    const CString cell = CellText(data, m_arrFilterColumns[i]);
    if (!listview::MatchFilter(cell.GetString(), m_arrFilterTexts[i].GetString(), exact)) return false;
  }
  return true;
}

void CFilterListCtrl::Refilter() {
  if (!HasFormatter() || !m_bFilterMode || m_header.GetSafeHwnd() == nullptr || m_header.GetItemCount() == 0) return;
  if (m_arrFilterColumns.size() != m_arrFilterTexts.size()) {
    AfxMessageBox("Error occured while filtering");
    return;
  }
  SyncAppendedRows();
  const RowMarks marks = TakeRowMarks();
  m_formulaErrorBox.Rearm();
  SendMessage(WM_SETREDRAW, FALSE);
  m_rows.Rebuild([this](DWORD_PTR data) { return PassesFilters(data); });
  m_cOneShotExact = 0;
  SendMessage(WM_SETREDRAW, TRUE);
  SetItemCountEx(m_rows.Count(), LVSICF_NOINVALIDATEALL);
  GiveBackRowMarks(marks);
  Invalidate();
}

void CFilterListCtrl::SetHeaderFilterText(int position, const CString& text, BOOL oneShotExact) {
  if (position < 0 || m_header.GetSafeHwnd() == nullptr) return;
  CString cut = text.Left(kFilterTextMax - 1);
  HD_TEXTFILTER filter;
  filter.pszText = const_cast<LPSTR>(cut.GetString());
  filter.cchTextMax = kFilterTextMax;
  HDITEM item;
  item.mask = HDI_FILTER;
  item.type = HDFT_ISSTRING;
  item.pvFilter = &filter;
  m_cOneShotExact = oneShotExact ? 1 : 0;
  // The header reports the change, which refilters through the owner.
  m_header.SetItem(position, &item);
  SetActiveWindow();
}

void CFilterListCtrl::OnFilterChange(NMHEADER* notify) {
  if (m_bFilterNotifications) {
    const int position = notify->iItem;
    // A position past the header's end reads no text and names no column.
    if (position >= 0) {
      char text[kFilterTextMax] = {};
      HD_TEXTFILTER filter;
      filter.pszText = text;
      filter.cchTextMax = kFilterTextMax;
      HDITEM item;
      item.mask = HDI_FILTER;
      item.type = HDFT_ISSTRING;
      item.pvFilter = &filter;
      if (!m_header.GetItem(position, &item)) text[0] = '\0';
      if (HasFormatter()) SetColumnFilter(ColumnOfSubItem(position), text);
    } else if (position == -1) {
      // Every filter was cleared at once; those an owner set before it gave
      // a formatter go too, else they would hide rows from empty boxes.
      m_arrFilterColumns.clear();
      m_arrFilterTexts.clear();
    }
  }
  // The owner hears of it and refilters.
  NMHEADER forward = *notify;
  ForwardToOwner(forward.hdr);
}

// Stable where a quick sort would be shorter: rows that compare equal (every
// row, for the kinds that compare nothing) keep the order the user saw.
void CFilterListCtrl::SortView(int column) {
  SyncAppendedRows();
  const int count = m_rows.Count();
  if (count == 0) return;
  m_formulaErrorBox.Rearm();
  const int previous = m_nPrevSortColumn;
  // The caption that showed the sort loses it, also when a deletion has
  // made this click sort afresh.
  if (m_nSortColumn != column) SetHeaderSortImage(m_nSortColumn, -1);
  m_nSortColumn = column;
  m_nSortDirection = column == previous ? -m_nSortDirection : -1;
  m_nPrevSortColumn = m_nSortColumn;
  SetHeaderSortImage(m_nSortColumn, m_nSortDirection == 1 ? 1 : 0);

  m_nSortColumnIndex = ColumnOfSubItem(m_nSortColumn);
  m_nSortType = m_nSortColumnIndex >= 0 ? m_arrColumns[m_nSortColumnIndex].nSortType : 0;

  // The visible rows in visible order, sorted stably, so that a kind that
  // compares everything equal leaves the order as it was. Each row's cell is
  // formatted and read once per sort, not once per comparison: a formatter
  // may be slow, and a million rows take some twenty million comparisons.
  const RowMarks marks = TakeRowMarks();
  const std::vector<int> stores = m_rows.StoresInRowOrder();
  std::vector<int> order;
  if (m_nSortColumnIndex >= 0) {
    listview::SortKeys keys(listview::CompareRules::kFiltered, m_nSortType);
    keys.Resize(stores.size());
    // Read in store order: after a sort the rows' records lie scattered.
    ForEachRowInStoreOrder(
        [&](int row, DWORD_PTR data) { keys.Set(static_cast<size_t>(row), CellText(data, m_nSortColumnIndex)); });
    order = keys.Order(m_nSortDirection);
  } else {
    order.resize(stores.size());
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  }
  // Sorted row i shows as visible row i whatever the newest-first setting.
  std::vector<int> sorted(stores.size());
  for (int i = 0; i < count; ++i)
    sorted[static_cast<size_t>(i)] = stores[static_cast<size_t>(order[static_cast<size_t>(i)])];
  m_rows.ShowInRowOrder(sorted);
  GiveBackRowMarks(marks);
  Invalidate();
}
