// States, selection and what a person does with mouse and keyboard.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/window/keyboard.h"
#include "platform/comctl/list_view_model.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

UINT KeyFlags() {
  UINT flags = 0;
  if (KeyHeld(VK_MENU)) flags |= LVKF_ALT;
  if (KeyHeld(VK_CONTROL)) flags |= LVKF_CONTROL;
  if (KeyHeld(VK_SHIFT)) flags |= LVKF_SHIFT;
  return flags;
}

}  // namespace

LRESULT ListViewModel::NotifyItem(UINT code, int index, UINT changed, UINT newState, UINT oldState, LPARAM lParam) {
  NMLISTVIEW nm;
  nm.hdr.code = code;
  nm.iItem = index;
  nm.uChanged = changed;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.lParam = lParam;
  return NotifyParentWith(nm.hdr);
}

bool ListViewModel::ChangeState(int index, UINT state, UINT mask) {
  if (!Valid(index)) return false;
  const UINT old = State(index);
  const UINT wanted = (old & ~mask) | (state & mask);
  if (wanted == old) return false;
  // The focus leaves its old item first, as its own change.
  if ((wanted & LVIS_FOCUSED) && m_focus >= 0 && m_focus != index) {
    if (!ChangeState(m_focus, 0, LVIS_FOCUSED) || !Valid(index)) return false;
  }
  if (SingleSel() && (wanted & LVIS_SELECTED) && !(old & LVIS_SELECTED)) {
    ClearSelection(index);
    if (!Valid(index)) return false;
  }
  const UINT now = State(index);
  const UINT next = (now & ~mask) | (state & mask);
  if (next == now) return false;
  const LPARAM param = ParamOf(index);
  if (NotifyItem(LVN_ITEMCHANGING, index, LVIF_STATE, next, now, param) != 0) return false;
  if (!Valid(index)) return false;
  StoreState(index, next);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  NotifyItem(LVN_ITEMCHANGED, index, LVIF_STATE, next, now, param);
  return true;
}

LRESULT ListViewModel::SetItemState(int index, const LVITEM* item) {
  if (item == nullptr) return FALSE;
  if (index >= 0) {
    if (!Valid(index)) return FALSE;
    ChangeState(index, item->state, item->stateMask);
    return TRUE;
  }
  // -1: every item. The focus cannot be given to all of them.
  const UINT mask = item->stateMask & ~LVIS_FOCUSED;
  if (item->stateMask & LVIS_FOCUSED && !(item->state & LVIS_FOCUSED) && m_focus >= 0) {
    ChangeState(m_focus, 0, LVIS_FOCUSED);
  }
  if (mask == 0) return TRUE;
  if (OwnerData()) {
    // One notification for the whole list.
    for (int i = 0; i < Count(); ++i) StoreState(i, (State(i) & ~mask) | (item->state & mask));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    NotifyItem(LVN_ITEMCHANGED, -1, LVIF_STATE, item->state & mask, 0, 0);
    return TRUE;
  }
  if (SingleSel() && (item->state & mask & LVIS_SELECTED)) return FALSE;
  for (int i = 0; i < Count(); ++i) ChangeState(i, item->state, mask);
  return TRUE;
}

void ListViewModel::ClearSelection(int except) {
  if (OwnerData()) {
    bool any = false;
    for (int i = 0; i < Count(); ++i) {
      if (i != except && (State(i) & LVIS_SELECTED)) {
        StoreState(i, State(i) & ~LVIS_SELECTED);
        any = true;
      }
    }
    if (any) {
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      NotifyItem(LVN_ITEMCHANGED, -1, LVIF_STATE, 0, LVIS_SELECTED, 0);
    }
    return;
  }
  for (int i = 0; i < Count(); ++i) {
    if (i != except && (State(i) & LVIS_SELECTED)) ChangeState(i, 0, LVIS_SELECTED);
  }
}

void ListViewModel::SelectOnly(int index) {
  ClearSelection(index);
  if (Valid(index)) ChangeState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_mark = index;
}

void ListViewModel::SelectRange(int from, int to, bool clearOthers) {
  if (Count() == 0) return;
  if (from > to) std::swap(from, to);
  from = std::clamp(from, 0, Count() - 1);
  to = std::clamp(to, 0, Count() - 1);
  if (OwnerData()) {
    if (clearOthers) {
      bool any = false;
      for (int i = 0; i < Count(); ++i) {
        if ((i < from || i > to) && (State(i) & LVIS_SELECTED)) {
          StoreState(i, State(i) & ~LVIS_SELECTED);
          any = true;
        }
      }
      if (any) NotifyItem(LVN_ITEMCHANGED, -1, LVIF_STATE, 0, LVIS_SELECTED, 0);
    }
    for (int i = from; i <= to; ++i) StoreState(i, State(i) | LVIS_SELECTED);  // to < Count(): clamped above
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    NMLVODSTATECHANGE nm;
    nm.hdr.code = LVN_ODSTATECHANGED;
    nm.iFrom = from;
    nm.iTo = to;
    nm.uNewState = LVIS_SELECTED;
    nm.uOldState = 0;
    NotifyParentWith(nm.hdr);
    return;
  }
  for (int i = 0; i < Count(); ++i) {
    const bool inside = i >= from && i <= to;
    if (inside) {
      ChangeState(i, LVIS_SELECTED, LVIS_SELECTED);
    } else if (clearOthers && (State(i) & LVIS_SELECTED)) {
      ChangeState(i, 0, LVIS_SELECTED);
    }
  }
}

void ListViewModel::Focus(int index) { ChangeState(index, LVIS_FOCUSED, LVIS_FOCUSED); }

int ListViewModel::SelectedCount() const {
  // An owner-data list with no stored state has nothing selected: asked
  // once per burst of rows its owner adds, the answer takes no walk.
  if (OwnerData() && m_odMarked == 0) return 0;
  int n = 0;
  for (int i = 0; i < Count(); ++i) {
    if (State(i) & LVIS_SELECTED) ++n;
  }
  return n;
}

LRESULT ListViewModel::NextItem(int start, UINT flags) const {
  const UINT wanted = ((flags & LVNI_FOCUSED) ? LVIS_FOCUSED : 0) | ((flags & LVNI_SELECTED) ? LVIS_SELECTED : 0) |
                      ((flags & LVNI_CUT) ? LVIS_CUT : 0) | ((flags & LVNI_DROPHILITED) ? LVIS_DROPHILITED : 0);
  // The focus is one index: no walk to find it.
  if (flags == LVNI_FOCUSED) return Valid(m_focus) && m_focus > start ? m_focus : -1;
  const bool upwards = (flags & LVNI_ABOVE) != 0;
  if (upwards) {
    for (int i = std::min(start, Count()) - 1; i >= 0; --i) {
      if ((State(i) & wanted) == wanted) return i;
    }
    return -1;
  }
  for (int i = std::max(start + 1, 0); i < Count(); ++i) {
    if ((State(i) & wanted) == wanted) return i;
  }
  return -1;
}

void ListViewModel::ToggleCheck(int index) {
  const UINT image = (StateWithCallbacks(index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12;
  ChangeState(index, INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

// ---- Mouse -----------------------------------------------------------------------

void ListViewModel::OnButtonDown(UINT flags, POINT p, bool right) {
  if (::GetFocus() != hwnd()) ::SetFocus(hwnd());
  if (!::IsWindow(hwnd())) return;
  LVHITTESTINFO hit;
  hit.pt = p;
  const int index = HitTest(hit, false);
  const bool control = (flags & MK_CONTROL) != 0 && !SingleSel();
  const bool shift = (flags & MK_SHIFT) != 0 && !SingleSel();
  m_pressed = !right;
  if (!Valid(index)) {
    if (!control && !shift) ClearSelection(-1);
    return;
  }
  if (right) {
    // A right click keeps a selection it falls into.
    if (!(State(index) & LVIS_SELECTED)) SelectOnly(index);
    else Focus(index);
    return;
  }
  if ((m_exStyle & LVS_EX_CHECKBOXES) && (hit.flags & LVHT_ONITEMSTATEICON)) {
    ToggleCheck(index);
    return;
  }
  // Pressing on an item may become a drag once the mouse moves far enough.
  m_dragItem = index;
  m_dragStart = p;
  if (::GetCapture() != hwnd()) ::SetCapture(hwnd());
  if (shift) {
    SelectRange(m_mark >= 0 ? m_mark : index, index, !control);
    Focus(index);
  } else if (control) {
    const bool selected = (State(index) & LVIS_SELECTED) != 0;
    ChangeState(index, (selected ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_mark = index;
  } else if ((State(index) & LVIS_SELECTED) && SelectedCount() > 1) {
    Focus(index);
    m_mark = index;
    m_pendingSelect = index;
  } else {
    SelectOnly(index);
  }
  EnsureVisible(index, false);
}

void ListViewModel::OnButtonUp(POINT p) {
  if (m_dragItem >= 0 && ::GetCapture() == hwnd()) ::ReleaseCapture();
  m_dragItem = -1;
  if (const int pending = std::exchange(m_pendingSelect, -1); Valid(pending) && m_pressed) SelectOnly(pending);
  if (!m_pressed) return;
  m_pressed = false;
  NotifyActivate(NM_CLICK, p);
}

void ListViewModel::OnMouseMove(UINT flags, POINT p) {
  if (m_dragItem < 0) return;
  if (!(flags & MK_LBUTTON)) {
    m_dragItem = -1;
    return;
  }
  if (std::abs(static_cast<int>(p.x - m_dragStart.x)) < kListDragThreshold &&
      std::abs(static_cast<int>(p.y - m_dragStart.y)) < kListDragThreshold) {
    return;
  }
  // The press became a drag: whoever handles it owns the mouse from here.
  const int item = m_dragItem;
  m_dragItem = -1;
  m_pendingSelect = -1;
  m_pressed = false;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  if (!Valid(item)) return;
  NMLISTVIEW nm;
  nm.hdr.code = LVN_BEGINDRAG;
  nm.iItem = item;
  nm.ptAction = m_dragStart;
  nm.lParam = ParamOf(item);
  NotifyParentWith(nm.hdr);
}

void ListViewModel::NotifyActivate(UINT code, POINT p) {
  LVHITTESTINFO hit;
  hit.pt = p;
  const int index = HitTest(hit, true);
  NMITEMACTIVATE nm;
  nm.hdr.code = code;
  nm.iItem = index;
  nm.iSubItem = index >= 0 ? hit.iSubItem : 0;
  nm.ptAction = p;
  nm.uKeyFlags = KeyFlags();
  if (Valid(index)) {
    nm.uNewState = nm.uOldState = State(index);
    nm.lParam = ParamOf(index);
  }
  NotifyParentWith(nm.hdr);
}

// ---- Keyboard ---------------------------------------------------------------------

void ListViewModel::OnKeyDown(UINT key) {
  NMLVKEYDOWN nm;
  nm.hdr.code = LVN_KEYDOWN;
  nm.wVKey = static_cast<WORD>(key);
  NotifyParentWith(nm.hdr);
  if (!::IsWindow(hwnd())) return;
  const int count = Count();
  if (count == 0) return;
  const bool control = KeyHeld(VK_CONTROL);
  const bool shift = KeyHeld(VK_SHIFT) && !SingleSel();
  if (key == 'A' && control) {
    if (!SingleSel()) SelectRange(0, count - 1, false);
    return;
  }
  if (key == VK_SPACE) {
    if (m_focus < 0) return;
    if (m_exStyle & LVS_EX_CHECKBOXES) {
      ToggleCheck(m_focus);
    } else if (control) {
      ChangeState(m_focus, (State(m_focus) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
      m_mark = m_focus;
    } else if (!(State(m_focus) & LVIS_SELECTED)) {
      SelectOnly(m_focus);
    }
    return;
  }
  if (key == VK_LEFT || key == VK_RIGHT) {
    Scroll(key == VK_LEFT ? -RowHeight() : RowHeight(), 0);
    return;
  }
  const int current = m_focus;
  const int page = std::max(1, PerPage());
  const int bottom = m_top + page - 1;
  int target = current;
  switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    // A page key first goes to the edge of the page, then a page further.
    case VK_PRIOR: target = current < 0 ? 0 : (current > m_top ? m_top : current - (page - 1)); break;
    case VK_NEXT: target = current < 0 ? 0 : (current < bottom ? bottom : current + (page - 1)); break;
    default: return;
  }
  target = std::clamp(target, 0, count - 1);
  // At an end the key changes nothing unless the item is not yet selected.
  if (target == current && (control || (State(current) & LVIS_SELECTED))) return;
  if (control) {
    Focus(target);
  } else if (shift) {
    SelectRange(m_mark >= 0 ? m_mark : target, target, true);
    Focus(target);
  } else {
    SelectOnly(target);
  }
  EnsureVisible(target, false);
}

}  // namespace platform
