// CCommonListCtrl: columns, header tool-tips, the stored layout, fitting.
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "listview/common/common_list_ctrl.h"
#include "listview/profile/column_profile_format.h"
#include "listview/profile/profile_io.h"
#include "listview/profile/settings_report.h"
#include "listview/profile/stored_layout.h"
#include "platform/window/metrics.h"
#include "platform/user/message_box.h"
#include "platform/comctl/tooltip.h"

namespace {

constexpr int kMinimumFitWidth = 50;
// Width of a column the stored profile does not know yet (hidden until shown).
constexpr int kUnlistedColumnWidth = 100;
// A column computed from a stored profile.
constexpr int kComputedWidth = 80;
constexpr int kComputedFormat = LVCFMT_RIGHT;
constexpr int kComputedSortType = sort_kind::kFloat;

}  // namespace

// ---- Header items ----

CString CCommonListCtrl::HeaderItemText(int item) const {
  char text[256] = {};
  HDITEM hdi;
  hdi.mask = HDI_TEXT;
  hdi.pszText = text;
  hdi.cchTextMax = sizeof(text);
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr || !header->GetItem(item, &hdi)) return CString();
  return CString(text);
}

void CCommonListCtrl::SetHeaderSortImage(int item, int image) {
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr || item < 0 || item >= header->GetItemCount()) return;
  HDITEM hdi;
  hdi.mask = HDI_FORMAT;
  header->GetItem(item, &hdi);
  hdi.fmt = (hdi.fmt & HDF_JUSTIFYMASK) | HDF_STRING;
  if (image >= 0) {
    hdi.mask |= HDI_IMAGE;
    hdi.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    hdi.iImage = image;
  }
  header->SetItem(item, &hdi);
}

// ---- Columns and their tool-tips ----

int CCommonListCtrl::InsertColumn(int position, LPCTSTR caption, int format, int width, int subItem) {
  const int inserted = CListCtrl::InsertColumn(position, caption, format, width, subItem);
  if (m_bHeaderToolTips) AddHeaderToolTip(position, caption);
  return inserted;
}

RECT CCommonListCtrl::HeaderToolRect(int position) const {
  RECT rect{};
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr) return rect;
  POINT origin{};
  SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin));
  int left = -origin.x;
  for (int i = 0; i < position; ++i) left += GetColumnWidth(header->OrderToIndex(i));
  RECT client{};
  header->GetClientRect(&client);
  rect.left = left;
  rect.right = left + GetColumnWidth(header->OrderToIndex(position));
  rect.top = client.top;
  rect.bottom = client.bottom;
  return rect;
}

void CCommonListCtrl::AddTool(int id, const RECT& rect, const CString& text) {
  TOOLINFO tool;
  tool.hwnd = GetHeaderCtrl()->GetSafeHwnd();
  tool.uId = static_cast<UINT_PTR>(id);
  tool.rect = rect;
  tool.lpszText = const_cast<LPSTR>(text.GetString());
  // A column's description replaces the caption tool added with the column.
  ::SendMessage(m_hHeaderTip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessage(m_hHeaderTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
}

void CCommonListCtrl::InsertShownColumn(int position, const sTarnColInfo& column) {
  InsertColumn(position, column.szName, column.nFormat, column.nWidth);
  if (!column.strDescription.IsEmpty()) AddHeaderToolTip(position, column.strDescription);
}

void CCommonListCtrl::AddHeaderToolTip(int position, LPCTSTR text) {
  if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT) return;
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr || position < 0 || position >= header->GetItemCount()) return;
  if (m_hHeaderTip == nullptr) {
    m_hHeaderTip = ::CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hWnd, nullptr,
                                    nullptr, nullptr);
    if (m_hHeaderTip == nullptr) return;
  }
  const CString tip = text != nullptr ? CString(text) : HeaderItemText(position).Left(80);
  AddTool(position + 1, HeaderToolRect(position), tip);
}

BOOL CCommonListCtrl::DeleteColumn(int position) {
  const BOOL deleted = CListCtrl::DeleteColumn(position);
  if (m_hHeaderTip == nullptr) return deleted;
  if (!deleted) return FALSE;  // no such column: every tool stays on its own
  const HWND headerWnd = GetHeaderCtrl()->GetSafeHwnd();
  // Tools may be fewer than columns (without caption tips only described
  // columns have one), so the later ids are bounded by the columns left.
  const int columns = GetHeaderCtrl()->GetItemCount();
  TOOLINFO gone;
  gone.hwnd = headerWnd;
  gone.uId = static_cast<UINT_PTR>(position + 1);
  ::SendMessage(m_hHeaderTip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&gone));
  // Each later tool moves one id down, over its column's new place.
  for (int id = position + 2; id <= columns + 1; ++id) {
    char text[256] = {};
    TOOLINFO old;
    old.hwnd = headerWnd;
    old.uId = static_cast<UINT_PTR>(id);
    old.lpszText = text;
    if (!::SendMessage(m_hHeaderTip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&old))) continue;
    const CString kept(text);
    ::SendMessage(m_hHeaderTip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&old));
    AddTool(id - 1, HeaderToolRect(id - 2), kept);
  }
  return deleted;
}

void CCommonListCtrl::RealignHeaderToolTips() {
  // Every caller has a header. Without a tip window the messages go to no
  // window and do nothing.
  CHeaderCtrl* header = GetHeaderCtrl();
  for (int i = 0; i < header->GetItemCount(); ++i) {
    TOOLINFO tool;
    tool.hwnd = header->GetSafeHwnd();
    tool.uId = static_cast<UINT_PTR>(i + 1);
    header->GetItemRect(i, &tool.rect);
    ::SendMessage(m_hHeaderTip, TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// ---- The stored layout ----

void CCommonListCtrl::InsertRecordsInOrder() {
  m_arrColumnOrder.SetSize(m_arrColumns.GetSize());
  m_arrColumnAtPosition.SetSize(m_arrColumns.GetSize());
  for (int i = 0; i < m_arrColumns.GetSize(); ++i) {
    const sTarnColInfo& column = m_arrColumns[i];
    m_arrColumnOrder[i] = i;
    m_arrColumnAtPosition[i] = i;
    InsertColumn(i, column.szName, column.nFormat, column.nWidth);
    if (!column.strDescription.IsEmpty()) AddHeaderToolTip(i, column.strDescription);
  }
}

void CCommonListCtrl::PlaceStoredLayout(const CString& value, bool cut, std::vector<int>& widths,
                                        const std::function<void(int, int)>& place) {
  const int builtIn = m_nBuiltInColumns;
  const listview::StoredLayout layout =
      listview::CheckColumnProfile(value, builtIn, GetSystemMetrics(SM_CXSCREEN), cut);
  for (const listview::ColumnProfileEntry& entry : layout.computed) {
    sTarnColInfo computed(entry.strName, kComputedWidth, kComputedFormat, kComputedSortType);
    computed.strExpression = entry.strExpression;
    computed.strDescription = entry.strDescription;
    m_arrColumns.Add(computed);
  }
  const int records = static_cast<int>(m_arrColumns.GetSize());
  m_arrColumnOrder.SetSize(records);
  widths.resize(static_cast<size_t>(records));
  // Columns a damaged value does not describe soundly take their default
  // layout: after the sound ones, in their default order.
  std::vector<std::pair<int, int>> defaulted;  // default position, column index
  for (int i = 0; i < records; ++i) {
    const listview::StoredColumn& stored = layout.columns[static_cast<size_t>(i)];
    if (stored.bListed) {
      m_arrColumnOrder[i] = stored.nOrder;
      widths[static_cast<size_t>(i)] = stored.nWidth;
      place(stored.nOrder, i);
    } else if (!layout.Damaged()) {
      // A sound profile written before this column existed: hidden until shown.
      m_arrColumnOrder[i] = -1;
      widths[static_cast<size_t>(i)] = kUnlistedColumnWidth;
    } else {
      int position = i;
      if (i < builtIn && !m_arrDefaultLayout.IsEmpty()) {
        position = i < m_arrDefaultLayout.GetSize() ? m_arrDefaultLayout[i] : -1;
      }
      m_arrColumnOrder[i] = position < 0 ? -1 : position;
      widths[static_cast<size_t>(i)] = m_arrColumns[i].nWidth;
      if (position >= 0) defaulted.emplace_back(position, i);
    }
  }
  std::stable_sort(defaulted.begin(), defaulted.end());
  int after = records;  // beyond every sound position; closed up later
  for (const auto& entry : defaulted) place(after++, entry.second);
  if (layout.Damaged()) listview::ReportDamagedLine(m_strProfileName, "COLUMNPROFILE", layout.damage);
  if (!layout.formulaDamage.empty()) {
    listview::ReportUnusableFormulas(m_strProfileName, "COLUMNPROFILE", layout.formulaDamage);
  }
}

void CCommonListCtrl::ApplyColumnProfile() {
  const int builtIn = static_cast<int>(m_arrColumns.GetSize());
  m_nBuiltInColumns = builtIn;
  m_arrColumnOrder.SetSize(builtIn);
  std::vector<int> widths(static_cast<size_t>(builtIn));
  for (int i = 0; i < builtIn; ++i) {
    m_arrColumnOrder[i] = i;
    widths[static_cast<size_t>(i)] = m_arrColumns[i].nWidth;
  }
  std::vector<int> atPosition;  // column index by display position; -1 a gap
  auto place = [&](int position, int index) {
    if (position < 0) return;
    if (static_cast<size_t>(position) >= atPosition.size()) atPosition.resize(static_cast<size_t>(position) + 1, -1);
    atPosition[static_cast<size_t>(position)] = index;
  };

  CString value;
  bool cut;  // every read sets it
  if (!listview::ReadColumnProfile(m_strProfileName, value, cut)) {
    if (m_arrDefaultLayout.IsEmpty()) {
      InsertRecordsInOrder();
      return;
    }
    // The default layout gives each record its position; one shorter than
    // the records hides the rest.
    for (int i = 0; i < builtIn; ++i) {
      m_arrColumnOrder[i] = i < m_arrDefaultLayout.GetSize() ? m_arrDefaultLayout[i] : -1;
      place(m_arrColumnOrder[i], i);
    }
  } else {
    PlaceStoredLayout(value, cut, widths, place);
  }

  // Positions no entry names are closed up, so the order entries always
  // name the header position a column really has.
  m_arrColumnAtPosition.RemoveAll();
  int position = 0;
  for (const int index : atPosition) {
    if (index < 0) continue;  // a gap: every entry placed is a column of the records
    const sTarnColInfo& column = m_arrColumns[index];
    m_arrColumnOrder[index] = position;
    m_arrColumnAtPosition.Add(index);
    InsertColumn(position, column.szName, column.nFormat, widths[static_cast<size_t>(index)]);
    if (!column.strDescription.IsEmpty()) AddHeaderToolTip(position, column.strDescription);
    if (position == 0) m_nFirstColumnIndex = index;
    ++position;
  }
}

CString CCommonListCtrl::FormatCurrentProfile(const sTarnColInfo* added) const {
  CHeaderCtrl* header = GetHeaderCtrl();
  const int items = header != nullptr && header->GetSafeHwnd() != nullptr ? header->GetItemCount() : 0;
  std::vector<int> order(static_cast<size_t>(items));
  if (items > 0) header->GetOrderArray(order.data(), items);
  std::vector<listview::ColumnProfileEntry> entries;
  for (int i = 0; i < m_arrColumns.GetSize(); ++i) {
    const sTarnColInfo& column = m_arrColumns[i];
    listview::ColumnProfileEntry entry;
    entry.nIndex = i;
    entry.nOrder = i < m_arrColumnOrder.GetSize() ? m_arrColumnOrder[i] : -1;
    for (const int item : order) {
      if (HeaderItemText(item) == column.szName) {
        entry.nWidth = GetColumnWidth(item);
        break;
      }
    }
    entry.strName = column.szName;
    entry.strExpression = column.strExpression;
    entry.strDescription = column.strDescription;
    entries.push_back(entry);
  }
  if (added != nullptr) {
    // Shown last, as a new computed column is.
    entries.push_back({static_cast<int>(m_arrColumns.GetSize()), items, added->nWidth, added->szName,
                       added->strExpression, added->strDescription});
  }
  return listview::FormatColumnProfile(entries, m_nBuiltInColumns);
}

void CCommonListCtrl::SaveColumnProfile() {
  CString value = FormatCurrentProfile();
  // A value the reader would cut is not written: the stored one stays, and
  // nothing of it is lost at the next start.
  if (value.GetLength() > listview::kProfileValueMaxLength) {
    listview::ShowSettingsNotSaved("the layout is longer than the 4095 characters the list reads back");
  } else if (!ProfileIO(listview::kProfileWrite, m_strProfileName, value)) {
    listview::ShowSettingsNotSaved();
  }
}

// ---- Fitting ----

void CCommonListCtrl::FitColumns(int mode) {
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr) return;
  Redraw(false);
  const int columns = header->GetItemCount();
  RECT client{};
  GetClientRect(&client);
  const int clientWidth = client.right - client.left;
  for (int i = 0; i < columns; ++i) {
    SetColumnWidth(i, LVSCW_AUTOSIZE);
    const int data = GetColumnWidth(i);
    SetColumnWidth(i, LVSCW_AUTOSIZE_USEHEADER);
    const int caption = GetColumnWidth(i);
    int width = kMinimumFitWidth;
    if (mode == list_command::kFitToData) width = std::max(data, kMinimumFitWidth);
    if (mode == list_command::kFitToHeader) width = std::max(caption, kMinimumFitWidth);
    if (mode == list_command::kFitToWindow) width = clientWidth > 0 ? clientWidth / columns : kMinimumFitWidth;
    SetColumnWidth(i, width);
  }
  if (m_bHeaderToolTips) RealignHeaderToolTips();
  Redraw(true);
  header->Invalidate();
  Invalidate();
}
