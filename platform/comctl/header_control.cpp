#include "platform/comctl/header_control.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/image_list.h"
#include "platform/window/control_model.h"
#include "platform/gdi/device_context.h"
#include "platform/user/list_box.h"
#include "platform/window/message_queue.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

constexpr UINT_PTR kFilterTimer = 1;
// Private messages between the header and its filter edit field.
constexpr UINT kFilterEditCommit = HDM_FIRST + 0xF0;  // wParam: TRUE to close afterwards
constexpr UINT kFilterEditClose = HDM_FIRST + 0xF1;   // wParam: TRUE to discard the text
constexpr char kFilterEditClass[] = "SysHeader32FilterEdit";

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

void Fill(HDC dc, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (DrawOp* op = AppendDrawOp(dc, DrawKind::FillRect, r)) op->color = color;
}

// Copies `text` into a caller's buffer of `size` characters, always terminated.
void CopyOut(const std::string& text, LPSTR out, int size) {
  if (out != nullptr && size > 0) CopyWindowText(text, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(out));
}

// The filter edit field: an edit control that reports Enter, Escape and the
// loss of the focus to its header.
class FilterEditModel : public ControlModel {
 public:
  explicit FilterEditModel(HWND hwnd) : ControlModel(hwnd) {
    UINT classStyle = 0;
    m_edit = CreateControlModel("EDIT", hwnd, &classStyle);
  }
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
    const HWND header = ::GetParent(hwnd());
    switch (message) {
      case WM_GETDLGCODE: return Forward(message, wParam, lParam) | DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
          ::SendMessage(header, kFilterEditCommit, TRUE, 0);
          return 0;
        }
        if (wParam == VK_ESCAPE) {
          ::PostMessage(header, kFilterEditClose, TRUE, reinterpret_cast<LPARAM>(hwnd()));
          return 0;
        }
        break;
      case WM_CHAR:
        if (wParam == '\r' || wParam == 0x1B || wParam == '\t') return 0;
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = Forward(message, wParam, lParam);
        ::SendMessage(header, kFilterEditCommit, TRUE, 0);
        return result;
      }
      default: break;
    }
    return Forward(message, wParam, lParam);
  }

 private:
  LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_edit != nullptr ? m_edit->Procedure(message, wParam, lParam)
                             : ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
  std::unique_ptr<ControlModel> m_edit;
};

class HeaderModel : public ControlModel {
 public:
  explicit HeaderModel(HWND hwnd);
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Item {
    std::string text;
    int width = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int image = 0;
    HBITMAP bitmap = nullptr;
    std::string filter;
    UINT filterType = HDFT_ISSTRING;
  };
  enum class Mouse { Idle, Pressing, Dragging, Tracking };

  int Count() const { return static_cast<int>(m_items.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  bool FilterBar() const { return (Style() & HDS_FILTERBAR) != 0; }
  int RowHeight() const { return FontItemHeight(hwnd()) + kHeaderPadding; }
  int Height() const;
  int PositionOf(int index) const;
  RECT ItemRect(int index) const;
  RECT FilterRect(int index) const;
  RECT FilterButtonRect(int index) const;
  int HitTest(HDHITTESTINFO& info) const;
  int PositionAtX(int x) const;

  LRESULT Insert(int index, const HDITEM* item);
  LRESULT Delete(int index);
  LRESULT Get(int index, HDITEM* item) const;
  LRESULT Set(int index, const HDITEM& item);
  void Apply(Item& target, const HDITEM& item);
  LRESULT SetOrder(int count, const int* order);
  void MoveToPosition(int index, int position);
  LRESULT Layout(HDLAYOUT* layout) const;

  LRESULT Notify(UINT code, int index, HDITEM* item = nullptr, int button = 0) const;
  void FilterChanged(int index) const;
  void EditFilter(int index);
  void CommitFilterEdit();
  void CloseFilterEdit(bool discard);
  void ClearFilter(int index);

  void OnButtonDown(POINT p);
  void OnMouseMove(POINT p);
  void OnButtonUp(POINT p);
  void OnDoubleClick(POINT p);
  void EndMouse();
  void Paint(HDC dc) const;
  // An item as the header draws it; `dx` moves it sideways, and the dragged
  // item's picture (`ghost`) has no filter box.
  void DrawDefault(HDC dc, int index, int dx = 0, bool ghost = false) const;
  void DrawDragImage(HDC dc) const;

  std::vector<Item> m_items;  // by index
  std::vector<int> m_order;   // display position -> index
  HIMAGELIST m_images = nullptr;
  int m_filterTimeout = kDefaultFilterTimeoutMs;
  HWND m_edit = nullptr;  // the open filter edit field
  int m_editIndex = -1;
  Mouse m_mouse = Mouse::Idle;
  int m_mouseIndex = -1;
  POINT m_mouseStart;
  int m_dragX = 0;  // where the pointer is while an item is dragged
  int m_trackWidth = 0;
  int m_trackStartWidth = 0;
};

const bool kRegistered =
    RegisterControlModel(WC_HEADER, CS_DBLCLKS, [](HWND h) { return std::make_unique<HeaderModel>(h); }) &&
    RegisterControlModel(kFilterEditClass, CS_DBLCLKS, [](HWND h) { return std::make_unique<FilterEditModel>(h); });

HeaderModel::HeaderModel(HWND hwnd) : ControlModel(hwnd) { (void)kRegistered; }

// ---- Geometry ------------------------------------------------------------------

int HeaderModel::Height() const { return (Style() & HDS_HIDDEN) ? 0 : RowHeight() * (FilterBar() ? 2 : 1); }

int HeaderModel::PositionOf(int index) const {
  const auto it = std::find(m_order.begin(), m_order.end(), index);
  return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

RECT HeaderModel::ItemRect(int index) const {
  int x = 0;
  for (int i : m_order) {
    if (i == index) break;
    x += m_items[static_cast<size_t>(i)].width;
  }
  return RECT{x, 0, x + m_items[static_cast<size_t>(index)].width, Height()};
}

RECT HeaderModel::FilterRect(int index) const {
  RECT r = ItemRect(index);
  r.top = RowHeight();
  r.right = std::max(r.left, r.right - kHeaderFilterButtonWidth);
  return r;
}

RECT HeaderModel::FilterButtonRect(int index) const {
  RECT r = ItemRect(index);
  r.top = RowHeight();
  r.left = std::max(r.left, r.right - kHeaderFilterButtonWidth);
  return r;
}

int HeaderModel::HitTest(HDHITTESTINFO& info) const {
  const POINT p = info.pt;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  info.flags = 0;
  info.iItem = -1;
  if (p.y < 0) info.flags |= HHT_ABOVE;
  if (p.y >= client.bottom) info.flags |= HHT_BELOW;
  if (p.x < 0) info.flags |= HHT_TOLEFT;
  if (p.x >= client.right) info.flags |= HHT_TORIGHT;
  if (info.flags != 0) return -1;
  const bool inFilter = FilterBar() && p.y >= RowHeight();
  // A divider wins over the item under it: the grip straddles the right edge.
  int x = 0;
  for (int index : m_order) {
    const int right = x + m_items[static_cast<size_t>(index)].width;
    if (!inFilter && std::abs(p.x - right) <= kHeaderDividerGrip) {
      info.flags = HHT_ONDIVIDER;
      info.iItem = index;
      // The next item keeps the grip when this one's own edge is further left.
      if (p.x >= right && m_items[static_cast<size_t>(index)].width == 0) info.flags = HHT_ONDIVOPEN;
      return index;
    }
    x = right;
  }
  x = 0;
  for (int index : m_order) {
    const int right = x + m_items[static_cast<size_t>(index)].width;
    if (p.x >= x && p.x < right) {
      info.iItem = index;
      if (!inFilter) {
        info.flags = HHT_ONHEADER;
      } else {
        info.flags = p.x >= right - kHeaderFilterButtonWidth ? HHT_ONFILTERBUTTON : HHT_ONFILTER;
      }
      return index;
    }
    x = right;
  }
  info.flags = HHT_NOWHERE;
  return -1;
}

int HeaderModel::PositionAtX(int x) const {
  // The drop position of a dragged item: the item whose middle is passed.
  int left = 0;
  int position = 0;
  for (int index : m_order) {
    const int width = m_items[static_cast<size_t>(index)].width;
    if (x < left + width / 2) return position;
    left += width;
    ++position;
  }
  return std::max(0, Count() - 1);
}

LRESULT HeaderModel::Layout(HDLAYOUT* layout) const {
  if (layout == nullptr || layout->prc == nullptr || layout->pwpos == nullptr) return FALSE;
  RECT& r = *layout->prc;
  const int height = Height();
  *layout->pwpos = WINDOWPOS{hwnd(), nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE};
  r.top += height;
  return TRUE;
}

// ---- Items ---------------------------------------------------------------------

void HeaderModel::Apply(Item& target, const HDITEM& item) {
  if (item.mask & HDI_WIDTH) target.width = std::max(0, item.cxy);
  if (item.mask & HDI_TEXT) target.text = item.pszText != nullptr ? item.pszText : "";
  if (item.mask & HDI_FORMAT) target.fmt = item.fmt;
  if (item.mask & HDI_LPARAM) target.lParam = item.lParam;
  if (item.mask & HDI_IMAGE) target.image = item.iImage;
  if (item.mask & HDI_BITMAP) target.bitmap = item.hbm;
  if (item.mask & HDI_FILTER) {
    target.filterType = item.type;
    const auto* filter = static_cast<const HD_TEXTFILTER*>(item.pvFilter);
    if ((item.type & ~HDFT_HASNOVALUE) == HDFT_ISSTRING) {
      target.filter = (filter != nullptr && filter->pszText != nullptr && !(item.type & HDFT_HASNOVALUE))
                          ? std::string(filter->pszText)
                          : std::string();
    }
  }
}

LRESULT HeaderModel::Insert(int index, const HDITEM* item) {
  if (item == nullptr || index < 0) return -1;
  index = std::min(index, Count());
  Item fresh;
  Apply(fresh, *item);
  m_items.insert(m_items.begin() + index, std::move(fresh));
  for (int& i : m_order) {
    if (i >= index) ++i;
  }
  const int position = (item->mask & HDI_ORDER) ? Clamp(item->iOrder, 0, Count() - 1) : std::min(index, Count() - 1);
  m_order.insert(m_order.begin() + position, index);
  if (m_editIndex >= index) ++m_editIndex;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return index;
}

LRESULT HeaderModel::Delete(int index) {
  if (!Valid(index)) return FALSE;
  if (m_editIndex == index) CloseFilterEdit(true);
  if (m_mouse != Mouse::Idle) EndMouse();
  m_items.erase(m_items.begin() + index);
  m_order.erase(m_order.begin() + PositionOf(index));
  for (int& i : m_order) {
    if (i > index) --i;
  }
  if (m_editIndex > index) --m_editIndex;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

LRESULT HeaderModel::Get(int index, HDITEM* item) const {
  if (item == nullptr || !Valid(index)) return FALSE;
  const Item& source = m_items[static_cast<size_t>(index)];
  if (item->mask & HDI_WIDTH) item->cxy = source.width;
  if (item->mask & HDI_TEXT) CopyOut(source.text, item->pszText, item->cchTextMax);
  if (item->mask & HDI_FORMAT) item->fmt = source.fmt;
  if (item->mask & HDI_LPARAM) item->lParam = source.lParam;
  if (item->mask & HDI_IMAGE) item->iImage = source.image;
  if (item->mask & HDI_BITMAP) item->hbm = source.bitmap;
  if (item->mask & HDI_ORDER) item->iOrder = PositionOf(index);
  if (item->mask & HDI_FILTER) {
    // The caller names the type it expects; a string filter fills its buffer.
    if ((item->type & ~HDFT_HASNOVALUE) == HDFT_ISSTRING) {
      if (auto* filter = static_cast<HD_TEXTFILTER*>(item->pvFilter); filter != nullptr) {
        CopyOut(source.filter, filter->pszText, filter->cchTextMax);
      }
    }
    item->type = source.filterType | (source.filter.empty() ? HDFT_HASNOVALUE : 0);
  }
  return TRUE;
}

LRESULT HeaderModel::Set(int index, const HDITEM& item) {
  if (!Valid(index)) return FALSE;
  HDITEM asked = item;
  if (Notify(HDN_ITEMCHANGING, index, &asked) != 0) return FALSE;
  if (!Valid(index)) return FALSE;  // the parent deleted it meanwhile
  Apply(m_items[static_cast<size_t>(index)], item);
  if (item.mask & HDI_ORDER) MoveToPosition(index, item.iOrder);
  // An open edit box shows the filter it edits.
  if ((item.mask & HDI_FILTER) && m_edit != nullptr && m_editIndex == index) {
    ::SetWindowText(m_edit, m_items[static_cast<size_t>(index)].filter.c_str());
    ::KillTimer(hwnd(), kFilterTimer);
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  Notify(HDN_ITEMCHANGED, index, &asked);
  if (item.mask & HDI_FILTER) FilterChanged(index);
  return TRUE;
}

void HeaderModel::MoveToPosition(int index, int position) {
  const int from = PositionOf(index);
  if (from < 0) return;
  m_order.erase(m_order.begin() + from);
  position = Clamp(position, 0, static_cast<int>(m_order.size()));
  m_order.insert(m_order.begin() + position, index);
}

LRESULT HeaderModel::SetOrder(int count, const int* order) {
  if (order == nullptr || count != Count()) return FALSE;
  std::vector<int> next(order, order + count);
  std::vector<int> sorted = next;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < count; ++i) {
    if (sorted[static_cast<size_t>(i)] != i) return FALSE;  // not a permutation of the items
  }
  m_order = std::move(next);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

// ---- Notifications and the filter bar ---------------------------------------------

LRESULT HeaderModel::Notify(UINT code, int index, HDITEM* item, int button) const {
  NMHEADER nm;
  nm.hdr.code = code;
  nm.iItem = index;
  nm.iButton = button;
  nm.pitem = item;
  return NotifyParentWith(nm.hdr);
}

void HeaderModel::FilterChanged(int index) const { Notify(HDN_FILTERCHANGE, index); }

void HeaderModel::EditFilter(int index) {
  if (!Valid(index) || !FilterBar()) return;
  if (m_edit != nullptr) CloseFilterEdit(false);
  const RECT r = FilterRect(index);
  m_editIndex = index;
  m_edit =
      ::CreateWindowEx(0, kFilterEditClass, m_items[static_cast<size_t>(index)].filter.c_str(),
                       WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       hwnd(), reinterpret_cast<HMENU>(static_cast<uintptr_t>(kHeaderFilterEditId)), nullptr, nullptr);
  if (m_edit == nullptr) {
    m_editIndex = -1;
    return;
  }
  ::SendMessage(m_edit, WM_SETFONT, ::SendMessage(hwnd(), WM_GETFONT, 0, 0), FALSE);
  ::SendMessage(m_edit, EM_SETSEL, 0, -1);
  ::SetFocus(m_edit);
}

void HeaderModel::CommitFilterEdit() {
  ::KillTimer(hwnd(), kFilterTimer);
  if (m_edit == nullptr || !Valid(m_editIndex)) return;
  const int length = ::GetWindowTextLength(m_edit);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  ::GetWindowText(m_edit, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  Item& item = m_items[static_cast<size_t>(m_editIndex)];
  if (item.filter == text) return;
  item.filter = std::move(text);
  FilterChanged(m_editIndex);
}

void HeaderModel::CloseFilterEdit(bool discard) {
  if (m_edit == nullptr) return;
  if (!discard) CommitFilterEdit();
  ::KillTimer(hwnd(), kFilterTimer);
  const HWND edit = m_edit;
  m_edit = nullptr;
  m_editIndex = -1;
  const bool hadFocus = ::GetFocus() == edit;
  ::DestroyWindow(edit);
  if (hadFocus && ::GetParent(hwnd()) != nullptr) ::SetFocus(::GetParent(hwnd()));
}

void HeaderModel::ClearFilter(int index) {
  if (index < 0) {
    for (Item& item : m_items) item.filter.clear();
  } else if (Valid(index)) {
    m_items[static_cast<size_t>(index)].filter.clear();
  } else {
    return;
  }
  if (m_edit != nullptr && (index < 0 || index == m_editIndex)) ::SetWindowText(m_edit, "");
  ::KillTimer(hwnd(), kFilterTimer);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  FilterChanged(index < 0 ? -1 : index);
}

// ---- The user ------------------------------------------------------------------------

void HeaderModel::OnButtonDown(POINT p) {
  HDHITTESTINFO hit;
  hit.pt = p;
  const int index = HitTest(hit);
  if (index < 0) return;
  if (hit.flags & HHT_ONFILTERBUTTON) {
    NMHDFILTERBTNCLICK nm;
    nm.hdr.code = HDN_FILTERBTNCLICK;
    nm.iItem = index;
    nm.rc = FilterButtonRect(index);
    if (NotifyParentWith(nm.hdr) != 0) FilterChanged(index);
    return;
  }
  if (hit.flags & HHT_ONFILTER) {
    EditFilter(index);
    return;
  }
  if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    HDITEM item;
    item.mask = HDI_WIDTH;
    item.cxy = m_items[static_cast<size_t>(index)].width;
    if (Notify(HDN_BEGINTRACK, index, &item) != 0 || !Valid(index)) return;
    m_mouse = Mouse::Tracking;
    m_trackStartWidth = m_trackWidth = m_items[static_cast<size_t>(index)].width;
  } else {
    m_mouse = Mouse::Pressing;
  }
  m_mouseIndex = index;
  m_mouseStart = p;
  ::SetCapture(hwnd());
}

void HeaderModel::OnMouseMove(POINT p) {
  if (!Valid(m_mouseIndex)) return;
  if (m_mouse == Mouse::Tracking) {
    const int width = std::max(0, m_trackStartWidth + static_cast<int>(p.x - m_mouseStart.x));
    if (width == m_trackWidth) return;
    m_trackWidth = width;
    HDITEM item;
    item.mask = HDI_WIDTH;
    item.cxy = width;
    Notify(HDN_TRACK, m_mouseIndex, &item);
    if ((Style() & HDS_FULLDRAG) && Valid(m_mouseIndex)) Set(m_mouseIndex, item);
    return;
  }
  if (m_mouse == Mouse::Pressing && (Style() & HDS_DRAGDROP) &&
      std::abs(static_cast<int>(p.x - m_mouseStart.x)) >= kHeaderDragThreshold) {
    if (Notify(HDN_BEGINDRAG, m_mouseIndex) != 0) {
      EndMouse();  // refused: neither a drag nor a click any more
      return;
    }
    m_mouse = Mouse::Dragging;
  }
  if (m_mouse == Mouse::Dragging && p.x != m_dragX) {
    m_dragX = p.x;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void HeaderModel::OnButtonUp(POINT p) {
  const Mouse mode = m_mouse;
  const int index = m_mouseIndex;
  EndMouse();
  if (!Valid(index)) return;
  switch (mode) {
    case Mouse::Tracking: {
      HDITEM item;
      item.mask = HDI_WIDTH;
      item.cxy = m_trackWidth;
      Notify(HDN_ENDTRACK, index, &item);
      if (Valid(index) && m_items[static_cast<size_t>(index)].width != m_trackWidth) Set(index, item);
      break;
    }
    case Mouse::Dragging: {
      HDITEM item;
      item.mask = HDI_ORDER;
      item.iOrder = PositionAtX(p.x);
      if (Notify(HDN_ENDDRAG, index, &item) == 0 && Valid(index)) {
        MoveToPosition(index, item.iOrder);
        ::InvalidateRect(hwnd(), nullptr, TRUE);
      }
      break;
    }
    case Mouse::Pressing: {
      HDHITTESTINFO hit;
      hit.pt = p;
      if (HitTest(hit) == index && (hit.flags & HHT_ONHEADER) && (Style() & HDS_BUTTONS)) Notify(HDN_ITEMCLICK, index);
      break;
    }
    case Mouse::Idle: break;
  }
}

void HeaderModel::OnDoubleClick(POINT p) {
  HDHITTESTINFO hit;
  hit.pt = p;
  const int index = HitTest(hit);
  if (index < 0) return;
  if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    Notify(HDN_DIVIDERDBLCLICK, index);
  } else if (hit.flags & HHT_ONHEADER) {
    Notify(HDN_ITEMDBLCLICK, index);
  } else if (hit.flags & HHT_ONFILTER) {
    EditFilter(index);
  }
}

void HeaderModel::EndMouse() {
  if (m_mouse == Mouse::Dragging) ::InvalidateRect(hwnd(), nullptr, FALSE);  // the drag image goes
  m_mouse = Mouse::Idle;
  m_mouseIndex = -1;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
}

// ---- Painting ------------------------------------------------------------------------

void HeaderModel::DrawDefault(HDC dc, int index, int dx, bool ghost) const {
  if (dc == nullptr || !Valid(index)) return;
  const Item& item = m_items[static_cast<size_t>(index)];
  RECT r = ItemRect(index);
  r.left += dx;
  r.right += dx;
  r.bottom = RowHeight();
  // The item's face and text take the DC's colours, which the parent may
  // have changed at the item's pre-paint.
  Fill(dc, r, ::GetBkColor(dc));
  const COLORREF textColor = ::GetTextColor(dc);
  // A raised button: light top and left edges, shadowed bottom and right.
  Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
  Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
  Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_BTNSHADOW));
  Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_BTNSHADOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColor);
  RECT text{r.left + kHeaderTextMargin, r.top, r.right - kHeaderTextMargin, r.bottom};
  int cx = 0;
  int cy = 0;
  if ((item.fmt & HDF_IMAGE) && ImageList_GetIconSize(m_images, &cx, &cy)) {
    // The image sits at the text's side (the right with HDF_BITMAP_ON_RIGHT),
    // vertically centred; the text gives way to it.
    const int x = (item.fmt & HDF_BITMAP_ON_RIGHT) ? text.right - cx : text.left;
    ImageList_Draw(m_images, item.image, dc, x, r.top + (r.bottom - r.top - cy) / 2, ILD_TRANSPARENT);
    if (item.fmt & HDF_BITMAP_ON_RIGHT) {
      text.right -= cx + kHeaderTextMargin;
    } else {
      text.left += cx + kHeaderTextMargin;
    }
  }
  if (item.fmt & HDF_STRING || !(item.fmt & (HDF_BITMAP | HDF_IMAGE | HDF_OWNERDRAW))) {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) format |= DT_RIGHT;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) format |= DT_CENTER;
    ::DrawText(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text, format);
  }
  if (!FilterBar() || ghost) return;
  // The filter box shows its text on the window colour; the button is a small raised square.
  RECT box = FilterRect(index);
  Fill(dc, box, GetSysColor(COLOR_WINDOW));
  ::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT filterText{box.left + 2, box.top, box.right - 2, box.bottom};
  ::DrawText(dc, item.filter.c_str(), static_cast<int>(item.filter.size()), &filterText,
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  const RECT button = FilterButtonRect(index);
  Fill(dc, button, GetSysColor(COLOR_BTNFACE));
  if (DrawOp* op = AppendDrawOp(dc, DrawKind::FrameRect, button)) op->color = GetSysColor(COLOR_BTNSHADOW);
}

void HeaderModel::Paint(HDC dc) const {
  NMCUSTOMDRAW cd;
  cd.hdr.code = NM_CUSTOMDRAW;
  cd.dwDrawStage = CDDS_PREPAINT;
  cd.hdc = dc;
  ::GetClientRect(hwnd(), &cd.rc);
  const LRESULT answer = NotifyParentWith(cd.hdr);
  if (answer & CDRF_SKIPDEFAULT) return;
  // Right of the last item the header shows its face colour.
  int right = 0;
  for (const Item& item : m_items) right += item.width;
  if (dc != nullptr) Fill(dc, RECT{right, 0, cd.rc.right, cd.rc.bottom}, GetSysColor(COLOR_BTNFACE));
  const std::vector<int> order = m_order;  // the parent may change the items meanwhile
  for (int index : order) {
    if (!Valid(index)) continue;
    const int saved = dc != nullptr ? ::SaveDC(dc) : 0;
    if (dc != nullptr) {
      ::SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      ::SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    }
    LRESULT itemAnswer = CDRF_DODEFAULT;
    if (answer & CDRF_NOTIFYITEMDRAW) {
      NMCUSTOMDRAW icd;
      icd.hdr.code = NM_CUSTOMDRAW;
      icd.dwDrawStage = CDDS_ITEMPREPAINT;
      icd.hdc = dc;
      icd.rc = ItemRect(index);
      icd.dwItemSpec = static_cast<DWORD_PTR>(index);
      icd.lItemlParam = m_items[static_cast<size_t>(index)].lParam;
      itemAnswer = NotifyParentWith(icd.hdr);
    }
    if (!(itemAnswer & CDRF_SKIPDEFAULT) && Valid(index)) {
      if (m_items[static_cast<size_t>(index)].fmt & HDF_OWNERDRAW) {
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_HEADER;
        dis.CtlID = static_cast<UINT>(ControlId());
        dis.itemID = static_cast<UINT>(index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = hwnd();
        dis.hDC = dc;
        dis.rcItem = ItemRect(index);
        dis.itemData = static_cast<ULONG_PTR>(m_items[static_cast<size_t>(index)].lParam);
        ::SendMessage(::GetParent(hwnd()), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      } else {
        DrawDefault(dc, index);
      }
    }
    if (saved != 0) ::RestoreDC(dc, saved);
  }
  if (answer & CDRF_NOTIFYPOSTPAINT) {
    cd.dwDrawStage = CDDS_POSTPAINT;
    NotifyParentWith(cd.hdr);
  }
  DrawDragImage(dc);
}

// While an item is dragged its picture follows the pointer, in the shadow
// colours, and a mark shows where it would go: the edge of the item its
// drop would put it beside.
void HeaderModel::DrawDragImage(HDC dc) const {
  if (dc == nullptr || m_mouse != Mouse::Dragging || !Valid(m_mouseIndex)) return;
  const int saved = ::SaveDC(dc);
  ::SetBkColor(dc, GetSysColor(COLOR_3DSHADOW));
  ::SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
  DrawDefault(dc, m_mouseIndex, m_dragX - m_mouseStart.x, true);
  ::RestoreDC(dc, saved);
  const int from = PositionOf(m_mouseIndex);
  const int to = PositionAtX(m_dragX);
  int left = 0;
  for (int position = 0; position < to; ++position) {  // `to` is at most the last position
    left += m_items[static_cast<size_t>(m_order[static_cast<size_t>(position)])].width;
  }
  if (to > from) left += m_items[static_cast<size_t>(m_order[static_cast<size_t>(to)])].width;
  Fill(dc, RECT{left - 1, 0, left + 1, RowHeight()}, GetSysColor(COLOR_WINDOWTEXT));
}

// ---- The procedure ------------------------------------------------------------------------

LRESULT HeaderModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case HDM_GETITEMCOUNT: return Count();
    case HDM_INSERTITEM: return Insert(index, reinterpret_cast<const HDITEM*>(lParam));
    case HDM_DELETEITEM: return Delete(index);
    case HDM_GETITEM: return Get(index, reinterpret_cast<HDITEM*>(lParam));
    case HDM_SETITEM: {
      const auto* item = reinterpret_cast<const HDITEM*>(lParam);
      return item != nullptr ? Set(index, *item) : FALSE;
    }
    case HDM_LAYOUT: return Layout(reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      return info != nullptr ? HitTest(*info) : -1;
    }
    case HDM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect == nullptr || !Valid(index)) return FALSE;
      *rect = ItemRect(index);
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      HIMAGELIST old = m_images;
      m_images = reinterpret_cast<HIMAGELIST>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST: return reinterpret_cast<LRESULT>(m_images);
    case HDM_ORDERTOINDEX: return index >= 0 && index < Count() ? m_order[static_cast<size_t>(index)] : index;
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (out == nullptr || index < Count()) return FALSE;
      std::copy(m_order.begin(), m_order.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: return SetOrder(index, reinterpret_cast<const int*>(lParam));
    case HDM_SETHOTDIVIDER: return -1;
    case HDM_SETFILTERCHANGETIMEOUT: {
      const int old = m_filterTimeout;
      m_filterTimeout = std::max(0, static_cast<int>(lParam));
      return old;
    }
    case HDM_EDITFILTER:
      if (!Valid(index) || !FilterBar()) return FALSE;
      if (m_edit != nullptr) CloseFilterEdit(lParam != 0);
      EditFilter(index);
      return TRUE;
    case HDM_CLEARFILTER: ClearFilter(index); return TRUE;
    case kFilterEditCommit:
      CommitFilterEdit();
      if (wParam != 0) ::PostMessage(hwnd(), kFilterEditClose, FALSE, reinterpret_cast<LPARAM>(m_edit));
      return 0;
    case kFilterEditClose:
      // Posted by an edit field: only that one closes, not one opened since.
      if (m_edit != nullptr && reinterpret_cast<HWND>(lParam) == m_edit) CloseFilterEdit(wParam != 0);
      return 0;

    case WM_COMMAND:
      // The filter edit field changed: the change counts once the typing pauses.
      if (LOWORD(wParam) == kHeaderFilterEditId && HIWORD(wParam) == EN_CHANGE && m_edit != nullptr) {
        ::SetTimer(hwnd(), kFilterTimer, static_cast<UINT>(m_filterTimeout), nullptr);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kFilterTimer) {
        CommitFilterEdit();
        return 0;
      }
      break;
    case WM_STYLECHANGED: {
      const LRESULT result = ::DefWindowProc(hwnd(), message, wParam, lParam);
      if (!FilterBar()) CloseFilterEdit(true);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return result;
    }
    case WM_LBUTTONDOWN: OnButtonDown(point); return 0;
    case WM_MOUSEMOVE: OnMouseMove(point); return 0;
    case WM_LBUTTONUP: OnButtonUp(point); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(point); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) {
        m_mouse = Mouse::Idle;
        m_mouseIndex = -1;
      }
      return 0;
    case WM_RBUTTONUP: {
      NMHDR nm;
      nm.code = NM_RCLICK;
      if (NotifyParentWith(nm) != 0) return 0;
      break;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintOrPrint(message, wParam, [this](HDC dc) { Paint(dc); });
    case WM_DESTROY:
      ::KillTimer(hwnd(), kFilterTimer);
      m_edit = nullptr;  // destroyed with its parent
      break;
    default: break;
  }
  return ::DefWindowProc(hwnd(), message, wParam, lParam);
}

}  // namespace
}  // namespace platform
