// CFilterListCtrl: filter mode, the filter row, messages, keys and menus.
#include "listview/filter/filter_list_ctrl.h"

#include <algorithm>
#include <cstring>

#include "listview/filter/filter_text.h"
#include "listview/user_columns/user_defined_col_dlg.h"
#include "platform/window/keyboard.h"
#include "platform/kernel/module.h"

namespace {

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Classic (unthemed) header drawing, where the theme library exists.
void DrawHeaderClassic(HWND header) {
  const HMODULE library = LoadLibraryA("UxTheme.dll");
  if (library == nullptr) return;
  using SetWindowThemeFn = long (*)(HWND, const wchar_t*, const wchar_t*);
  if (auto fn = reinterpret_cast<SetWindowThemeFn>(GetProcAddress(library, "SetWindowTheme")); fn != nullptr) {
    fn(header, L"", L"");
  }
  FreeLibrary(library);
}

}  // namespace

CFilterListCtrl::CFilterListCtrl() { SetColorCallback(&listview::KeywordColouring); }

// Rows are the owner's; only the records holding them go. The window goes
// while this object still answers its messages.
CFilterListCtrl::~CFilterListCtrl() {
  if (m_hWnd != nullptr) DestroyWindow();
}

void CFilterListCtrl::AttachHeader() {
  if (m_header.GetSafeHwnd() != nullptr) return;
  const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header == nullptr) return;
  m_header.SubclassWindow(header);
  m_header.SetSource(this);
}

void CFilterListCtrl::PreSubclassWindow() {
  CCommonListCtrl::PreSubclassWindow();
  AttachHeader();
}

int CFilterListCtrl::OnCreate(LPCREATESTRUCT cs) {
  const int result = CCommonListCtrl::OnCreate(cs);
  AttachHeader();
  return result;
}

void CFilterListCtrl::SetFilterBar(bool on) {
  if (m_header.GetSafeHwnd() == nullptr) return;
  if (on) {
    m_header.ModifyStyle(0, HDS_FILTERBAR);
    m_header.SetFilterChangeTimeout(kFilterTimeoutMs);
  } else {
    m_header.ModifyStyle(HDS_FILTERBAR, 0);
  }
  // A new frame makes the list lay its header out at its new height.
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The header tips cover the items at their new height, filter boxes included.
  if (m_bHeaderToolTips) RealignHeaderToolTips();
}

void CFilterListCtrl::EnableFilterMode(bool on) {
  SyncAppendedRows();
  if (on) {
    m_bFilterMode = 1;
    m_bFilterRowShown = 1;
    SetFilterBar(true);
    CCommonListCtrl::DeleteAllItems();
    m_appearance.bFilterRow = 1;
    if (m_header.GetSafeHwnd() != nullptr) DrawHeaderClassic(m_header.GetSafeHwnd());
  } else {
    // The filters go with the filter row and the rows with the store. A
    // refilter before freeing the store would size the list for rows that
    // are about to go, leaving as many empty rows behind.
    ClearFilters();
    SetFilterBar(false);
    m_rows.Clear();
    CCommonListCtrl::DeleteAllItems();
    m_appearance.bFilterRow = 0;
    m_bFilterMode = 0;
    m_bFilterRowShown = 0;
  }
  SendMessage(WM_SETREDRAW, TRUE);
  Invalidate();
}

void CFilterListCtrl::ToggleFilterRow() {
  if (m_bFilterRowShown) {
    SetFilterBar(false);
    m_bFilterRowShown = 0;
  } else {
    SetFilterBar(true);
    m_bFilterRowShown = 1;
    // The first box takes the typing; a header without columns refuses.
    if (m_header.GetSafeHwnd() != nullptr) m_header.PostMessage(HDM_EDITFILTER, 0, FALSE);
  }
  // The appearance's filter-row flag stays as filter mode set it: a list
  // whose filter boxes are hidden for a while keeps its keyword colouring
  // and the appearance dialog's keyword section.
  // A width change tells the header's followers (its tool-tips) as well.
  const int width = GetColumnWidth(0);
  SetColumnWidth(0, width + 1);
  SetColumnWidth(0, width);
}

// ---- Notifications ----

void CFilterListCtrl::OnGetDispInfo(NMLVDISPINFO* info) {
  LVITEM& item = info->item;
  if (item.iItem < 0 || item.iItem >= GetItemCount()) return;
  if (item.mask & LVIF_IMAGE) item.iImage = 0;
  if (item.mask & LVIF_PARAM) item.lParam = static_cast<LPARAM>(GetItemData(item.iItem));
  if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_STATEIMAGEMASK)) {
    // The check box shows the row's own check state (image 1 clear, 2
    // checked), where a fixed 2 would draw every row checked in a list the
    // platform draws itself.
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(GetCheck(item.iItem) ? 2 : 1);
  }
  if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
    const CString text = GetItemText(item.iItem, item.iSubItem);
    const int n = std::min(text.GetLength(), item.cchTextMax - 1);
    std::memcpy(item.pszText, text.GetString(), static_cast<size_t>(n));
    item.pszText[n] = '\0';
  }
}

void CFilterListCtrl::OnClick(NMITEMACTIVATE* click) {
  UINT flags = 0;
  const int row = HitTest(CPoint(click->ptAction), &flags);
  if (row < 0) return;  // the hit test names a row that exists, or none
  if (flags & LVHT_ONITEMSTATEICON) {
    SetCheck(row, !GetCheck(row));
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else if (flags & LVHT_ONITEMLABEL) {
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

Reflect CFilterListCtrl::OnReflectNotify(NMHDR* header, LRESULT* result) {
  if (m_bFilterMode) {
    switch (header->code) {
      case LVN_COLUMNCLICK:
        SortView(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        *result = 0;
        return Reflect::Consume;
      case LVN_GETDISPINFO:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFO*>(header));
        *result = 0;
        return Reflect::Consume;
      case NM_CLICK: OnClick(reinterpret_cast<NMITEMACTIVATE*>(header)); return Reflect::PassToParent;
      default: break;
    }
  }
  return CCommonListCtrl::OnReflectNotify(header, result);
}

BOOL CFilterListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* notify = reinterpret_cast<NMHDR*>(lParam);
  if (notify != nullptr && notify->hwndFrom == m_header.GetSafeHwnd() && notify->code == HDN_FILTERCHANGE) {
    OnFilterChange(reinterpret_cast<NMHEADER*>(lParam));
    *result = 0;
    return TRUE;
  }
  if (notify != nullptr && notify->hwndFrom == m_header.GetSafeHwnd() && notify->code == HDN_FILTERBTNCLICK) {
    OnFilterButton(reinterpret_cast<NMHDFILTERBTNCLICK*>(lParam));
    *result = 0;  // the filter changes only when a text is chosen
    return TRUE;
  }
  return CCommonListCtrl::OnNotify(wParam, lParam, result);
}

BOOL CFilterListCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case list_command::kResetFilters: ResetFilters(); return TRUE;
    case list_command::kMatchFilterExactly: ToggleExactMatch(); return TRUE;
    case list_command::kAddCustomColumn: OpenUserColumns(CUserDefinedColDlg::kAddMode); return TRUE;
    case list_command::kDeleteCustomColumn: OpenUserColumns(CUserDefinedColDlg::kDeleteMode); return TRUE;
    default: return CCommonListCtrl::OnCommand(wParam, lParam);
  }
}

void CFilterListCtrl::ForwardToOwner(NMHDR& notify) {
  notify.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  CWnd* owner = m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent();
  // A non-waiting send to a window of this thread runs at once as this send
  // does; the owner is always on the list's own thread.
  if (owner != nullptr) owner->SendMessage(WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CFilterListCtrl::ForEachShownText(int position,
                                       const std::function<void(int row, const CString& text)>& visit) const {
  const int column = ColumnOfSubItem(position);
  CString text;
  ForEachRowInStoreOrder([&](int row, DWORD_PTR data) {
    if (data == 0) return;
    COLORREF textColor = static_cast<COLORREF>(-1);
    COLORREF backColor = static_cast<COLORREF>(-1);
    int image = -1;
    text.Empty();
    CellText(data, column, text, textColor, backColor, image);
    if (!text.IsEmpty()) visit(row, text);
  });
}

// The owner hears of the press first.
void CFilterListCtrl::OnFilterButton(NMHDFILTERBTNCLICK* notify) {
  NMHDFILTERBTNCLICK forward = *notify;
  ForwardToOwner(forward.hdr);
  TheFilterText().Open(this, notify->iItem);
}

void CFilterListCtrl::OpenUserColumns(int mode) {
  CUserDefinedColDlg& dialog = TheUserDefinedColDlg();
  if (!dialog.Open(this, mode)) return;
  dialog.ShowWindow(SW_SHOW);
  dialog.BringWindowToTop();
}

void CFilterListCtrl::ToggleExactMatch() {
  m_cExactMatch = m_cExactMatch ? 0 : 1;
  if (!m_arrFilterColumns.empty()) {
    // Writing the first filter again refilters through the header's notification.
    SetHeaderFilterText(HeaderItemOfColumn(m_arrFilterColumns.front()), m_arrFilterTexts.front(), m_cOneShotExact);
  } else {
    SetHeaderFilterText(0, "", m_cOneShotExact);  // a header without columns refuses it
  }
}

void CFilterListCtrl::BuildHeaderMenu(CMenu& menu) {
  CCommonListCtrl::BuildHeaderMenu(menu);
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, list_command::kResetFilters, "Reset Filters");
  menu.AppendMenu(MF_STRING | (m_cExactMatch ? MF_CHECKED : MF_UNCHECKED), list_command::kMatchFilterExactly,
                  "Match Filter Exactly");
  menu.AppendMenu(MF_SEPARATOR);
}

// ---- Keys ----

bool CFilterListCtrl::FocusInFilterBox() const {
  const HWND focus = ::GetFocus();
  return focus != nullptr && m_header.GetSafeHwnd() != nullptr && ::GetParent(focus) == m_header.GetSafeHwnd() &&
         ::GetDlgCtrlID(focus) == platform::kHeaderFilterEditId;
}

void CFilterListCtrl::MoveBetweenFilterBoxes(bool backwards) {
  const int count = m_header.GetItemCount();
  if (count == 0) return;
  const int next = (m_nCurrentFilterBox + (backwards ? count - 1 : 1)) % count;
  const bool wrappedToFirst = next == 0 && !backwards;
  m_nCurrentFilterBox = next;
  // Visible means the box's column lies wholly inside the client area.
  POINT origin{};
  SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin));
  int left = -origin.x;
  for (int p = 0; p < next; ++p) left += GetColumnWidth(m_header.OrderToIndex(p));
  const int right = left + GetColumnWidth(m_header.OrderToIndex(next));
  RECT client{};
  GetClientRect(&client);
  if (left < 0 || right > client.right) Scroll(CSize(wrappedToFirst ? -origin.x : origin.x + 50, 0));
  m_header.EditFilter(m_header.OrderToIndex(next), FALSE);
}

BOOL CFilterListCtrl::PreTranslateMessage(MSG* msg) {
  if (m_bFilterMode && msg->message == WM_KEYDOWN) {
    const UINT key = static_cast<UINT>(msg->wParam);
    if (key == VK_TAB && FocusInFilterBox()) {
      MoveBetweenFilterBoxes(KeyDown(VK_SHIFT));
      return TRUE;
    }
    // Ctrl+F means nothing to a filter box's text: there it is the way out
    // of the filter row, as it is in the list.
    if (key == 'F' && KeyDown(VK_CONTROL)) {
      if (ShortcutsApplyTo(msg->hwnd)) HandleShortcut(key);
      if (FocusInFilterBox()) SetFocus();
      ToggleFilterRow();
      return TRUE;
    }
  }
  return CCommonListCtrl::PreTranslateMessage(msg);
}
