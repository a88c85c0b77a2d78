// Relations between windows, attributes, geometry and z-order.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/window/metrics.h"
#include "platform/window/window_registry.h"
#include "platform/window/z_order.h"

using platform::FindWindowRecord;
using platform::WindowRecord;

namespace platform {

POINT ClientOriginOnScreen(const WindowRecord& record) {
  const RECT insets = NonClientInsets(record.style, record.exStyle);
  POINT p{record.rect.left + insets.left, record.rect.top + insets.top};
  if (record.IsChild()) {
    if (WindowRecord* parent = FindWindowRecord(record.parent)) {
      const POINT o = ClientOriginOnScreen(*parent);
      p.x += o.x, p.y += o.y;
    }
  }
  return p;
}

}  // namespace platform

namespace {

// Places hwnd in its sibling list: at the top, at the bottom, or below `after`.
// Top-most top-level windows stay above the others.
void Restack(WindowRecord& record, HWND after) {
  auto& registry = platform::WindowRegistry::Get();
  auto& siblings = registry.Siblings(record);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), record.hwnd), siblings.end());
  auto firstNonTopmost = [&] {
    return std::find_if(siblings.begin(), siblings.end(), [&](HWND h) {
      WindowRecord* r = registry.Find(h);
      return r == nullptr || !(r->exStyle & WS_EX_TOPMOST);
    });
  };
  const bool topLevel = !record.IsChild();
  if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    if (topLevel) {
      record.exStyle = after == HWND_TOPMOST ? (record.exStyle | WS_EX_TOPMOST) : (record.exStyle & ~WS_EX_TOPMOST);
    }
    after = HWND_TOP;
  }
  if (after == HWND_TOP) {
    siblings.insert(topLevel && !(record.exStyle & WS_EX_TOPMOST) ? firstNonTopmost() : siblings.begin(), record.hwnd);
  } else if (after == HWND_BOTTOM) {
    siblings.push_back(record.hwnd);
  } else {
    auto it = std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(it == siblings.end() ? siblings.end() : it + 1, record.hwnd);
  }
  if (topLevel) platform::KeepOwnedAboveOwners(siblings);
}

}  // namespace

HWND GetParent(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return nullptr;
  if (r->IsChild()) return r->parent;
  return (r->style & WS_POPUP) ? r->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  WindowRecord* r = FindWindowRecord(child);
  if (r == nullptr) return nullptr;
  if (!r->IsChild()) {
    if (platform::WouldOwnItself(child, newParent)) return nullptr;
    const HWND old = r->owner;
    r->owner = newParent;
    platform::KeepOwnedAboveOwners(platform::WindowRegistry::Get().TopLevel());
    return old;
  }
  if (FindWindowRecord(newParent) == nullptr || platform::IsSelfOrDescendant(child, newParent)) return nullptr;
  const HWND old = r->parent;
  auto& siblings = platform::WindowRegistry::Get().Siblings(*r);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
  r->parent = newParent;
  platform::WindowRegistry::Get().Siblings(*r).insert(platform::WindowRegistry::Get().Siblings(*r).begin(), child);
  return old;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return nullptr;
  if (relation == GW_CHILD) return r->children.empty() ? nullptr : r->children.front();
  if (relation == GW_OWNER) return r->IsChild() ? nullptr : r->owner;
  const auto& siblings = platform::WindowRegistry::Get().Siblings(*r);
  auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  if (it == siblings.end()) return nullptr;
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings.begin() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND parent) {
  if (parent == nullptr) {
    const auto& top = platform::WindowRegistry::Get().TopLevel();
    return top.empty() ? nullptr : top.front();
  }
  return ::GetWindow(parent, GW_CHILD);
}

HWND GetAncestorTopLevel(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  while (r != nullptr && r->IsChild()) r = FindWindowRecord(r->parent);
  return r != nullptr ? r->hwnd : nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) { return parent != hwnd && platform::IsSelfOrDescendant(parent, hwnd); }

HWND GetDlgItem(HWND dialog, int id) {
  WindowRecord* r = FindWindowRecord(dialog);
  if (r == nullptr) return nullptr;
  for (HWND child : r->children) {
    WindowRecord* c = FindWindowRecord(child);
    if (c != nullptr && c->id == id) return child;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr && r->IsChild() ? r->id : 0;
}

HWND GetDesktopWindow() {
  // The screen has no window record; a fixed non-null handle stands for it.
  return reinterpret_cast<HWND>(uintptr_t{0x10000});
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  const std::vector<HWND> top = platform::WindowRegistry::Get().TopLevel();
  for (HWND h : top) {
    if (::IsWindow(h) && !proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

size_t platform::DestroyAllWindows() {
  const auto live = [] {
    std::vector<HWND> windows = WindowRegistry::Get().TopLevel();
    std::erase_if(windows, [](HWND h) { return !::IsWindow(h); });
    return windows;
  };
  // Destroying one window may destroy others, so the list is read again
  // after every round.
  std::vector<HWND> windows = live();
  while (!windows.empty()) {
    for (HWND hwnd : windows) ::DestroyWindow(hwnd);
    std::vector<HWND> left = live();
    if (left.size() >= windows.size()) return left.size();
    windows = std::move(left);
  }
  return 0;
}

namespace {

bool EnumDescendants(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  WindowRecord* r = FindWindowRecord(parent);
  if (r == nullptr) return true;
  const std::vector<HWND> children = r->children;  // a callback may change the tree
  for (HWND h : children) {
    if (!::IsWindow(h)) continue;
    if (!proc(h, lParam) || !EnumDescendants(h, proc, lParam)) return false;
  }
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  return EnumDescendants(parent, proc, lParam) ? TRUE : FALSE;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(r->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(r->exStyle);
    case GWL_ID: return r->id;
    case GWL_USERDATA: return r->userData;
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(r->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(r->IsChild() ? r->parent : r->owner);
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return 0;
  const LONG_PTR old = ::GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
      platform::DispatchScope scope;
      ::SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
      if ((r = FindWindowRecord(hwnd)) == nullptr) return old;
      (index == GWL_STYLE ? r->style : r->exStyle) = ss.styleNew;
      ::SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
      break;
    }
    case GWL_ID: r->id = static_cast<int>(value); break;
    case GWL_USERDATA: r->userData = value; break;
    case GWL_HINSTANCE: r->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT:
      if (!r->IsChild()) {
        if (platform::WouldOwnItself(hwnd, reinterpret_cast<HWND>(value))) return 0;
        r->owner = reinterpret_cast<HWND>(value);
        platform::KeepOwnedAboveOwners(platform::WindowRegistry::Get().TopLevel());
      }
      break;
    default: return 0;
  }
  return old;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || buffer == nullptr || size <= 0) return 0;
  const size_t n = std::min(r->className.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, r->className.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!::IsWindow(hwnd)) return FALSE;
  return ::SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(::SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(::SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || rect == nullptr) return FALSE;
  *rect = r->rect;
  if (r->IsChild()) {
    if (WindowRecord* parent = FindWindowRecord(r->parent)) {
      const POINT o = platform::ClientOriginOnScreen(*parent);
      rect->left += o.x, rect->right += o.x, rect->top += o.y, rect->bottom += o.y;
    }
  }
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || rect == nullptr) return FALSE;
  const RECT insets = platform::NonClientInsets(r->style, r->exStyle);
  const LONG w = (r->rect.right - r->rect.left) - insets.left - insets.right;
  const LONG h = (r->rect.bottom - r->rect.top) - insets.top - insets.bottom;
  *rect = RECT{0, 0, std::max<LONG>(w, 0), std::max<LONG>(h, 0)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || point == nullptr) return FALSE;
  const POINT o = platform::ClientOriginOnScreen(*r);
  point->x += o.x, point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || point == nullptr) return FALSE;
  const POINT o = platform::ClientOriginOnScreen(*r);
  point->x -= o.x, point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (WindowRecord* r = FindWindowRecord(from)) a = platform::ClientOriginOnScreen(*r);
  if (WindowRecord* r = FindWindowRecord(to)) b = platform::ClientOriginOnScreen(*r);
  const LONG dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) points[i].x += dx, points[i].y += dy;
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return FALSE;
  platform::DispatchScope scope;
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    ::SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((r = FindWindowRecord(hwnd)) == nullptr) return FALSE;
  }
  const RECT old = r->rect;
  if (!(pos.flags & SWP_NOMOVE)) {
    r->rect.left = pos.x, r->rect.top = pos.y;
  }
  if (!(pos.flags & SWP_NOSIZE)) {
    r->rect.right = r->rect.left + std::max(pos.cx, 0);
    r->rect.bottom = r->rect.top + std::max(pos.cy, 0);
  } else {
    r->rect.right = r->rect.left + (old.right - old.left);
    r->rect.bottom = r->rect.top + (old.bottom - old.top);
  }
  if (!(pos.flags & SWP_NOZORDER)) Restack(*r, pos.hwndInsertAfter);
  if (pos.flags & SWP_SHOWWINDOW) r->style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) r->style &= ~WS_VISIBLE;
  // Report only what changed, as the platform does.
  if (r->rect.left == old.left && r->rect.top == old.top) pos.flags |= SWP_NOMOVE;
  if (r->rect.right - r->rect.left == old.right - old.left && r->rect.bottom - r->rect.top == old.bottom - old.top) {
    pos.flags |= SWP_NOSIZE;
  } else {
    r->needsPaint = true;
  }
  pos.x = r->rect.left, pos.y = r->rect.top;
  pos.cx = r->rect.right - r->rect.left, pos.cy = r->rect.bottom - r->rect.top;
  ::SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if ((r = FindWindowRecord(hwnd)) != nullptr && !r->IsChild() && !(flags & SWP_NOACTIVATE) &&
      (r->style & WS_VISIBLE) && !(flags & SWP_NOZORDER)) {
    ::SetActiveWindow(hwnd);
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL) {
  return ::SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL BringWindowToTop(HWND hwnd) { return ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  WindowRecord* r = FindWindowRecord(parent);
  if (r == nullptr) return nullptr;
  RECT client;
  ::GetClientRect(parent, &client);
  if (clientPoint.x < client.left || clientPoint.x >= client.right || clientPoint.y < client.top ||
      clientPoint.y >= client.bottom) {
    return nullptr;
  }
  for (HWND child : r->children) {
    WindowRecord* c = FindWindowRecord(child);
    if (c != nullptr && clientPoint.x >= c->rect.left && clientPoint.x < c->rect.right &&
        clientPoint.y >= c->rect.top && clientPoint.y < c->rect.bottom) {
      return child;
    }
  }
  return parent;
}

HWND WindowFromPoint(POINT screenPoint) {
  // The deepest visible, enabled window under the point, top of the z-order first.
  auto inside = [](const WindowRecord& w, POINT p) {
    RECT rc;
    ::GetWindowRect(w.hwnd, &rc);
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
  };
  auto usable = [](const WindowRecord& w) { return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED); };
  // A window that lets the pointer through (a group box, a label that does
  // not notify, a tool tip) is passed over for what lies beneath it. Each
  // level is copied: the hit test may create or destroy windows.
  const LPARAM at = MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y));
  HWND found = nullptr;
  std::vector<HWND> level = platform::WindowRegistry::Get().TopLevel();
  for (bool descended = true; descended;) {
    descended = false;
    for (HWND h : level) {
      const WindowRecord* w = FindWindowRecord(h);
      if (w == nullptr || !usable(*w) || !inside(*w, screenPoint)) continue;
      if (::SendMessage(h, WM_NCHITTEST, 0, at) == HTTRANSPARENT) continue;
      if ((w = FindWindowRecord(h)) == nullptr) continue;
      found = h;
      level = w->children;
      descended = true;
      break;
    }
  }
  return found;
}
