// Geometry of the report view: client, columns, rows, hit tests, the
// header's place and the row height (scrolling: list_view_scroll.cpp;
// painting: list_view_paint.cpp).
#include <algorithm>

#include "platform/user/list_box.h"
#include "platform/comctl/list_view_model.h"
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
