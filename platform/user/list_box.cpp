#include "platform/user/list_box.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

#include "platform/gdi/device_context.h"
#include "platform/window/keyboard.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/message_queue.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_metrics.h"
#include "platform/user/wheel_scroll.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

// Characters typed within this many milliseconds of each other extend one
// incremental search; a longer pause starts a new one.
constexpr uint64_t kTypeAheadMs = 1000;
// Owner-measured heights are kept within what a 16-bit item height holds.
constexpr UINT kMaxItemHeight = 32767;

int CharRank(unsigned char c) {
  if (c >= 0x80) return 3;
  if (std::isalpha(c)) return 2;
  if (std::isdigit(c)) return 1;
  return 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

const bool kRegistered =
    RegisterControlModel("LISTBOX", CS_DBLCLKS, [](HWND h) { return std::make_unique<ListBoxModel>(h); }) &&
    RegisterControlModel("ComboLBox", CS_DBLCLKS, [](HWND h) { return std::make_unique<ListBoxModel>(h); });

}  // namespace

int FontItemHeight(HWND hwnd) {
  const FontSpec* fontSpec = FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(hwnd, WM_GETFONT, 0, 0)));
  return std::max(1, MeasureFont(fontSpec != nullptr ? *fontSpec : FontSpec{}).height);
}

int CompareItemText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    const int ra = CharRank(ca);
    const int rb = CharRank(cb);
    if (ra != rb) return ra < rb ? -1 : 1;
    const int la = std::tolower(ca);
    const int lb = std::tolower(cb);
    if (la != lb) return la < lb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

ListBoxModel::ListBoxModel(HWND hwnd) : ControlModel(hwnd) { (void)kRegistered; }

ListBoxModel::~ListBoxModel() = default;

// ---- Styles and targets ------------------------------------------------------

bool ListBoxModel::OwnerDraw() const { return (Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }

bool ListBoxModel::Variable() const { return (Style() & LBS_OWNERDRAWVARIABLE) != 0; }

bool ListBoxModel::HasStrings() const { return !OwnerDraw() || (Style() & LBS_HASSTRINGS) != 0; }

ListBoxModel::SelMode ListBoxModel::Mode() const {
  const DWORD style = Style();
  if (style & LBS_NOSEL) return SelMode::None;
  if (style & LBS_EXTENDEDSEL) return SelMode::Extended;
  if (style & LBS_MULTIPLESEL) return SelMode::Multiple;
  return SelMode::Single;
}

ListBoxModel::DrawTarget ListBoxModel::Target() const {
  if (InCombo()) return {::GetParent(m_combo), ODT_COMBOBOX, static_cast<UINT>(::GetDlgCtrlID(m_combo)), m_combo};
  return {::GetParent(hwnd()), ODT_LISTBOX, static_cast<UINT>(ControlId()), hwnd()};
}

void ListBoxModel::Notify(UINT code) const {
  if (!(Style() & LBS_NOTIFY)) return;
  if (!InCombo()) {
    NotifyParent(code);
    return;
  }
  ::SendMessage(m_combo, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ControlId()), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(hwnd()));
}

// ---- Items ---------------------------------------------------------------------

LRESULT ListBoxModel::Insert(int index, LPARAM value, bool sorted) {
  if (sorted && (Style() & LBS_SORT)) {
    index = SortedPosition(value);
  } else if (index < 0) {
    index = Count();
  } else if (index > Count()) {
    return LB_ERR;
  }
  try {
    auto item = std::make_unique<Item>();
    if (HasStrings()) {
      if (value != 0) item->text = reinterpret_cast<const char*>(value);
    } else {
      item->data = static_cast<ULONG_PTR>(value);
    }
    item->height = m_itemHeight;
    m_items.insert(m_items.begin() + index, std::move(item));
  } catch (const std::bad_alloc&) {
    Notify(LBN_ERRSPACE);
    return LB_ERRSPACE;
  }
  if (Count() > 1) {
    if (index <= m_caret) ++m_caret;
    if (index <= m_anchor) ++m_anchor;
  }
  if (Variable()) Measure(index, value);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return index;
}

int ListBoxModel::SortedPosition(LPARAM value) {
  // Lower bound: a new item goes before the items that compare equal to it.
  int lo = 0;
  int hi = Count();
  const std::string_view text = HasStrings() && value != 0 ? reinterpret_cast<const char*>(value) : "";
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    int order = 0;
    if (HasStrings()) {
      order = CompareItemText(At(mid).text, text);
    } else {
      const DrawTarget t = Target();
      COMPAREITEMSTRUCT cis;
      cis.CtlType = t.ctlType;
      cis.CtlID = t.ctlId;
      cis.hwndItem = t.item;
      cis.itemID1 = static_cast<UINT>(mid);
      cis.itemData1 = At(mid).data;
      cis.itemID2 = static_cast<UINT>(-1);
      cis.itemData2 = static_cast<ULONG_PTR>(value);
      order = static_cast<int>(::SendMessage(t.window, WM_COMPAREITEM, t.ctlId, reinterpret_cast<LPARAM>(&cis)));
      hi = std::min(hi, Count());  // the owner may have changed the list meanwhile
    }
    if (order < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return std::min(lo, Count());
}

void ListBoxModel::Measure(int index, LPARAM value) {
  const DrawTarget t = Target();
  if (t.window == nullptr) return;
  MEASUREITEMSTRUCT mis;
  mis.CtlType = t.ctlType;
  mis.CtlID = t.ctlId;
  mis.itemID = static_cast<UINT>(index);
  mis.itemWidth = static_cast<UINT>(std::max(0, ClientWidth()));
  mis.itemHeight = static_cast<UINT>(m_itemHeight);
  mis.itemData = HasStrings() ? static_cast<ULONG_PTR>(value) : (Valid(index) ? At(index).data : 0);
  ::SendMessage(t.window, WM_MEASUREITEM, t.ctlId, reinterpret_cast<LPARAM>(&mis));
  const int height = static_cast<int>(std::clamp<UINT>(mis.itemHeight, 1, kMaxItemHeight));
  if (index < 0) return;
  if (Variable()) {
    if (Valid(index)) At(index).height = height;
  } else {
    m_itemHeight = height;
  }
}

void ListBoxModel::AnnounceDeletion(int index, ULONG_PTR data) const {
  if (!OwnerDraw() && data == 0) return;
  const DrawTarget t = Target();
  if (t.window == nullptr || !::IsWindow(t.window)) return;
  DELETEITEMSTRUCT dis;
  dis.CtlType = t.ctlType;
  dis.CtlID = t.ctlId;
  dis.itemID = static_cast<UINT>(index);
  dis.hwndItem = t.item;
  dis.itemData = data;
  ::SendMessage(t.window, WM_DELETEITEM, t.ctlId, reinterpret_cast<LPARAM>(&dis));
}

LRESULT ListBoxModel::Delete(int index) {
  if (!Valid(index)) return LB_ERR;
  // The owner hears of the item while it is still in the list.
  AnnounceDeletion(index, At(index).data);
  if (!Valid(index)) return Count();
  m_items.erase(m_items.begin() + index);
  const int last = std::max(0, Count() - 1);
  if (m_caret > index) --m_caret;
  if (m_anchor > index) --m_anchor;
  m_caret = std::min(m_caret, last);
  m_anchor = std::min(m_anchor, last);
  if (m_top > index) --m_top;
  SetTop(m_top);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return Count();
}

void ListBoxModel::Reset() {
  std::vector<ULONG_PTR> data;
  data.reserve(m_items.size());
  for (const auto& item : m_items) data.push_back(item->data);
  m_items.clear();
  m_caret = m_anchor = m_top = 0;
  for (size_t i = 0; i < data.size(); ++i) AnnounceDeletion(static_cast<int>(i), data[i]);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ListBoxModel::Find(int start, LPARAM value, bool exact) const {
  const int count = Count();
  if (count == 0) return LB_ERR;
  // The search begins after `start` and wraps round to it; -1 (or a start
  // past the end) searches from the first item.
  const int first = (start < 0 || start + 1 >= count) ? 0 : start + 1;
  if (!HasStrings()) {
    for (int i = 0; i < count; ++i) {
      const int index = (first + i) % count;
      if (At(index).data == static_cast<ULONG_PTR>(value)) return index;
    }
    return LB_ERR;
  }
  const char* text = reinterpret_cast<const char*>(value);
  if (text == nullptr || *text == '\0') return LB_ERR;
  const std::string_view wanted(text);
  for (int i = 0; i < count; ++i) {
    const int index = (first + i) % count;
    const std::string& item = At(index).text;
    const bool match =
        exact ? item.size() == wanted.size() && StartsWithNoCase(item, wanted) : StartsWithNoCase(item, wanted);
    if (match) return index;
  }
  return LB_ERR;
}

LRESULT ListBoxModel::CopyText(int index, LPARAM buffer) const {
  if (!Valid(index) || buffer == 0) return LB_ERR;
  auto* out = reinterpret_cast<char*>(buffer);
  if (!HasStrings()) {
    // Without strings the "text" is the item's data value.
    std::memcpy(out, &At(index).data, sizeof(ULONG_PTR));
    return sizeof(ULONG_PTR);
  }
  const std::string& text = At(index).text;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

LRESULT ListBoxModel::TextLength(int index) const {
  if (!Valid(index)) return LB_ERR;
  if (!HasStrings()) return sizeof(ULONG_PTR);
  return static_cast<LRESULT>(At(index).text.size());
}

// ---- Selection -------------------------------------------------------------------

int ListBoxModel::CurSel() const {
  for (int i = 0; i < Count(); ++i) {
    if (At(i).selected) return i;
  }
  return -1;
}

bool ListBoxModel::SelectOnly(int index) {
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    const bool on = i == index;
    if (At(i).selected != on) {
      At(i).selected = on;
      changed = true;
    }
  }
  if (changed) ::InvalidateRect(hwnd(), nullptr, TRUE);
  return changed;
}

void ListBoxModel::SelectRange(int first, int last, bool on) {
  if (Count() == 0) return;
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, Count() - 1);
  for (int i = first; i <= last; ++i) At(i).selected = on;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

int ListBoxModel::SelCount() const {
  return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const auto& i) { return i->selected; }));
}

// ---- Geometry ----------------------------------------------------------------------

int ListBoxModel::ClientWidth() const {
  RECT r;
  ::GetClientRect(hwnd(), &r);
  return r.right - r.left;
}

int ListBoxModel::ClientHeight() const {
  RECT r;
  ::GetClientRect(hwnd(), &r);
  return r.bottom - r.top;
}

int ListBoxModel::HeightOf(int index) const {
  if (Variable() && Valid(index)) return At(index).height;
  return m_itemHeight;
}

int ListBoxModel::PageSize() const {
  const int height = ClientHeight();
  if (!Variable()) return std::max(1, height / m_itemHeight);
  int used = 0;
  int n = 0;
  for (int i = m_top; i < Count(); ++i) {
    used += HeightOf(i);
    if (used > height) break;
    ++n;
  }
  return std::max(1, n);
}

void ListBoxModel::SetTop(int index) {
  // The last page stays full: the top never goes past the item that shows
  // the last item at the bottom.
  const int height = ClientHeight();
  int maxTop = Count();
  int used = 0;
  while (maxTop > 0 && used + HeightOf(maxTop - 1) <= height) used += HeightOf(--maxTop);
  maxTop = std::min(maxTop, std::max(0, Count() - 1));
  m_top = std::clamp(index, 0, maxTop);
}

void ListBoxModel::EnsureVisible(int index) {
  if (!Valid(index)) return;
  if (index < m_top) {
    SetTop(index);
    return;
  }
  const int height = ClientHeight();
  int top = m_top;
  auto bottomOf = [&](int from) {
    int y = 0;
    for (int i = from; i <= index; ++i) y += HeightOf(i);
    return y;
  };
  while (top < index && bottomOf(top) > height) ++top;
  SetTop(top);
}

void ListBoxModel::FitWholeItems() {
  // Unless told otherwise, a list shows no partial row: its height drops to
  // a whole number of items (variable heights have no such number).
  if (m_fitting || (Style() & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE))) return;
  const int excess = ClientHeight() % m_itemHeight;
  if (excess == 0 || ClientHeight() < m_itemHeight) return;
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  m_fitting = true;
  ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top - excess,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_fitting = false;
}

RECT ListBoxModel::ItemRect(int index) const {
  int y = 0;
  if (index >= m_top) {
    for (int i = m_top; i < index; ++i) y += HeightOf(i);
  } else {
    for (int i = index; i < m_top; ++i) y -= HeightOf(i);
  }
  int width = ClientWidth();
  if (Style() & WS_HSCROLL) width = std::max(width, m_horizontalExtent);
  return RECT{0, y, width, y + HeightOf(index)};
}

int ListBoxModel::ItemAt(POINT p) const {
  if (p.y < 0) return -1;
  int y = 0;
  for (int i = m_top; i < Count(); ++i) {
    y += HeightOf(i);
    if (p.y < y) return i;
  }
  return -1;
}

LRESULT ListBoxModel::ItemFromPoint(POINT p) const {
  // The high word says the point is not on the item returned: outside the
  // client area (the nearest item is given) or below the last item.
  if (Count() == 0) return 0x1FFFF;
  const int width = ClientWidth();
  const int height = ClientHeight();
  bool hit = true;
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) {
    p.x = std::clamp<LONG>(p.x, 0, std::max(0, width - 1));
    p.y = std::clamp<LONG>(p.y, 0, std::max(0, height - 1));
    hit = false;
  }
  int index = ItemAt(p);
  if (index < 0) {
    index = Count() - 1;
    hit = false;
  }
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(index), hit ? 0 : 1));
}

// ---- The user -----------------------------------------------------------------------

void ListBoxModel::OnButtonDown(WPARAM flags, POINT p) {
  // A click gives the focus to the list, or to its combo box (which passes
  // it on to its edit field): the list of a combo box never holds it.
  const HWND focus = ::GetFocus();
  if (!InCombo() && focus != hwnd()) {
    ::SetFocus(hwnd());
  } else if (InCombo() && focus != m_combo && ::GetParent(focus) != m_combo) {
    ::SetFocus(m_combo);
  }
  if (!::IsWindow(hwnd())) return;
  const int index = ItemAt(p);
  if (!Valid(index)) return;
  switch (Mode()) {
    case SelMode::None: break;
    case SelMode::Single:
      SelectOnly(index);
      m_anchor = index;
      break;
    case SelMode::Multiple:
      At(index).selected = !At(index).selected;
      m_anchor = index;
      break;
    case SelMode::Extended:
      if (flags & MK_SHIFT) {
        if (!(flags & MK_CONTROL)) SelectOnly(-1);
        SelectRange(m_anchor, index, true);
      } else if (flags & MK_CONTROL) {
        At(index).selected = !At(index).selected;
        m_anchor = index;
      } else {
        SelectOnly(index);
        m_anchor = index;
      }
      break;
  }
  m_caret = index;
  m_tracking = true;
  ::SetCapture(hwnd());
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListBoxModel::OnMouseMove(WPARAM flags, POINT p) {
  // A combo box's dropped list selects the item under the pointer as it
  // passes (the combo box keeps it or goes back when the list closes).
  if (InCombo() && !(flags & MK_LBUTTON) && ::IsWindowVisible(hwnd())) {
    const int index = ItemAt(p);
    if (Valid(index) && p.x >= 0 && p.x < ClientWidth() && p.y < ClientHeight() && index != CurSel()) {
      SelectOnly(index);
      m_caret = m_anchor = index;
      ::SendMessage(m_combo, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ControlId()), kComboListHovered),
                    reinterpret_cast<LPARAM>(hwnd()));
    }
    return;
  }
  // Dragging with the button down carries a single selection along.
  if (!m_tracking || !(flags & MK_LBUTTON) || Mode() != SelMode::Single) return;
  const int index = ItemAt(p);
  if (!Valid(index) || p.x < 0 || p.x >= ClientWidth()) return;
  SelectOnly(index);
  m_caret = m_anchor = index;
}

void ListBoxModel::OnButtonUp(POINT p) {
  if (!m_tracking) return;
  m_tracking = false;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  if (InCombo()) {
    const bool onItem = p.x >= 0 && p.x < ClientWidth() && p.y < ClientHeight() && ItemAt(p) >= 0;
    Notify(onItem ? LBN_SELCHANGE : LBN_SELCANCEL);
    return;
  }
  if (Count() > 0) Notify(LBN_SELCHANGE);
}

void ListBoxModel::OnKeyDown(UINT key) {
  const int count = Count();
  if (count == 0) return;
  const SelMode mode = Mode();
  const int caret = std::clamp(m_caret, 0, count - 1);
  const int page = std::max(1, PageSize() - 1);
  // A single-selection list with nothing selected selects the caret item
  // on its first arrow key instead of moving past it.
  const bool fromNothing = mode == SelMode::Single && CurSel() < 0;
  int target = caret;
  switch (key) {
    case VK_UP:
    case VK_LEFT: target = fromNothing ? caret : caret - 1; break;
    case VK_DOWN:
    case VK_RIGHT: target = fromNothing ? caret : caret + 1; break;
    case VK_PRIOR: target = fromNothing ? caret : caret - page; break;
    case VK_NEXT: target = fromNothing ? caret : caret + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_SPACE:
      if (mode == SelMode::Multiple || (mode == SelMode::Extended && KeyHeld(VK_CONTROL))) {
        At(caret).selected = !At(caret).selected;
        m_anchor = caret;
      } else if (mode == SelMode::Extended) {
        SelectOnly(caret);
        m_anchor = caret;
      } else {
        return;
      }
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      Notify(LBN_SELCHANGE);
      return;
    default: return;
  }
  target = std::clamp(target, 0, count - 1);
  bool changed = true;
  switch (mode) {
    case SelMode::None: changed = false; break;
    case SelMode::Single:
      changed = SelectOnly(target);
      m_anchor = target;
      break;
    case SelMode::Multiple:
      // Arrows move only the caret; the list still reports the key.
      break;
    case SelMode::Extended:
      if (KeyHeld(VK_SHIFT)) {
        SelectOnly(-1);
        SelectRange(m_anchor, target, true);
      } else if (!KeyHeld(VK_CONTROL)) {
        SelectOnly(target);
        m_anchor = target;
      }
      break;
  }
  m_caret = target;
  EnsureVisible(target);
  if (changed) Notify(LBN_SELCHANGE);
}

void ListBoxModel::OnChar(char ch) {
  if (!HasStrings() || Count() == 0 || static_cast<unsigned char>(ch) < 0x20) return;
  const SelMode mode = Mode();
  if (ch == ' ' && (mode == SelMode::Multiple || mode == SelMode::Extended)) return;
  const uint64_t now = ClockNow();
  if (now - m_lastTyped > kTypeAheadMs) m_typed.clear();
  m_lastTyped = now;
  m_typed += ch;
  const int current = mode == SelMode::Single ? CurSel() : m_caret;
  // A longer prefix may still be the current item's; a single character
  // moves on to the next item that starts with it.
  int found = LB_ERR;
  if (m_typed.size() > 1) found = static_cast<int>(Find(current - 1, reinterpret_cast<LPARAM>(m_typed.c_str()), false));
  if (found < 0) {
    m_typed.assign(1, ch);
    found = static_cast<int>(Find(current, reinterpret_cast<LPARAM>(m_typed.c_str()), false));
  }
  if (found < 0) return;
  bool changed = true;
  if (mode == SelMode::Single || mode == SelMode::Extended) {
    changed = SelectOnly(found);
    m_anchor = found;
  } else if (mode == SelMode::None) {
    changed = false;
  }
  m_caret = found;
  EnsureVisible(found);
  if (changed) Notify(LBN_SELCHANGE);
}

// ---- Painting ---------------------------------------------------------------------------

void ListBoxModel::DrawItem(HDC dc, int index, UINT action) const {
  const DrawTarget t = Target();
  if (t.window == nullptr) return;
  DRAWITEMSTRUCT dis;
  dis.CtlType = t.ctlType;
  dis.CtlID = t.ctlId;
  dis.itemID = static_cast<UINT>(index);
  dis.itemAction = action;
  dis.hwndItem = t.item;
  dis.hDC = dc;
  if (Valid(index)) {
    const Item& item = At(index);
    dis.rcItem = ItemRect(index);
    dis.itemData = item.data;
    if (item.selected) dis.itemState |= ODS_SELECTED;
    if (m_focused && index == m_caret) dis.itemState |= ODS_FOCUS;
  } else {
    dis.rcItem = RECT{0, 0, ClientWidth(), m_itemHeight};
    if (m_focused) dis.itemState |= ODS_FOCUS;
  }
  if (!::IsWindowEnabled(hwnd())) dis.itemState |= ODS_DISABLED;
  ::SendMessage(t.window, WM_DRAWITEM, t.ctlId, reinterpret_cast<LPARAM>(&dis));
}

void ListBoxModel::Paint(HDC dc) {
  // The parent (for a combo box's list, the combo box) may set the DC's
  // colours and answers the background brush.
  HBRUSH background = nullptr;
  if (HWND parent = InCombo() ? m_combo : ::GetParent(hwnd()); parent != nullptr) {
    background = reinterpret_cast<HBRUSH>(
        ::SendMessage(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
  }
  if (!::IsWindow(hwnd())) return;
  if (!OwnerDraw()) {
    DrawStandardItems(dc, background != nullptr ? background : GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  if (Count() == 0) {
    if (m_focused) DrawItem(dc, -1, ODA_FOCUS);
    return;
  }
  const int height = ClientHeight();
  int y = 0;
  for (int i = m_top; i < Count() && y < height; ++i) {
    DrawItem(dc, i, ODA_DRAWENTIRE);
    y += HeightOf(i);
  }
}

void ListBoxModel::DrawStandardItems(HDC dc, HBRUSH background) const {
  if (dc == nullptr) return;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  ::FillRect(dc, &client, background);
  ::SetBkMode(dc, TRANSPARENT);
  // A disabled list greys its texts, as a disabled edit or button does.
  const COLORREF normalText = ::IsWindowEnabled(hwnd()) ? ::GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  for (int i = m_top, y = 0; i < Count() && y < client.bottom; y += HeightOf(i), ++i) {
    const RECT item = ItemRect(i);
    if (At(i).selected) ::FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
    ::SetTextColor(dc, At(i).selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normalText);
    RECT text = item;
    text.left += 2;  // the platform's text margin
    ::DrawText(dc, At(i).text.c_str(), static_cast<int>(At(i).text.size()), &text,
               DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (m_focused && i == m_caret) ::DrawFocusRect(dc, &item);
  }
}

// ---- The procedure -----------------------------------------------------------------------

LRESULT ListBoxModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    m_wantsBar = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
  }
  const LRESULT result = Handle(message, wParam, lParam);
  if (message != WM_DESTROY && message != WM_NCDESTROY && message != WM_NCCREATE && ::IsWindow(hwnd())) {
    SyncScrollBar();
  }
  return result;
}

void ListBoxModel::SyncScrollBar() {
  // Asked for with WS_VSCROLL at creation: shown while the items do not
  // all fit (LBS_DISABLENOSCROLL: shown disabled when they do).
  if (!m_wantsBar || m_syncingBar) return;
  m_syncingBar = true;
  // Whether this showed or hid the bar.
  const auto sync = [this] {
    const DWORD before = Style() & WS_VSCROLL;
    SetTop(m_top);
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | ((Style() & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
    info.nMax = Count() - 1;
    info.nPage = static_cast<UINT>(PageSize());
    info.nPos = m_top;
    ::SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
    return (Style() & WS_VSCROLL) != before;
  };
  // A bar shown or hidden changes the page, so the top and the range are
  // set once more; the page does not change again after that.
  if (sync()) sync();
  m_syncingBar = false;
}

void ListBoxModel::OnScroll(int code, int position) {
  const int page = std::max(1, PageSize() - 1);
  int top = m_top;
  switch (code) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = position; break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = Count(); break;
    default: return;
  }
  const int old = m_top;
  SetTop(top);
  if (m_top != old) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ListBoxModel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  const bool multi = Mode() == SelMode::Multiple || Mode() == SelMode::Extended;
  switch (message) {
    case WM_NCCREATE:
      // The list of a combo box learns its combo box from the creation parameter.
      if (const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
          cs != nullptr && (static_cast<DWORD>(cs->style) & LBS_COMBOBOX) &&
          ::IsWindow(static_cast<HWND>(cs->lpCreateParams))) {
        m_combo = static_cast<HWND>(cs->lpCreateParams);
      }
      break;
    case WM_CREATE:
      m_itemHeight = FontItemHeight(hwnd());
      if (Style() & LBS_OWNERDRAWFIXED && !Variable()) Measure(0, 0);
      FitWholeItems();
      break;
    case WM_SIZE: FitWholeItems(); break;
    case WM_SETFONT: {
      const LRESULT result = ::DefWindowProc(hwnd(), message, wParam, lParam);
      if (!OwnerDraw()) m_itemHeight = FontItemHeight(hwnd());
      FitWholeItems();
      SetTop(m_top);
      return result;
    }
    case WM_DESTROY: Reset(); break;

    case LB_ADDSTRING: return Insert(-1, lParam, true);
    case LB_INSERTSTRING: return Insert(index, lParam, false);
    case LB_DELETESTRING: return Delete(index);
    case LB_RESETCONTENT: Reset(); return LB_OKAY;
    case LB_GETCOUNT: return Count();
    case LB_GETTEXT: return CopyText(index, lParam);
    case LB_GETTEXTLEN: return TextLength(index);
    case LB_FINDSTRING: return Find(index, lParam, false);
    case LB_FINDSTRINGEXACT: return Find(index, lParam, true);
    case LB_GETITEMDATA: return Valid(index) ? static_cast<LRESULT>(At(index).data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(index)) return LB_ERR;
      At(index).data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case LB_INITSTORAGE: m_items.reserve(m_items.size() + wParam); return static_cast<LRESULT>(m_items.capacity());

    case LB_GETCURSEL:
      if (!multi) return CurSel();
      return Count() > 0 ? m_caret : LB_ERR;
    case LB_SETCURSEL:
      // Single selection only; -1 clears it (and still answers LB_ERR).
      if (multi || index < -1 || index >= Count()) return LB_ERR;
      SelectOnly(index);
      if (index < 0) return LB_ERR;
      m_caret = m_anchor = index;
      EnsureVisible(index);
      return index;
    case LB_SELECTSTRING: {
      const LRESULT found = Find(index, lParam, false);
      if (found < 0) return LB_ERR;
      const int i = static_cast<int>(found);
      if (multi) {
        At(i).selected = true;
      } else {
        SelectOnly(i);
      }
      m_caret = m_anchor = i;
      EnsureVisible(i);
      return found;
    }
    case LB_GETSEL: {
      const int i = static_cast<int>(static_cast<INT_PTR>(wParam));
      return Valid(i) ? (At(i).selected ? 1 : 0) : LB_ERR;
    }
    case LB_SETSEL: {
      const int i = static_cast<int>(lParam);
      if (!multi || i < -1 || i >= Count()) return LB_ERR;
      if (i < 0) {
        SelectRange(0, Count() - 1, wParam != 0);
      } else {
        At(i).selected = wParam != 0;
        if (wParam != 0) m_anchor = i;
      }
      return LB_OKAY;
    }
    case LB_GETSELCOUNT: return multi ? SelCount() : LB_ERR;
    case LB_GETSELITEMS: {
      if (!multi) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      const int max = static_cast<int>(wParam);
      int n = 0;
      for (int i = 0; i < Count() && n < max && out != nullptr; ++i) {
        if (At(i).selected) out[n++] = i;
      }
      return n;
    }
    case LB_SELITEMRANGE:
      if (!multi) return LB_ERR;
      SelectRange(LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)), wParam != 0);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (!multi) return LB_ERR;
      const int last = static_cast<int>(lParam);
      SelectRange(index, last, last >= index);
      return LB_OKAY;
    }
    case LB_GETANCHORINDEX: return m_anchor;
    case LB_SETANCHORINDEX:
      if (!Valid(index)) return LB_ERR;
      m_anchor = index;
      return LB_OKAY;
    case LB_GETCARETINDEX: return m_caret;
    case LB_SETCARETINDEX:
      if (!Valid(index)) return LB_ERR;
      m_caret = index;
      EnsureVisible(index);
      return LB_OKAY;

    case LB_GETTOPINDEX: return m_top;
    case LB_SETTOPINDEX:
      if (index < 0 || (index >= Count() && index != 0)) return LB_ERR;
      SetTop(index);
      return LB_OKAY;
    case LB_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!Valid(index) || rect == nullptr) return LB_ERR;
      *rect = ItemRect(index);
      return rect->top < ClientHeight() && rect->bottom > 0 ? 1 : 0;
    }
    case LB_GETITEMHEIGHT:
      if (Variable()) return Valid(index) ? At(index).height : LB_ERR;
      return m_itemHeight;
    case LB_SETITEMHEIGHT: {
      const int height = LOWORD(static_cast<uintptr_t>(lParam));
      if (height <= 0 || height > 255) return LB_ERR;
      if (Variable()) {
        if (!Valid(index)) return LB_ERR;
        At(index).height = height;
      } else {
        m_itemHeight = height;
        FitWholeItems();
      }
      SetTop(m_top);
      return LB_OKAY;
    }
    case LB_GETHORIZONTALEXTENT: return m_horizontalExtent;
    case LB_SETHORIZONTALEXTENT:
      if (!(Style() & LBS_MULTICOLUMN)) m_horizontalExtent = static_cast<int>(wParam);
      return LB_OKAY;
    case LB_ITEMFROMPOINT: return ItemFromPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case LB_SETTABSTOPS: return TRUE;
    case LB_SETCOLUMNWIDTH: return LB_OKAY;
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE: return LB_ERR;

    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
      if (InCombo()) return MA_NOACTIVATE;
      break;
    case WM_SETFOCUS:
      m_focused = true;
      Notify(LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      m_focused = false;
      Notify(LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: OnButtonDown(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONDBLCLK:
      // In a combo box the second click also chooses (it ends with a button up).
      if (InCombo()) OnButtonDown(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      Notify(LBN_DBLCLK);
      return 0;
    case WM_MOUSEWHEEL:
      if (ScrollByWheel(hwnd(), wParam, m_top, Count(), [this](int top) { SetTop(top); })) return 0;
      break;
    case WM_VSCROLL: OnScroll(LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_MOUSEMOVE: OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) m_tracking = false;
      return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: OnChar(static_cast<char>(wParam)); return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintOrPrint(message, wParam, [this](HDC dc) { Paint(dc); });
    default: break;
  }
  return ::DefWindowProc(hwnd(), message, wParam, lParam);
}

}  // namespace platform
