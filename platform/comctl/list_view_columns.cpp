// Columns: the header's items, with the list's cells kept by column index,
// and what the list does with its header's notifications.
#include <algorithm>
#include <vector>

#include "platform/comctl/list_view_model.h"
#include "platform/gdi/text_metrics.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

int HeaderFormat(int lvFormat) {
  int fmt = HDF_STRING | (lvFormat & LVCFMT_JUSTIFYMASK);
  if (lvFormat & LVCFMT_IMAGE) fmt |= HDF_IMAGE;
  if (lvFormat & LVCFMT_BITMAP_ON_RIGHT) fmt |= HDF_BITMAP_ON_RIGHT;
  return fmt;
}

// The header item of a column description: what its mask names, and for
// a new column always a format.
HDITEM HeaderItemOf(const LVCOLUMN& column) {
  HDITEM item;
  if (column.mask & LVCF_FMT) {
    item.mask |= HDI_FORMAT;
    item.fmt = HeaderFormat(column.fmt);
  }
  if (column.mask & LVCF_WIDTH) {
    item.mask |= HDI_WIDTH;
    item.cxy = column.cx;
  }
  if (column.mask & LVCF_TEXT) {
    item.mask |= HDI_TEXT;
    item.pszText = column.pszText;
  }
  if (column.mask & LVCF_IMAGE) {
    item.mask |= HDI_IMAGE;
    item.iImage = column.iImage;
  }
  if (column.mask & LVCF_ORDER) {
    item.mask |= HDI_ORDER;
    item.iOrder = column.iOrder;
  }
  return item;
}

int ListFormat(int hdFormat) {
  int fmt = hdFormat & HDF_JUSTIFYMASK;
  if (hdFormat & HDF_IMAGE) fmt |= LVCFMT_IMAGE;
  if (hdFormat & HDF_BITMAP_ON_RIGHT) fmt |= LVCFMT_BITMAP_ON_RIGHT;
  return fmt;
}

}  // namespace

// ---- Columns ---------------------------------------------------------------------

void ListViewModel::CreateHeader() {
  DWORD style = WS_CHILD | HDS_HORZ | HDS_BUTTONS;
  if (!(Style() & LVS_NOCOLUMNHEADER) && (Style() & LVS_TYPEMASK) == LVS_REPORT) style |= WS_VISIBLE;
  if (m_exStyle & LVS_EX_HEADERDRAGDROP) style |= HDS_DRAGDROP;
  m_header = ::CreateWindowEx(0, WC_HEADER, nullptr, style, 0, 0, ClientWidth(), 0, hwnd(), nullptr, nullptr, nullptr);
  ::SendMessage(m_header, WM_SETFONT, ::SendMessage(hwnd(), WM_GETFONT, 0, 0), FALSE);
  LayoutHeader();
}

LRESULT ListViewModel::InsertColumn(int index, const LVCOLUMN* column) {
  if (column == nullptr || index < 0 || m_header == nullptr) return -1;
  index = std::min(index, ColumnCount());
  HDITEM item = HeaderItemOf(*column);
  if (!(item.mask & HDI_FORMAT)) {
    item.mask |= HDI_FORMAT;
    item.fmt = HeaderFormat(LVCFMT_LEFT);
  }
  const LRESULT at =
      ::SendMessage(m_header, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  if (at < 0) return -1;
  index = static_cast<int>(at);
  m_columns.insert(m_columns.begin() + index, (column->mask & LVCF_SUBITEM) ? column->iSubItem : index);
  // The first column shares the main item's cell; later ones add one each.
  if (ColumnCount() > 1) {
    for (Item& row : m_items) row.cells.insert(row.cells.begin() + std::min<size_t>(index, row.cells.size()), Cell{});
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return index;
}

LRESULT ListViewModel::DeleteColumn(int index) {
  if (index < 0 || index >= ColumnCount()) return FALSE;
  ::SendMessage(m_header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
  m_columns.erase(m_columns.begin() + index);
  // Every row holds one cell per column (at least one), so `index` names one
  // of its cells; the last column's cell is kept, emptied.
  for (Item& row : m_items) {
    if (row.cells.size() > 1) {
      row.cells.erase(row.cells.begin() + index);
    } else {
      row.cells[0] = Cell{};
    }
  }
  SetTop(m_top);
  Scroll(0, 0);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

LRESULT ListViewModel::GetColumn(int index, LVCOLUMN* column) const {
  if (column == nullptr || index < 0 || index >= ColumnCount()) return FALSE;
  HDITEM item;
  item.mask = HDI_FORMAT | HDI_WIDTH | HDI_ORDER | HDI_IMAGE;
  if (column->mask & LVCF_TEXT) {
    item.mask |= HDI_TEXT;
    item.pszText = column->pszText;
    item.cchTextMax = column->cchTextMax;
  }
  ::SendMessage(m_header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  if (column->mask & LVCF_FMT) column->fmt = ListFormat(item.fmt);
  if (column->mask & LVCF_WIDTH) column->cx = item.cxy;
  if (column->mask & LVCF_SUBITEM) column->iSubItem = m_columns[static_cast<size_t>(index)];
  if (column->mask & LVCF_IMAGE) column->iImage = item.iImage;
  if (column->mask & LVCF_ORDER) column->iOrder = item.iOrder;
  return TRUE;
}

LRESULT ListViewModel::SetColumn(int index, const LVCOLUMN* column) {
  if (column == nullptr || index < 0 || index >= ColumnCount()) return FALSE;
  HDITEM item = HeaderItemOf(*column);
  if (column->mask & LVCF_SUBITEM) m_columns[static_cast<size_t>(index)] = column->iSubItem;
  if (item.mask == 0) return TRUE;
  return ::SendMessage(m_header, HDM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int ListViewModel::ColumnWidth(int index) const {
  HDITEM item;
  item.mask = HDI_WIDTH;
  item.cxy = 0;  // left so by the header for a column it does not have
  ::SendMessage(m_header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return item.cxy;
}

int ListViewModel::ContentWidth(int column) {
  const FontSpec* fontSpec = FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(hwnd(), WM_GETFONT, 0, 0)));
  const FontSpec font = fontSpec != nullptr ? *fontSpec : FontSpec{};
  int widest = 0;
  for (int i = 0; i < Count(); ++i) widest = std::max(widest, TextWidth(font, CellText(i, column)));
  int width = widest + 2 * kListLabelMargin;
  if (column == 0) {
    if (m_exStyle & LVS_EX_CHECKBOXES) width += kListStateIconWidth;
    if (m_images[LVSIL_SMALL] != nullptr) width += kListSmallIconWidth;
  }
  return width;
}

// A column the list does not have is refused by its header.
LRESULT ListViewModel::SetColumnWidth(int index, int width) {
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    const int data = ContentWidth(index);
    if (width == LVSCW_AUTOSIZE) {
      width = data;
    } else {
      const FontSpec* fontSpec = FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(m_header, WM_GETFONT, 0, 0)));
      char text[260] = "";
      HDITEM item;
      item.mask = HDI_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ::SendMessage(m_header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      width = std::max(data, TextWidth(fontSpec != nullptr ? *fontSpec : FontSpec{}, text) + 2 * kHeaderTextMargin);
      // The last column in display order also fills what is left of the client area.
      const std::vector<int> order = ColumnOrder();
      if (!order.empty() && order.back() == index) {
        const RECT r = ColumnRect(index);
        width = std::max(width, ClientWidth() - static_cast<int>(r.left));
      }
    }
  }
  HDITEM item;
  item.mask = HDI_WIDTH;
  item.cxy = std::max(0, width);
  return ::SendMessage(m_header, HDM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

LRESULT ListViewModel::SetExtendedStyle(DWORD mask, DWORD style) {
  const DWORD old = m_exStyle;
  if (mask == 0) mask = 0xFFFFFFFF;
  m_exStyle = (old & ~mask) | (style & mask);
  const DWORD changed = old ^ m_exStyle;
  if ((changed & LVS_EX_CHECKBOXES) && !OwnerData()) {
    // Check boxes are state images 1 (clear) and 2 (checked).
    for (Item& item : m_items) {
      if (m_exStyle & LVS_EX_CHECKBOXES) {
        if (!(item.state & LVIS_STATEIMAGEMASK)) item.state |= INDEXTOSTATEIMAGEMASK(1);
      } else {
        item.state &= ~LVIS_STATEIMAGEMASK;
      }
    }
  }
  if ((changed & LVS_EX_HEADERDRAGDROP) && m_header != nullptr) {
    const LONG headerStyle = ::GetWindowLong(m_header, GWL_STYLE);
    ::SetWindowLong(m_header, GWL_STYLE,
                    (m_exStyle & LVS_EX_HEADERDRAGDROP) ? (headerStyle | static_cast<LONG>(HDS_DRAGDROP))
                                                        : (headerStyle & ~static_cast<LONG>(HDS_DRAGDROP)));
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return static_cast<LRESULT>(old);
}

LRESULT ListViewModel::OnHeaderNotify(NMHDR* header) {
  // The list's parent hears its header's own notifications first, in the
  // header's name (id 0), and may refuse what can be refused.
  const bool headerCode = header->code <= HDN_FIRST && header->code >= HDN_FIRST - 99;
  if (header->code == HDN_BEGINDRAG && !(m_exStyle & LVS_EX_HEADERDRAGDROP)) return TRUE;  // columns stay put
  LRESULT answer = 0;
  if (headerCode) {
    if (HWND parent = ::GetParent(hwnd()); parent != nullptr) {
      answer = ::SendMessage(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    }
    if (!::IsWindow(hwnd())) return answer;
  }
  switch (header->code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
      if (!(Style() & LVS_NOSORTHEADER)) {
        NMLISTVIEW nm;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = reinterpret_cast<NMHEADER*>(header)->iItem;
        NotifyParentWith(nm.hdr);
      }
      break;
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      // A double click on a divider fits the column to its widest cell.
      SetColumnWidth(reinterpret_cast<NMHEADER*>(header)->iItem, LVSCW_AUTOSIZE);
      break;
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW:
    case HDN_ENDDRAG:
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      Scroll(0, 0);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    default: break;
  }
  return answer;
}

}  // namespace platform
