// Scrolling of the report view, all of it: the bars' sync after every
// message, the top row and the sideways offset, WM_VSCROLL / WM_HSCROLL,
// the wheel (rows per notch shared with the list box: user/wheel_scroll.h).
#include <algorithm>

#include "platform/comctl/list_view_model.h"
#include "platform/user/wheel_scroll.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

// One bar's range 0..max, its page and its position.
void SetBar(HWND hwnd, int bar, int max, int page, int pos) {
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = max;
  info.nPage = static_cast<UINT>(page);
  info.nPos = pos;
  ::SetScrollInfo(hwnd, bar, &info, TRUE);
}

// Questions to the list that change none of what the bars show (items,
// columns, size, scrolling). Owners and the framework ask them once per
// cell or column, so keeping the bars out of them keeps a wide list's
// layout linear in its columns.
bool AsksOnly(UINT message) {
  switch (message) {
    case LVM_GETITEMCOUNT:
    case LVM_GETITEM:
    case LVM_GETITEMTEXT:
    case LVM_GETITEMSTATE:
    case LVM_GETNEXTITEM:
    case LVM_GETITEMRECT:
    case LVM_GETSUBITEMRECT:
    case LVM_GETCOLUMN:
    case LVM_GETCOLUMNWIDTH:
    case LVM_GETCOLUMNORDERARRAY:
    case LVM_GETTOPINDEX:
    case LVM_GETCOUNTPERPAGE:
    case LVM_GETHEADER:
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
    case LVM_GETSELECTEDCOUNT:
    case LVM_GETSELECTIONMARK:
    case LVM_GETBKCOLOR:
    case LVM_GETTEXTCOLOR:
    case LVM_GETTEXTBKCOLOR:
    case LVM_GETSTRINGWIDTH:
    case LVM_GETORIGIN:
    case LVM_GETVIEWRECT:
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST:
    case WM_GETFONT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETDLGCODE:
    case WM_NCHITTEST:
    case WM_SETCURSOR: return true;
    default: return false;
  }
}

// Changes to the items alone: the row count, the top row, what rows hold.
// They leave the columns, the client size and the sideways scroll as they
// were, so only the vertical bar can follow from them (and, when that bar
// comes or goes, the client's width, which the full sync then settles).
// A list filled a row at a time sends a few of these for every row.
bool ChangesItemsOnly(UINT message) {
  switch (message) {
    case LVM_SETITEMCOUNT:
    case LVM_INSERTITEM:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS:
    case LVM_SETITEM:
    case LVM_SETITEMTEXT:
    case LVM_SETITEMSTATE:
    case LVM_SORTITEMS:
    case LVM_SORTITEMSEX:
    case LVM_SETSELECTIONMARK:
    case LVM_ENSUREVISIBLE:
    case LVM_REDRAWITEMS:
    case LVM_UPDATE: return true;
    default: return false;
  }
}

}  // namespace

LRESULT ListViewModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Handle(message, wParam, lParam);
  // Whatever the message changed (items, columns, size, scrolling), the
  // scroll bars say it afterwards.
  if (message != WM_DESTROY && message != WM_NCDESTROY && !AsksOnly(message) && ::IsWindow(hwnd())) {
    if (ChangesItemsOnly(message)) {
      SyncRowsBar();
    } else {
      SyncScrollBars();
    }
  }
  return result;
}

void ListViewModel::SetTop(int top) {
  // The last page stays full: the top never passes the item that shows the
  // last one at the bottom.
  const int maxTop = std::max(0, Count() - PerPage());
  m_top = std::clamp(top, 0, maxTop);
}

void ListViewModel::EnsureVisible(int index, bool partialOk) {
  if (!Valid(index)) return;
  const int old = m_top;
  const int page = PerPage();
  if (index < m_top) {
    SetTop(index);
  } else if (index >= m_top + page) {
    // A partly shown last row is enough when the caller says so.
    const int visibleHeight = ClientHeight() - HeaderHeight();
    const bool partlyShown = (index - m_top) * RowHeight() < visibleHeight;
    if (!(partialOk && partlyShown)) SetTop(index - page + 1);
  }
  if (m_top != old) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListViewModel::Scroll(int dx, int dy) {
  // Vertical scrolling moves whole rows, rounding towards zero.
  if (dy != 0) SetTop(m_top + dy / std::max(1, RowHeight()));
  const int maxX = std::max(0, TotalWidth() - ClientWidth());
  m_scrollX = std::clamp(m_scrollX + dx, 0, maxX);
  LayoutHeader();
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

bool ListViewModel::ScrollSideways(int delta) {
  constexpr int kLinesPerNotch = 3;
  const int notches = delta / 120;
  if (notches == 0 || TotalWidth() <= ClientWidth()) return false;
  Scroll(notches * kLinesPerNotch * std::max(1, RowHeight()), 0);
  return true;
}

bool ListViewModel::OnWheel(bool sideways, WPARAM wParam) {
  const auto delta = static_cast<short>(HIWORD(wParam));
  if (sideways) return ScrollSideways(delta);
  // With Shift held the wheel scrolls sideways, up to the left.
  if (LOWORD(wParam) & MK_SHIFT) return ScrollSideways(-delta);
  return ScrollByWheel(hwnd(), wParam, m_top, Count(), [this](int top) { SetTop(top); });
}

void ListViewModel::OnScroll(bool vertical, int code, int position) {
  const int line = std::max(1, RowHeight());
  const int page = vertical ? PerPage() * RowHeight() : ClientWidth();
  int delta = 0;
  switch (code) {
    case SB_LINEUP: delta = -line; break;
    case SB_LINEDOWN: delta = line; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: delta = vertical ? (position - m_top) * RowHeight() : position - m_scrollX; break;
    case SB_TOP: delta = vertical ? -m_top * RowHeight() : -m_scrollX; break;
    case SB_BOTTOM: delta = vertical ? Count() * RowHeight() : TotalWidth(); break;
    default: return;
  }
  Scroll(vertical ? 0 : delta, vertical ? delta : 0);
}

void ListViewModel::SetRowsBar() { SetBar(hwnd(), SB_VERT, Count() - 1, PerPage(), m_top); }

void ListViewModel::SyncRowsBar() {
  if (m_syncingBars) return;
  if (Style() & LVS_NOSCROLL) {
    const int top = m_top;
    SetTop(m_top);
    if (m_top != top) ::InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  m_syncingBars = true;
  const DWORD before = Style() & (WS_HSCROLL | WS_VSCROLL);
  const int top = m_top;
  SetTop(m_top);
  if (m_top != top) ::InvalidateRect(hwnd(), nullptr, TRUE);
  SetRowsBar();
  m_syncingBars = false;
  // The bar came or went: the client's width changed, and with it maybe the other bar.
  if ((Style() & (WS_HSCROLL | WS_VSCROLL)) != before) SyncScrollBars();
}

void ListViewModel::SyncScrollBars() {
  if (m_syncingBars) return;
  m_syncingBars = true;
  const bool none = (Style() & LVS_NOSCROLL) != 0;
  // Showing one bar narrows or shortens the client, which may call for the
  // other: a few passes settle it.
  for (int pass = 0; pass < 3; ++pass) {
    const DWORD before = Style() & (WS_HSCROLL | WS_VSCROLL);
    const int top = m_top;
    const int scrollX = m_scrollX;
    SetTop(m_top);
    m_scrollX = std::clamp(m_scrollX, 0, std::max(0, TotalWidth() - ClientWidth()));
    if (m_scrollX != scrollX) LayoutHeader();
    if (m_top != top || m_scrollX != scrollX) ::InvalidateRect(hwnd(), nullptr, TRUE);
    if (none) {
      ::ShowScrollBar(hwnd(), SB_BOTH, FALSE);
    } else {
      SetRowsBar();
      SetBar(hwnd(), SB_HORZ, TotalWidth() - 1, std::max(0, ClientWidth()), m_scrollX);
    }
    if ((Style() & (WS_HSCROLL | WS_VSCROLL)) == before) break;
  }
  m_syncingBars = false;
}

}  // namespace platform
