// Visibility, enabling, focus, activation and mouse capture.
//
// Focus and activation follow the platform: the active window is a
// top-level window; giving the focus to a window activates its top-level
// window; WM_KILLFOCUS goes to the old focus and then WM_SETFOCUS to the new,
// each with the other's handle, while GetFocus already reports the new one.
// A window that is hidden, disabled or destroyed while it or a descendant has
// the focus loses it (the focus becomes null).
#include <algorithm>

#include "platform/window/metrics.h"
#include "platform/window/move_size.h"
#include "platform/window/window_registry.h"

namespace {

platform::WindowRegistry& Registry() { return platform::WindowRegistry::Get(); }

HWND TopLevelOf(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  while (r != nullptr && r->IsChild()) r = platform::FindWindowRecord(r->parent);
  return r != nullptr ? r->hwnd : nullptr;
}

bool ActivatingShow(int command) {
  return command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
         command != SW_MINIMIZE && command != SW_HIDE;
}

void DropFocusWithin(HWND hwnd) {
  auto& registry = Registry();
  if (registry.focus != nullptr && platform::IsSelfOrDescendant(hwnd, registry.focus)) ::SetFocus(nullptr);
  if (registry.capture != nullptr && platform::IsSelfOrDescendant(hwnd, registry.capture)) ::ReleaseCapture();
}

}  // namespace

namespace {

// The minimized and maximized states a show command leaves.
void ApplySizeState(platform::WindowRecord& record, int command) {
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: record.style = (record.style | WS_MINIMIZE) & ~WS_MAXIMIZE; break;
    case SW_SHOWMAXIMIZED: record.style = (record.style | WS_MAXIMIZE) & ~WS_MINIMIZE; break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: record.style &= ~(WS_MINIMIZE | WS_MAXIMIZE); break;
    default: break;  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE, SW_HIDE keep the state
  }
}

}  // namespace

BOOL IsIconic(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  return r != nullptr && (r->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  return r != nullptr && (r->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

namespace {

// The rectangle of a minimised window: a bar as wide as SM_CXMINIMIZED and
// as tall as its frame and caption, in the first free place from the left
// along the bottom of the screen (or the line set above it, a task bar's),
// as the platform arranges them.
RECT IconicRect(const platform::WindowRecord& record) {
  const RECT frame = platform::NonClientInsets(record.style & ~(WS_HSCROLL | WS_VSCROLL), record.exStyle);
  const int width = GetSystemMetrics(SM_CXMINIMIZED);
  const int height = frame.top + frame.bottom;
  const int bottom = platform::MinimizedBottom();
  for (int left = 0;; left += width) {
    const bool taken = std::any_of(Registry().TopLevel().begin(), Registry().TopLevel().end(), [&](HWND other) {
      const platform::WindowRecord* r = platform::FindWindowRecord(other);
      return r != nullptr && r != &record && (r->style & WS_MINIMIZE) && (r->style & WS_VISIBLE) &&
             r->rect.left == left && r->rect.bottom == bottom;
    });
    if (!taken || left + width > GetSystemMetrics(SM_CXSCREEN)) {
      return RECT{left, bottom - height, left + width, bottom};
    }
  }
}

// A minimised window gives the activation away: to its owner, or else to
// the topmost other window that is shown, enabled and not minimised.
void ActivateAnother(HWND hwnd) {
  auto usable = [&](HWND h) {
    const platform::WindowRecord* r = platform::FindWindowRecord(h);
    return h != hwnd && r != nullptr && (r->style & WS_VISIBLE) && !(r->style & (WS_DISABLED | WS_MINIMIZE)) &&
           !(r->exStyle & WS_EX_NOACTIVATE);
  };
  const platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (record != nullptr && usable(record->owner)) {
    ::SetActiveWindow(record->owner);
    return;
  }
  for (HWND other : std::vector<HWND>(Registry().TopLevel())) {
    if (usable(other)) {
      ::SetActiveWindow(other);
      return;
    }
  }
}

// Moves a top-level window whose minimised or maximised state changed to the
// place of its new state; the rectangle it had in neither state is kept to
// come back to. False when the window went away meanwhile.
bool PlaceForSizeState(HWND hwnd, bool wasIconic, bool wasZoomed) {
  platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (!wasIconic && !wasZoomed) record->normalRect = record->rect;
  RECT target = record->normalRect;
  if (record->style & WS_MINIMIZE) {
    record->restoreMaximized = wasZoomed;
    target = IconicRect(*record);
  } else if (record->style & WS_MAXIMIZE) {
    const MINMAXINFO limits = platform::AskMinMaxInfo(hwnd);
    target = RECT{limits.ptMaxPosition.x, limits.ptMaxPosition.y, limits.ptMaxPosition.x + limits.ptMaxSize.x,
                  limits.ptMaxPosition.y + limits.ptMaxSize.y};
  }
  if ((record = platform::FindWindowRecord(hwnd)) == nullptr) return false;
  ::SetWindowPos(hwnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return platform::FindWindowRecord(hwnd) != nullptr;
}

// Shows or hides a window whose visibility changes, telling it why (0 for
// its own show command, SW_PARENTCLOSING / SW_PARENTOPENING when its owner
// is minimised or restored). False when the window went away meanwhile.
bool ChangeVisibility(HWND hwnd, bool show, LPARAM status) {
  ::SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, status);
  platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (record == nullptr) return false;
  if (show) {
    record->style |= WS_VISIBLE;
    platform::InvalidateTree(hwnd);
  } else {
    record->style &= ~WS_VISIBLE;
  }
  WINDOWPOS pos{hwnd,
                nullptr,
                record->rect.left,
                record->rect.top,
                record->rect.right - record->rect.left,
                record->rect.bottom - record->rect.top,
                SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW)};
  ::SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (!show) {
    DropFocusWithin(hwnd);
    if (Registry().active == hwnd) {
      // Activation passes to the owner, as when a dialog closes.
      platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
      HWND owner = r != nullptr ? r->owner : nullptr;
      if (owner != nullptr && ::IsWindowVisible(owner)) {
        ::SetActiveWindow(owner);
      } else {
        Registry().active = nullptr;
        ::SendMessage(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
      }
    }
  }
  return platform::FindWindowRecord(hwnd) != nullptr;
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command) {
  platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (record == nullptr) return FALSE;
  const bool wasVisible = (record->style & WS_VISIBLE) != 0;
  const bool wasIconic = (record->style & WS_MINIMIZE) != 0;
  const bool wasZoomed = (record->style & WS_MAXIMIZE) != 0;
  ApplySizeState(*record, command);
  // A minimised window that was maximised comes back maximised.
  if (wasIconic && record->restoreMaximized && command == SW_RESTORE) record->style |= WS_MAXIMIZE;
  const bool iconic = (record->style & WS_MINIMIZE) != 0;
  record->hiddenWithOwner = false;  // its own command decides from now on
  const bool show = command != SW_HIDE;
  platform::DispatchScope scope;
  if (!record->IsChild() && (iconic != wasIconic || ((record->style & WS_MAXIMIZE) != 0) != wasZoomed)) {
    if (!PlaceForSizeState(hwnd, wasIconic, wasZoomed)) return wasVisible;
    if ((record = platform::FindWindowRecord(hwnd)) == nullptr) return wasVisible;
  }
  // Owned pop-ups go away with a minimised owner and come back with it.
  if (iconic && !wasIconic) ::ShowOwnedPopups(hwnd, FALSE);
  if (show != wasVisible && !ChangeVisibility(hwnd, show, 0)) return wasVisible;
  if (wasIconic && !iconic && show) ::ShowOwnedPopups(hwnd, TRUE);
  if (iconic && !wasIconic && Registry().active == hwnd) ActivateAnother(hwnd);
  record = platform::FindWindowRecord(hwnd);
  if (show && record != nullptr && !record->IsChild() && ActivatingShow(command) &&
      !(record->exStyle & WS_EX_NOACTIVATE)) {
    ::SetActiveWindow(hwnd);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL ShowOwnedPopups(HWND owner, BOOL show) {
  if (platform::FindWindowRecord(owner) == nullptr) return FALSE;
  platform::DispatchScope scope;
  const std::vector<HWND> windows = Registry().TopLevel();  // a handler may create or destroy windows
  for (const HWND hwnd : windows) {
    platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
    if (r == nullptr || r->owner != owner) continue;
    if (!show && (r->style & WS_VISIBLE)) {
      if (ChangeVisibility(hwnd, false, SW_PARENTCLOSING)) {
        if ((r = platform::FindWindowRecord(hwnd)) != nullptr) r->hiddenWithOwner = true;
      }
    } else if (show && r->hiddenWithOwner) {
      r->hiddenWithOwner = false;
      ChangeVisibility(hwnd, true, SW_PARENTOPENING);
    }
  }
  return TRUE;
}

BOOL IsWindowVisible(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  if (r == nullptr) return FALSE;
  for (; r != nullptr; r = r->IsChild() ? platform::FindWindowRecord(r->parent) : nullptr) {
    if (!(r->style & WS_VISIBLE)) return FALSE;
  }
  return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (record == nullptr) return FALSE;
  const bool wasDisabled = (record->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
  platform::DispatchScope scope;
  if (!enable) DropFocusWithin(hwnd);
  if ((record = platform::FindWindowRecord(hwnd)) == nullptr) return wasDisabled;
  if (enable) {
    record->style &= ~WS_DISABLED;
  } else {
    record->style |= WS_DISABLED;
  }
  ::SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  return r != nullptr && !(r->style & WS_DISABLED) ? TRUE : FALSE;
}

HWND SetFocus(HWND hwnd) {
  auto& registry = Registry();
  const HWND old = registry.focus;
  platform::DispatchScope scope;
  if (hwnd == nullptr) {
    registry.focus = nullptr;
    if (old != nullptr) ::SendMessage(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  for (platform::WindowRecord* r = platform::FindWindowRecord(hwnd); r != nullptr;
       r = r->IsChild() ? platform::FindWindowRecord(r->parent) : nullptr) {
    if (r->style & WS_DISABLED) return nullptr;
  }
  if (platform::FindWindowRecord(hwnd) == nullptr) return nullptr;
  const HWND top = TopLevelOf(hwnd);
  if (top != registry.active) ::SetActiveWindow(top);
  if (registry.focus == hwnd) return old;
  const HWND previous = registry.focus;
  registry.focus = hwnd;
  if (previous != nullptr) ::SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (registry.focus == hwnd) ::SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return old;
}

HWND GetFocus() { return Registry().focus; }

HWND SetActiveWindow(HWND hwnd) {
  auto& registry = Registry();
  const HWND top = TopLevelOf(hwnd);
  const HWND old = registry.active;
  if (top == nullptr || top == old) return old;
  platform::DispatchScope scope;
  if (old != nullptr) {
    // The old window still holds the focus while it hears WM_ACTIVATE, so
    // that a dialog can note the control to give it back to.
    ::SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    ::SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top));
  }
  registry.active = top;
  ::SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SendMessage(top, WM_NCACTIVATE, TRUE, 0);
  ::SendMessage(top, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
  // A window that took no focus of its own leaves none in the inactive one.
  if (registry.active == top && registry.focus != nullptr && !platform::IsSelfOrDescendant(top, registry.focus)) {
    const HWND lost = registry.focus;
    registry.focus = nullptr;
    ::SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  return old;
}

HWND GetActiveWindow() { return Registry().active; }
BOOL SetForegroundWindow(HWND hwnd) { return ::SetActiveWindow(hwnd), ::IsWindow(hwnd); }
HWND GetForegroundWindow() { return Registry().active; }

HWND SetCapture(HWND hwnd) {
  auto& registry = Registry();
  const HWND old = registry.capture;
  if (old == hwnd) return old;
  registry.capture = hwnd;
  if (old != nullptr) ::SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  auto& registry = Registry();
  const HWND old = registry.capture;
  registry.capture = nullptr;
  if (old != nullptr) ::SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Registry().capture; }

// Painting: an invalidated window waits for WM_PAINT, which the pump sends
// when no posted message is left (before timers), or UpdateWindow at once.
// The whole window is repainted whatever rectangle was invalidated.
BOOL InvalidateRect(HWND hwnd, LPCRECT, BOOL) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  if (r == nullptr) return FALSE;
  r->needsPaint = true;
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, LPCRECT) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  if (r == nullptr) return FALSE;
  r->needsPaint = false;
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  const platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  const bool waiting = r != nullptr && r->needsPaint;
  if (rect != nullptr) {
    *rect = RECT{};
    if (waiting) ::GetClientRect(hwnd, rect);
  }
  return waiting ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
  platform::WindowRecord* r = platform::FindWindowRecord(hwnd);
  if (r == nullptr) return FALSE;
  if (r->needsPaint && ::IsWindowVisible(hwnd)) {
    r->needsPaint = false;
    ::SendMessage(hwnd, WM_PAINT, 0, 0);
  }
  return TRUE;
}

// Windows are repainted whole and always erased, so the rectangle, the
// region and RDW_ERASE change nothing.
BOOL RedrawWindow(HWND hwnd, LPCRECT, HRGN, UINT flags) {
  if (platform::FindWindowRecord(hwnd) == nullptr) return FALSE;
  if (flags & RDW_INVALIDATE) {
    if (flags & RDW_ALLCHILDREN) {
      platform::InvalidateTree(hwnd);
    } else {
      ::InvalidateRect(hwnd, nullptr, TRUE);
    }
  }
  if (flags & RDW_UPDATENOW) {
    ::UpdateWindow(hwnd);
    if (flags & RDW_ALLCHILDREN) {
      ::EnumChildWindows(
          hwnd, [](HWND child, LPARAM) { return ::UpdateWindow(child); }, 0);
    }
  }
  return TRUE;
}

namespace platform {

void InvalidateTree(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return;
  r->needsPaint = true;
  for (HWND child : r->children) InvalidateTree(child);
}

namespace {

HWND FindDirty(const std::vector<HWND>& level) {
  for (HWND h : level) {
    WindowRecord* r = FindWindowRecord(h);
    if (r == nullptr || !(r->style & WS_VISIBLE)) continue;
    if (r->needsPaint) return h;
    if (HWND child = FindDirty(r->children)) return child;
  }
  return nullptr;
}

}  // namespace

HWND NextWindowToPaint() { return FindDirty(Registry().TopLevel()); }

}  // namespace platform
