// Geometry and scrolling of the report view (painting: list_view_paint.cpp).
#include <algorithm>

#include "platform/user/list_box.h"
#include "platform/comctl/list_view_model.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/winapi.h"

namespace platform {

// ---- Geometry ----------------------------------------------------------------------

int ListViewModel::HeaderHeight() const {
  if (m_header == nullptr || !(::GetWindowLong(m_header, GWL_STYLE) & static_cast<LONG>(WS_VISIBLE))) return 0;
  RECT r;
  ::GetWindowRect(m_header, &r);
  return r.bottom - r.top;
}

int ListViewModel::ClientWidth() const {
  RECT r;
  ::GetClientRect(hwnd(), &r);
  return r.right - r.left;
}

int ListViewModel::ClientHeight() const {
  RECT r;
  ::GetClientRect(hwnd(), &r);
  return r.bottom - r.top;
}

std::vector<int> ListViewModel::ColumnOrder() const {
  std::vector<int> order(m_columns.size());
  if (!order.empty()) {
    ::SendMessage(m_header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  }
  return order;
}

int ListViewModel::TotalWidth() const {
  // The right edge of the last column shown: the header sums the widths in
  // display order for one message, where asking column by column costs one
  // each, and the scroll bars ask after every change to the list.
  const int count = ColumnCount();
  if (count == 0) return 0;
  const auto last = ::SendMessage(m_header, HDM_ORDERTOINDEX, static_cast<WPARAM>(count - 1), 0);
  RECT rect{};
  if (::SendMessage(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&rect))) {
    return rect.right;
  }
  int width = 0;
  for (int i = 0; i < count; ++i) width += ColumnWidth(i);
  return width;
}

int ListViewModel::PerPage() const {
  // Whole rows only, and never fewer than one.
  return std::max(1, (ClientHeight() - HeaderHeight()) / std::max(1, RowHeight()));
}

RECT ListViewModel::ColumnRect(int column) const {
  RECT r;
  if (column < 0 || column >= ColumnCount()) return r;
  ::SendMessage(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
  r.left -= m_scrollX;
  r.right -= m_scrollX;
  return r;
}

RECT ListViewModel::RowRect(int index) const {
  const int top = HeaderHeight() + (index - m_top) * RowHeight();
  return RECT{-m_scrollX, top, TotalWidth() - m_scrollX, top + RowHeight()};
}

bool ListViewModel::ItemRect(int index, int part, RECT& out) const {
  if (!Valid(index)) return false;
  const RECT row = RowRect(index);
  RECT column0 = ColumnCount() > 0 ? ColumnRect(0) : RECT{row.left, 0, row.left, 0};
  int x = column0.left;
  if (m_exStyle & LVS_EX_CHECKBOXES) x += kListStateIconWidth;
  const int iconRight = x + (m_images[LVSIL_SMALL] != nullptr ? kListSmallIconWidth : 0);
  switch (part) {
    case LVIR_BOUNDS: out = row; return true;
    case LVIR_ICON: out = RECT{x, row.top, iconRight, row.bottom}; return true;
    case LVIR_LABEL:
      out = RECT{iconRight, row.top, std::max(iconRight, static_cast<int>(column0.right)), row.bottom};
      return true;
    case LVIR_SELECTBOUNDS:
      if (m_exStyle & LVS_EX_FULLROWSELECT) {
        out = row;
      } else {
        out = RECT{x, row.top, std::max(iconRight, static_cast<int>(column0.right)), row.bottom};
      }
      return true;
    default: return false;
  }
}

bool ListViewModel::SubItemRect(int index, int subItem, int part, RECT& out) const {
  if (!Valid(index) || subItem < 0 || (subItem > 0 && subItem >= ColumnCount())) return false;
  if (subItem == 0) {
    // As on the platform, the bounds of sub-item 0 are the whole row's.
    return ItemRect(index, part == LVIR_ICON || part == LVIR_LABEL ? part : LVIR_BOUNDS, out);
  }
  const RECT row = RowRect(index);
  const RECT column = ColumnRect(subItem);
  const bool icon = (m_exStyle & LVS_EX_SUBITEMIMAGES) && m_images[LVSIL_SMALL] != nullptr;
  const int iconRight = column.left + (icon ? kListSmallIconWidth : 0);
  switch (part) {
    case LVIR_BOUNDS:
    case LVIR_SELECTBOUNDS: out = RECT{column.left, row.top, column.right, row.bottom}; return true;
    case LVIR_ICON: out = RECT{column.left, row.top, iconRight, row.bottom}; return true;
    case LVIR_LABEL:
      out = RECT{iconRight, row.top, std::max(iconRight, static_cast<int>(column.right)), row.bottom};
      return true;
    default: return false;
  }
}

int ListViewModel::HitTest(LVHITTESTINFO& info, bool subItems) const {
  const POINT p = info.pt;
  info.flags = 0;
  info.iItem = -1;
  info.iSubItem = 0;
  if (p.y < HeaderHeight()) info.flags |= LVHT_ABOVE;
  if (p.y >= ClientHeight()) info.flags |= LVHT_BELOW;
  if (p.x < 0) info.flags |= LVHT_TOLEFT;
  if (p.x >= ClientWidth()) info.flags |= LVHT_TORIGHT;
  if (info.flags != 0) return -1;
  const int index = m_top + (p.y - HeaderHeight()) / std::max(1, RowHeight());
  if (!Valid(index) || p.x >= TotalWidth() - m_scrollX || p.x < -m_scrollX) {
    info.flags = LVHT_NOWHERE;
    return -1;
  }
  int column = -1;
  for (int c = 0; c < ColumnCount(); ++c) {
    const RECT r = ColumnRect(c);
    if (p.x >= r.left && p.x < r.right) column = c;
  }
  RECT icon;
  RECT label;
  ItemRect(index, LVIR_ICON, icon);
  ItemRect(index, LVIR_LABEL, label);
  const int stateLeft = icon.left - ((m_exStyle & LVS_EX_CHECKBOXES) ? kListStateIconWidth : 0);
  if (column == 0 || ColumnCount() == 0) {
    if ((m_exStyle & LVS_EX_CHECKBOXES) && p.x >= stateLeft && p.x < icon.left) {
      info.flags = LVHT_ONITEMSTATEICON;
    } else if (p.x >= icon.left && p.x < icon.right) {
      info.flags = LVHT_ONITEMICON;
    } else {
      info.flags = LVHT_ONITEMLABEL;
    }
  } else if (m_exStyle & LVS_EX_FULLROWSELECT) {
    info.flags = LVHT_ONITEMLABEL;
  } else {
    // Without full-row selection only the first column is the item; the
    // other cells are empty space, though a sub-item hit test names them.
    if (!subItems) {
      info.flags = LVHT_NOWHERE;
      return -1;
    }
    info.flags = LVHT_ONITEMLABEL;
  }
  info.iItem = index;
  if (subItems) info.iSubItem = std::max(0, column);
  return index;
}

// ---- Scrolling -----------------------------------------------------------------------

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
  SCROLLINFO v;
  v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  v.nMax = Count() - 1;
  v.nPage = static_cast<UINT>(PerPage());
  v.nPos = m_top;
  ::SetScrollInfo(hwnd(), SB_VERT, &v, TRUE);
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
      SCROLLINFO v;
      v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      v.nMax = Count() - 1;
      v.nPage = static_cast<UINT>(PerPage());
      v.nPos = m_top;
      ::SetScrollInfo(hwnd(), SB_VERT, &v, TRUE);
      SCROLLINFO h;
      h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      h.nMax = TotalWidth() - 1;
      h.nPage = static_cast<UINT>(std::max(0, ClientWidth()));
      h.nPos = m_scrollX;
      ::SetScrollInfo(hwnd(), SB_HORZ, &h, TRUE);
    }
    if ((Style() & (WS_HSCROLL | WS_VSCROLL)) == before) break;
  }
  m_syncingBars = false;
}

void ListViewModel::LayoutHeader() {
  if (m_header == nullptr) return;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  // The header scrolls sideways with the rows.
  client.left -= m_scrollX;
  WINDOWPOS pos;
  HDLAYOUT layout{&client, &pos};
  if (!::SendMessage(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout))) return;
  const bool show = !(Style() & LVS_NOCOLUMNHEADER) && (Style() & LVS_TYPEMASK) == LVS_REPORT;
  ::SetWindowPos(m_header, nullptr, pos.x, pos.y, pos.cx, show ? pos.cy : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListViewModel::MeasureRows() {
  HWND parent = ::GetParent(hwnd());
  if (parent == nullptr) return;
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_LISTVIEW;
  mis.CtlID = static_cast<UINT>(ControlId());
  mis.itemHeight = static_cast<UINT>(FontItemHeight(hwnd()) + kListRowPadding);
  ::SendMessage(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  m_rowHeight = std::clamp(static_cast<int>(mis.itemHeight), 1, 32767);
  m_measured = true;
  SetTop(m_top);
}

void ListViewModel::FontChanged() {
  if (m_header != nullptr) ::SendMessage(m_header, WM_SETFONT, ::SendMessage(hwnd(), WM_GETFONT, 0, 0), FALSE);
  if (!m_measured) m_rowHeight = FontItemHeight(hwnd()) + kListRowPadding;
  LayoutHeader();
  SetTop(m_top);
}

}  // namespace platform
