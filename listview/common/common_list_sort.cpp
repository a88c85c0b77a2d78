// CCommonListCtrl: click-to-sort and the clipboard copy.
#include <cstring>
#include <string>
#include <vector>

#include "listview/common/common_list_ctrl.h"
#include "listview/common/sort_keys.h"
#include "listview/common/sort_images.h"
#include "platform/user/clipboard.h"
#include "platform/kernel/global_memory.h"

namespace {

// The keys of the sort that runs, made once per row before the control
// sorts: the comparison looks them up by the row numbers it is handed. One
// sort runs at a time, on the user-interface thread.
struct RunningSort {
  const CCommonListCtrl* list = nullptr;
  const listview::SortKeys* keys = nullptr;
};
RunningSort g_running;

}  // namespace

// The control sorts by item data, so while a sort runs every row's data is
// its own row number and the real data waits in m_arrSavedItemData; the
// comparison reads the keys of those row numbers, and GetItemData keeps
// answering with the real data.
void CCommonListCtrl::SortByColumn(int column) {
  const int previous = m_nPrevSortColumn;
  m_nSortColumn = column;
  m_nSortDirection = column == previous ? -m_nSortDirection : -1;

  const int rows = CListCtrl::GetItemCount();
  m_arrSavedItemData.SetSize(rows);  // one entry per row, allocated once
  for (int row = 0; row < rows; ++row) {
    m_arrSavedItemData[row] = CListCtrl::GetItemData(row);
    SetItemData(row, static_cast<DWORD_PTR>(row));
  }

  m_nPrevSortColumn = m_nSortColumn;
  m_nSortType = 0;
  for (int i = 0; i < KnownColumns(); ++i) {
    if (m_arrColumnOrder[i] == m_nSortColumn) {
      m_nSortType = m_arrColumns[i].nSortType;
      break;
    }
  }

  listview::SortKeys keys(listview::CompareRules::kBase, m_nSortType);
  for (int row = 0; row < rows; ++row) keys.Add(GetItemText(row, m_nSortColumn));
  g_running = {this, &keys};
  SortItems(&CCommonListCtrl::CompareItems, reinterpret_cast<DWORD_PTR>(this));
  g_running = {};

  // Each row's data now names the row it came from.
  std::vector<DWORD_PTR> saved(static_cast<size_t>(m_arrSavedItemData.GetSize()));
  for (size_t i = 0; i < saved.size(); ++i) saved[i] = m_arrSavedItemData[static_cast<INT_PTR>(i)];
  m_arrSavedItemData.RemoveAll();
  for (int row = 0; row < rows; ++row) {
    const DWORD_PTR from = CListCtrl::GetItemData(row);
    if (from < saved.size()) SetItemData(row, saved[from]);
  }

  if (m_nSortDirection == 1) {
    SetHeaderSortImage(m_nSortColumn, listview::kSortImageDescending);
  } else {
    SetHeaderSortImage(previous, listview::kSortImageNone);  // none before: -1, no header item
    SetHeaderSortImage(m_nSortColumn, listview::kSortImageAscending);
  }
}

int CCommonListCtrl::CompareItems(LPARAM a, LPARAM b, LPARAM context) {
  const auto* list = reinterpret_cast<const CCommonListCtrl*>(context);
  if (g_running.list == list && a >= 0 && b >= 0 && static_cast<size_t>(a) < g_running.keys->Size() &&
      static_cast<size_t>(b) < g_running.keys->Size()) {
    return g_running.keys->Compare(static_cast<size_t>(a), static_cast<size_t>(b), list->m_nSortDirection);
  }
  return 0;  // a row the running sort has no key for: no order
}

void CCommonListCtrl::CopyToClipboard() {
  std::vector<int> order;
  if (CHeaderCtrl* header = GetHeaderCtrl(); header != nullptr) {
    order.resize(static_cast<size_t>(header->GetItemCount()));
    header->GetOrderArray(order.data(), static_cast<int>(order.size()));
  }
  std::string text;
  for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
    for (const int column : order) {
      text += GetItemText(row, column).GetString();
      text += '\t';
    }
    text += "\r\n";
  }
  m_strClipboardText = text.c_str();

  if (!OpenClipboard(m_hWnd)) return;
  EmptyClipboard();
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block != nullptr) {
    if (void* bytes = GlobalLock(block); bytes != nullptr) {
      std::memcpy(bytes, text.c_str(), text.size() + 1);
      GlobalUnlock(block);
      if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}
