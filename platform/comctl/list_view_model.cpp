#include "platform/comctl/list_view_model.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <numeric>

#include "platform/gdi/device_context.h"
#include "platform/user/list_box.h"
#include "platform/gdi/text_metrics.h"
#include "platform/window/winapi.h"
#include "platform/window/window_paint.h"

namespace platform {
namespace {

// Longest text the list asks its parent for at once.
constexpr int kDispInfoText = 1024;

const bool kRegistered =
    RegisterControlModel(WC_LISTVIEW, CS_DBLCLKS, [](HWND h) { return std::make_unique<ListViewModel>(h); });

// At most size - 1 characters and a terminator; the characters copied. No
// buffer or no room (a negative size too) copies nothing.
LRESULT CopyOut(std::string_view text, LPSTR out, int size) {
  return CopyWindowText(text, static_cast<WPARAM>(std::max(size, 0)), reinterpret_cast<LPARAM>(out));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

ListViewModel::ListViewModel(HWND hwnd) : ControlModel(hwnd) { (void)kRegistered; }

ListViewModel::~ListViewModel() = default;

// ---- Items ---------------------------------------------------------------------

UINT ListViewModel::State(int index) const {
  if (!Valid(index)) return 0;
  UINT state = !OwnerData()          ? m_items[static_cast<size_t>(index)].state
               : m_odStates.empty() ? 0
                                    : m_odStates[static_cast<size_t>(index)];
  if (index == m_focus) state |= LVIS_FOCUSED;
  return state;
}

void ListViewModel::StoreState(int index, UINT state) {
  if (!Valid(index)) return;
  if (state & LVIS_FOCUSED) {
    m_focus = index;
  } else if (m_focus == index) {
    m_focus = -1;
  }
  state &= ~LVIS_FOCUSED;
  if (OwnerData()) {
    if (m_odStates.empty()) {
      if (state == 0) return;
      m_odStates.assign(static_cast<size_t>(m_odCount), 0);  // the first state kept
    }
    UINT& stored = m_odStates[static_cast<size_t>(index)];
    if (stored == 0 && state != 0) {
      ++m_odMarked;
    } else if (stored != 0 && state == 0) {
      --m_odMarked;
    }
    stored = state;
  } else {
    m_items[static_cast<size_t>(index)].state = state;
  }
}

void ListViewModel::AskDisplayInfo(LVITEM& item) {
  NMLVDISPINFO info;
  info.hdr.code = LVN_GETDISPINFO;
  info.item = item;
  NotifyParentWith(info.hdr);
  // The parent may point pszText at its own text instead of filling the buffer.
  if ((item.mask & LVIF_TEXT) && info.item.pszText != item.pszText && item.pszText != nullptr) {
    CopyOut(info.item.pszText != nullptr && info.item.pszText != LPSTR_TEXTCALLBACK ? info.item.pszText : "",
            item.pszText, item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = info.item.iImage;
  if (item.mask & LVIF_PARAM) item.lParam = info.item.lParam;
  if (item.mask & LVIF_INDENT) item.iIndent = info.item.iIndent;
}

UINT ListViewModel::StateWithCallbacks(int index, UINT mask) const {
  UINT asked = mask & m_callbackMask;
  if (OwnerData() && (m_exStyle & LVS_EX_CHECKBOXES)) asked |= mask & LVIS_STATEIMAGEMASK;
  const UINT stored = State(index) & mask & ~asked;
  if (asked == 0 || !Valid(index)) return stored;
  NMLVDISPINFO info;
  info.hdr.code = LVN_GETDISPINFO;
  info.item.mask = LVIF_STATE;
  info.item.iItem = index;
  info.item.stateMask = asked;
  info.item.lParam = ParamOf(index);
  NotifyParentWith(info.hdr);
  return stored | (info.item.state & asked);
}

LPARAM ListViewModel::ParamOf(int index) const {
  if (!Valid(index)) return 0;
  return OwnerData() ? 0 : m_items[static_cast<size_t>(index)].lParam;
}

std::string ListViewModel::CellText(int index, int subItem) {
  if (!Valid(index) || subItem < 0 || subItem >= std::max(1, ColumnCount())) return {};
  if (!OwnerData()) {
    const Item& item = m_items[static_cast<size_t>(index)];
    if (static_cast<size_t>(subItem) >= item.cells.size()) return {};
    const Cell& cell = item.cells[static_cast<size_t>(subItem)];
    if (!cell.callback) return cell.text;
  }
  std::string buffer(kDispInfoText, '\0');
  LVITEM ask;
  ask.mask = LVIF_TEXT;
  ask.iItem = index;
  ask.iSubItem = subItem;
  ask.pszText = buffer.data();
  ask.cchTextMax = kDispInfoText;
  ask.lParam = ParamOf(index);
  AskDisplayInfo(ask);
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

int ListViewModel::SortedPosition(const std::string& text) {
  const bool descending = (Style() & LVS_SORTDESCENDING) != 0;
  int position = 0;
  while (position < Count()) {
    const int order = CompareItemText(CellText(position, 0), text);
    if (descending ? order < 0 : order > 0) break;
    ++position;
  }
  return position;
}

LRESULT ListViewModel::InsertItem(const LVITEM* item) {
  if (item == nullptr || item->iSubItem != 0 || item->iItem < 0) return -1;
  if (OwnerData()) {
    // An owner-data list keeps no item, only the states of its indexes: from
    // the new index on they move one down. While no index holds a state (as
    // while a long list fills) the new one is simply added at the end.
    const int index = std::min(item->iItem, Count());
    if (m_odMarked == 0) {
      m_odStates = {};  // every state 0 again: none kept
    } else {
      m_odStates.insert(m_odStates.begin() + index, 0);
    }
    ++m_odCount;
    if (m_focus >= index) ++m_focus;
    if (m_mark >= index) ++m_mark;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return index;
  }
  Item fresh;
  fresh.cells.resize(static_cast<size_t>(std::max(1, ColumnCount())));
  if (item->mask & LVIF_TEXT) {
    fresh.cells[0].callback = item->pszText == LPSTR_TEXTCALLBACK;
    if (!fresh.cells[0].callback && item->pszText != nullptr) fresh.cells[0].text = item->pszText;
  }
  if (item->mask & LVIF_IMAGE) fresh.image = item->iImage;
  if (item->mask & LVIF_PARAM) fresh.lParam = item->lParam;
  if (item->mask & LVIF_INDENT) fresh.indent = item->iIndent;
  UINT state = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
  if ((m_exStyle & LVS_EX_CHECKBOXES) && !(state & LVIS_STATEIMAGEMASK)) state |= INDEXTOSTATEIMAGEMASK(1);
  fresh.state = state & ~LVIS_FOCUSED;

  int index = std::min(item->iItem, Count());
  if ((Style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !fresh.cells[0].callback) {
    index = SortedPosition(fresh.cells[0].text);
  }
  m_items.insert(m_items.begin() + index, std::move(fresh));
  if (m_focus >= index) ++m_focus;
  if (m_mark >= index) ++m_mark;
  if (state & LVIS_FOCUSED) m_focus = index;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  NotifyItem(LVN_INSERTITEM, index, 0, 0, 0, m_items[static_cast<size_t>(index)].lParam);
  return index;
}

LRESULT ListViewModel::DeleteItem(int index) {
  if (!Valid(index)) return FALSE;
  if (!OwnerData()) {
    // The owner hears of the item while it is still in the list.
    NotifyItem(LVN_DELETEITEM, index, 0, 0, 0, ParamOf(index));
    if (!Valid(index)) return FALSE;
    m_items.erase(m_items.begin() + index);
  } else {
    if (!m_odStates.empty()) {
      if (m_odStates[static_cast<size_t>(index)] != 0) --m_odMarked;
      m_odStates.erase(m_odStates.begin() + index);
    }
    --m_odCount;
  }
  // The focus and the mark stay on the same index, now the next item's, or
  // go to the new last item; later ones move up with their items.
  const int count = Count();
  if (m_focus > index) {
    --m_focus;
  } else if (m_focus == index && m_focus >= count) {
    m_focus = count - 1;
  }
  if (m_mark > index) {
    --m_mark;
  } else if (m_mark == index && m_mark >= count) {
    m_mark = count - 1;
  }
  SetTop(m_top);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

LRESULT ListViewModel::DeleteAllItems() {
  const bool suppress = NotifyItem(LVN_DELETEALLITEMS, -1, 0, 0, 0, 0) != 0;
  if (!OwnerData()) {
    if (!suppress) {
      for (int i = Count() - 1; i >= 0; --i) {
        if (Valid(i)) NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, ParamOf(i));
      }
    }
    m_items.clear();
  } else {
    m_odStates.clear();
    m_odMarked = 0;
    m_odCount = 0;
  }
  m_focus = m_mark = -1;
  m_top = 0;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

LRESULT ListViewModel::GetItem(LVITEM* item) {
  if (item == nullptr || !Valid(item->iItem)) return FALSE;
  if (item->iSubItem < 0 || item->iSubItem >= std::max(1, ColumnCount())) return FALSE;
  const int index = item->iItem;
  if (item->mask & LVIF_STATE) item->state = StateWithCallbacks(index, item->stateMask);
  if (OwnerData()) {
    LVITEM ask = *item;
    ask.mask &= LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT;
    if (ask.mask != 0) AskDisplayInfo(ask);
    item->iImage = ask.iImage;
    item->lParam = ask.lParam;
    item->iIndent = ask.iIndent;
    return TRUE;
  }
  const Item& source = m_items[static_cast<size_t>(index)];
  if (item->mask & LVIF_TEXT) CopyOut(CellText(index, item->iSubItem), item->pszText, item->cchTextMax);
  if (item->mask & LVIF_IMAGE) {
    item->iImage = item->iSubItem == 0 ? source.image : source.cells[static_cast<size_t>(item->iSubItem)].image;
  }
  if (item->mask & LVIF_PARAM) item->lParam = source.lParam;
  if (item->mask & LVIF_INDENT) item->iIndent = source.indent;
  return TRUE;
}

LRESULT ListViewModel::SetItem(const LVITEM* item) {
  if (item == nullptr || !Valid(item->iItem)) return FALSE;
  if (item->iSubItem < 0 || item->iSubItem >= std::max(1, ColumnCount())) return FALSE;
  const int index = item->iItem;
  if (OwnerData()) {
    // Only states live in an owner-data list.
    return (item->mask & LVIF_STATE) ? SetItemState(index, item) : FALSE;
  }
  if (item->iSubItem > 0) {
    Cell& cell = m_items[static_cast<size_t>(index)].cells[static_cast<size_t>(item->iSubItem)];
    if (item->mask & LVIF_TEXT) {
      cell.callback = item->pszText == LPSTR_TEXTCALLBACK;
      cell.text = !cell.callback && item->pszText != nullptr ? item->pszText : "";
    }
    if (item->mask & LVIF_IMAGE) cell.image = item->iImage;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return TRUE;
  }
  // The main item: data, image and text changes are announced as one change.
  Item& target = m_items[static_cast<size_t>(index)];
  UINT changed = 0;
  const bool callback = (item->mask & LVIF_TEXT) && item->pszText == LPSTR_TEXTCALLBACK;
  const std::string text = (item->mask & LVIF_TEXT) && !callback && item->pszText != nullptr ? item->pszText : "";
  if ((item->mask & LVIF_TEXT) && (callback != target.cells[0].callback || text != target.cells[0].text))
    changed |= LVIF_TEXT;
  if ((item->mask & LVIF_IMAGE) && item->iImage != target.image) changed |= LVIF_IMAGE;
  if ((item->mask & LVIF_PARAM) && item->lParam != target.lParam) changed |= LVIF_PARAM;
  if (item->mask & LVIF_INDENT) target.indent = item->iIndent;
  if (changed != 0) {
    const UINT state = State(index);
    if (NotifyItem(LVN_ITEMCHANGING, index, changed, state, state, target.lParam) != 0) return FALSE;
    if (!Valid(index)) return FALSE;
    Item& now = m_items[static_cast<size_t>(index)];
    if (changed & LVIF_TEXT) {
      now.cells[0].callback = callback;
      now.cells[0].text = text;
    }
    if (changed & LVIF_IMAGE) now.image = item->iImage;
    if (changed & LVIF_PARAM) now.lParam = item->lParam;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    NotifyItem(LVN_ITEMCHANGED, index, changed, state, state, now.lParam);
  }
  if (item->mask & LVIF_STATE) return SetItemState(index, item);
  return TRUE;
}

LRESULT ListViewModel::SetItemText(int index, const LVITEM* item) {
  if (item == nullptr) return FALSE;
  LVITEM change;
  change.mask = LVIF_TEXT;
  change.iItem = index;
  change.iSubItem = item->iSubItem;
  change.pszText = item->pszText;
  return SetItem(&change);
}

LRESULT ListViewModel::GetItemText(int index, LVITEM* item) {
  if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0) return 0;
  item->pszText[0] = '\0';
  if (!Valid(index) || item->iSubItem < 0 || item->iSubItem >= std::max(1, ColumnCount())) return 0;
  return CopyOut(CellText(index, item->iSubItem), item->pszText, item->cchTextMax);
}

LRESULT ListViewModel::SetItemCount(int count, LPARAM flags) {
  if (count < 0) return FALSE;
  if (!OwnerData()) {
    m_items.reserve(static_cast<size_t>(count));
    return TRUE;
  }
  m_odCount = count;
  if (!m_odStates.empty()) {
    for (size_t i = static_cast<size_t>(count); i < m_odStates.size(); ++i) {
      if (m_odStates[i] != 0) --m_odMarked;
    }
    m_odStates.resize(static_cast<size_t>(count), 0);
  }
  if (m_focus >= count) m_focus = -1;
  if (m_mark >= count) m_mark = -1;
  if (!(flags & LVSICF_NOSCROLL)) SetTop(m_top);
  if (!(flags & LVSICF_NOINVALIDATEALL)) ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

LRESULT ListViewModel::FindItem(int start, const LVFINDINFO* info) {
  if (info == nullptr || Count() == 0) return -1;
  if (OwnerData()) {
    NMLVFINDITEM find;
    find.hdr.code = LVN_ODFINDITEM;
    find.iStart = start;
    find.lvfi = *info;
    const LRESULT found = NotifyParentWith(find.hdr);
    return Valid(static_cast<int>(found)) ? found : -1;
  }
  // The search begins after `start` (-1: at the first item) and, with
  // LVFI_WRAP, goes round to the beginning.
  const int count = Count();
  const int first = start < 0 ? 0 : start + 1;
  const int steps = (info->flags & LVFI_WRAP) ? count : std::max(0, count - first);
  for (int n = 0; n < steps; ++n) {
    const int index = (first + n) % count;
    if (info->flags & LVFI_PARAM) {
      if (m_items[static_cast<size_t>(index)].lParam == info->lParam) return index;
      continue;
    }
    if (!(info->flags & (LVFI_STRING | LVFI_PARTIAL | LVFI_SUBSTRING)) || info->psz == nullptr) continue;
    const std::string text = CellText(index, 0);
    const std::string_view wanted(info->psz);
    const bool partial = (info->flags & (LVFI_PARTIAL | LVFI_SUBSTRING)) != 0;
    if (partial ? text.size() >= wanted.size() && EqualNoCase(std::string_view(text).substr(0, wanted.size()), wanted)
                : EqualNoCase(text, wanted)) {
      return index;
    }
  }
  return -1;
}

LRESULT ListViewModel::Sort(WPARAM lParamSort, PFNLVCOMPARE compare, bool byIndex) {
  if (compare == nullptr || OwnerData()) return FALSE;
  // The comparison reads the list as it was (by index or by data), so the
  // items move only once the order is known.
  std::vector<int> order(m_items.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<LPARAM> params;
  params.reserve(m_items.size());
  for (const Item& item : m_items) params.push_back(item.lParam);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const LPARAM x = byIndex ? a : params[static_cast<size_t>(a)];
    const LPARAM y = byIndex ? b : params[static_cast<size_t>(b)];
    return compare(x, y, static_cast<LPARAM>(lParamSort)) < 0;
  });
  if (order.size() != m_items.size()) return FALSE;  // the callback changed the list
  std::vector<Item> sorted;
  sorted.reserve(m_items.size());
  int focus = -1;
  int mark = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    const int from = order[i];
    if (from == m_focus) focus = static_cast<int>(i);
    if (from == m_mark) mark = static_cast<int>(i);
    sorted.push_back(std::move(m_items[static_cast<size_t>(from)]));
  }
  m_items = std::move(sorted);
  m_focus = focus;
  m_mark = mark;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

// ---- The procedure ------------------------------------------------------------------------

LRESULT ListViewModel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case WM_CREATE:
      m_rowHeight = FontItemHeight(hwnd()) + kListRowPadding;
      CreateHeader();
      break;
    case WM_SIZE:
      LayoutHeader();
      SetTop(m_top);
      break;
    case WM_SETFONT:
      ::DefWindowProc(hwnd(), message, wParam, lParam);
      FontChanged();
      if (LOWORD(static_cast<uintptr_t>(lParam)) != 0) ::InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      if (Style() & LVS_OWNERDRAWFIXED) MeasureRows();
      // A new frame may come with a header of another height (its filter
      // bar shown or hidden): it is laid out again.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos != nullptr && (pos->flags & SWP_FRAMECHANGED)) LayoutHeader();
      break;
    }
    case WM_STYLECHANGED:
      if (m_header != nullptr) {
        const bool show = !(Style() & LVS_NOCOLUMNHEADER) && (Style() & LVS_TYPEMASK) == LVS_REPORT;
        ::ShowWindow(m_header, show ? SW_SHOWNA : SW_HIDE);
        LayoutHeader();
      }
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header != nullptr && header->hwndFrom == m_header && m_header != nullptr) return OnHeaderNotify(header);
      break;
    }

    case LVM_GETBKCOLOR: return static_cast<LRESULT>(m_bkColor);
    case LVM_SETBKCOLOR:
      m_bkColor = static_cast<COLORREF>(lParam);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return TRUE;
    case LVM_GETTEXTCOLOR: return static_cast<LRESULT>(m_textColor);
    case LVM_SETTEXTCOLOR: m_textColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETTEXTBKCOLOR: return static_cast<LRESULT>(m_textBkColor);
    case LVM_SETTEXTBKCOLOR: m_textBkColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETIMAGELIST: return index >= 0 && index < 3 ? reinterpret_cast<LRESULT>(m_images[index]) : 0;
    case LVM_SETIMAGELIST: {
      if (index < 0 || index >= 3) return 0;
      HIMAGELIST old = m_images[index];
      m_images[index] = reinterpret_cast<HIMAGELIST>(lParam);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETCALLBACKMASK: return m_callbackMask;
    case LVM_SETCALLBACKMASK: m_callbackMask = static_cast<UINT>(wParam); return TRUE;

    case LVM_GETITEMCOUNT: return Count();
    case LVM_SETITEMCOUNT: return SetItemCount(index, lParam);
    case LVM_INSERTITEM: return InsertItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_DELETEITEM: return DeleteItem(index);
    case LVM_DELETEALLITEMS: return DeleteAllItems();
    case LVM_GETITEM: return GetItem(reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEM: return SetItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_SETITEMTEXT: return SetItemText(index, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEMTEXT: return GetItemText(index, reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEMSTATE: return SetItemState(index, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEMSTATE: return static_cast<LRESULT>(StateWithCallbacks(index, static_cast<UINT>(lParam)));
    case LVM_GETSELECTEDCOUNT: return SelectedCount();
    case LVM_GETNEXTITEM: return NextItem(index, static_cast<UINT>(lParam));
    case LVM_FINDITEM: return FindItem(index, reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_GETSELECTIONMARK: return m_mark;
    case LVM_SETSELECTIONMARK: {
      const int old = m_mark;
      m_mark = Valid(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
      return old;
    }
    case LVM_SORTITEMS: return Sort(wParam, reinterpret_cast<PFNLVCOMPARE>(lParam), false);
    case LVM_SORTITEMSEX: return Sort(wParam, reinterpret_cast<PFNLVCOMPARE>(lParam), true);
    case LVM_GETSTRINGWIDTH: {
      const FontSpec* fontSpec = FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(hwnd(), WM_GETFONT, 0, 0)));
      const char* text = reinterpret_cast<const char*>(lParam);
      return text != nullptr ? TextWidth(fontSpec != nullptr ? *fontSpec : FontSpec{}, text) : 0;
    }

    case LVM_INSERTCOLUMN: return InsertColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN: return DeleteColumn(index);
    case LVM_GETCOLUMN: return GetColumn(index, reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMN: return SetColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_GETCOLUMNWIDTH: return ColumnWidth(index);
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(index, static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam))));
    case LVM_GETCOLUMNORDERARRAY: return ::SendMessage(m_header, HDM_GETORDERARRAY, wParam, lParam);
    case LVM_SETCOLUMNORDERARRAY: {
      const LRESULT ok = ::SendMessage(m_header, HDM_SETORDERARRAY, wParam, lParam);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return ok;
    }
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(m_header);
    case LVM_CREATEDRAGIMAGE: return CreateDragImage(index, reinterpret_cast<POINT*>(lParam));
    case LVM_SETEXTENDEDLISTVIEWSTYLE: return SetExtendedStyle(static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return static_cast<LRESULT>(m_exStyle);

    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect != nullptr && ItemRect(index, rect->left, *rect) ? TRUE : FALSE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect != nullptr && SubItemRect(index, rect->top, rect->left, *rect) ? TRUE : FALSE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      return info != nullptr ? HitTest(*info, message == LVM_SUBITEMHITTEST) : -1;
    }
    case LVM_GETTOPINDEX: return Count() > 0 ? m_top : 0;
    case LVM_GETCOUNTPERPAGE: return PerPage();
    case LVM_ENSUREVISIBLE:
      if (!Valid(index)) return FALSE;
      EnsureVisible(index, lParam != 0);
      return TRUE;
    case LVM_SCROLL: Scroll(static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam)); return TRUE;
    case LVM_GETORIGIN: {
      auto* point = reinterpret_cast<POINT*>(lParam);
      if (point == nullptr) return FALSE;
      *point = POINT{m_scrollX, 0};
      return TRUE;
    }
    case LVM_REDRAWITEMS:
    case LVM_UPDATE: ::InvalidateRect(hwnd(), nullptr, TRUE); return TRUE;

    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // Selected rows are drawn differently with and without the focus.
      m_hasFocus = message == WM_SETFOCUS;
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      NMHDR nm;
      nm.code = m_hasFocus ? NM_SETFOCUS : NM_KILLFOCUS;
      NotifyParentWith(nm);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      OnButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                   message == WM_RBUTTONDOWN);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
      m_pressed = false;
      NotifyActivate(NM_DBLCLK, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP: OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) m_dragItem = -1;
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: OnScroll(message == WM_VSCROLL, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_RBUTTONUP:
      NotifyActivate(NM_RCLICK, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;  // then a context menu, as every window
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (OnWheel(message == WM_MOUSEHWHEEL, wParam)) return 0;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = ::BeginPaint(hwnd(), &ps);
      if (m_exStyle & LVS_EX_DOUBLEBUFFER) {
        PaintBuffered(dc);
      } else {
        Paint(dc);
      }
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY: DeleteAllItems(); break;
    default: break;
  }
  return ::DefWindowProc(hwnd(), message, wParam, lParam);
}

}  // namespace platform
