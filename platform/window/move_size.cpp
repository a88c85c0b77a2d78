#include "platform/window/move_size.h"

#include <algorithm>
#include <optional>

#include "platform/window/cursor.h"
#include "platform/window/metrics.h"
#include "platform/window/non_client.h"
#include "platform/window/non_client_hit.h"
#include "platform/window/window_registry.h"

namespace platform {
namespace {

struct Tracking {
  HWND hwnd = nullptr;
  LRESULT hit = HTNOWHERE;  // HTCAPTION (move), a side (size), or a caption box
  POINT start{};            // the pointer where it began, on the screen
  POINT last{};             // ... and where the window last followed it
  RECT startRect{};         // the window's rectangle then, on the screen
  MINMAXINFO limits{};
  bool box = false;    // a caption box held
  bool onBox = false;  // ... with the pointer on it
  bool keyboard = false;  // from the window menu: the arrow keys move the pointer it follows
};

constexpr int kKeyStep = 8;

WindowMenuTracker& Tracker() {
  static WindowMenuTracker tracker = nullptr;
  return tracker;
}

std::optional<Tracking>& Current() {
  static std::optional<Tracking> tracking;
  return tracking;
}

bool IsSide(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

// HTLEFT..HTBOTTOMRIGHT and WMSZ_LEFT..WMSZ_BOTTOMRIGHT run in the same order.
WPARAM SideOf(LRESULT hit) { return static_cast<WPARAM>(hit - HTLEFT) + WMSZ_LEFT; }

bool MovesLeft(LRESULT hit) { return hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT; }
bool MovesRight(LRESULT hit) { return hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT; }
bool MovesTop(LRESULT hit) { return hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT; }
bool MovesBottom(LRESULT hit) { return hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT; }

LPARAM PointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }
POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

POINT Cursor() {
  POINT p{};
  ::GetCursorPos(&p);
  return p;
}

// Places the window at a screen rectangle (its parent's client coordinates
// for a child window).
void PlaceOnScreen(HWND hwnd, RECT r, UINT flags) {
  if (WindowRecord* record = FindWindowRecord(hwnd); record != nullptr && record->IsChild()) {
    POINT origin{0, 0};
    ::ClientToScreen(record->parent, &origin);
    r = RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
  }
  ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The rectangle a size to `p` proposes: the sides held follow the pointer,
// the others stay, and the size stays within the track sizes.
RECT SizedRect(const Tracking& t, POINT p) {
  const LONG dx = p.x - t.start.x, dy = p.y - t.start.y;
  RECT r = t.startRect;
  const LONG minW = t.limits.ptMinTrackSize.x, maxW = std::max(minW, t.limits.ptMaxTrackSize.x);
  const LONG minH = t.limits.ptMinTrackSize.y, maxH = std::max(minH, t.limits.ptMaxTrackSize.y);
  if (MovesLeft(t.hit)) r.left = r.right - std::clamp(r.right - (r.left + dx), minW, maxW);
  if (MovesRight(t.hit)) r.right = r.left + std::clamp(r.right + dx - r.left, minW, maxW);
  if (MovesTop(t.hit)) r.top = r.bottom - std::clamp(r.bottom - (r.top + dy), minH, maxH);
  if (MovesBottom(t.hit)) r.bottom = r.top + std::clamp(r.bottom + dy - r.top, minH, maxH);
  return r;
}

void Follow(Tracking& tracking, POINT p) {
  if (tracking.box || (p.x == tracking.last.x && p.y == tracking.last.y)) return;
  tracking.last = p;
  const Tracking t = tracking;  // a handler below may end the loop
  if (t.hit == HTCAPTION) {
    RECT r = t.startRect;
    const LONG dx = p.x - t.start.x, dy = p.y - t.start.y;
    r = RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    ::SendMessage(t.hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    if (::IsWindow(t.hwnd)) PlaceOnScreen(t.hwnd, r, SWP_NOSIZE);
    return;
  }
  RECT r = SizedRect(t, p);
  ::SendMessage(t.hwnd, WM_SIZING, SideOf(t.hit), reinterpret_cast<LPARAM>(&r));
  if (::IsWindow(t.hwnd)) PlaceOnScreen(t.hwnd, r, 0);
}

// Ends the loop; `keep` false puts the window back where it began.
void End(bool keep) {
  const std::optional<Tracking> t = Current();
  Current().reset();
  if (!t) return;  // (each call below does nothing to a window gone meanwhile)
  DispatchScope scope;
  if (!keep && !t->box) PlaceOnScreen(t->hwnd, t->startRect, 0);
  if (::GetCapture() == t->hwnd) ::ReleaseCapture();
  if (t->box) {
    ::InvalidateRect(t->hwnd, nullptr, FALSE);
  } else if (::IsWindow(t->hwnd)) {
    ::SendMessage(t->hwnd, WM_EXITSIZEMOVE, 0, 0);
  }
}

bool Begin(HWND hwnd, LRESULT hit, POINT screen, bool keyboard = false) {
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return false;
  const bool box = hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE;
  if (!box && (record->style & WS_MAXIMIZE)) return false;
  if ((IsSide(hit) || hit == HTNOWHERE) && (record->style & WS_MINIMIZE)) return false;
  if (Current()) End(true);
  DispatchScope scope;
  Tracking t;
  t.hwnd = hwnd;
  t.hit = hit;
  t.start = screen;
  t.last = screen;
  t.box = box;
  t.onBox = box;
  t.keyboard = keyboard;
  ::GetWindowRect(hwnd, &t.startRect);
  if (IsSide(hit)) t.limits = AskMinMaxInfo(hwnd);
  if (!::IsWindow(hwnd)) return false;
  if (!box) ::SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  if (!::IsWindow(hwnd)) return false;
  ::SetCapture(hwnd);
  Current() = t;
  if (box) ::InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

// The command a caption box gives, given the window's state now.
WPARAM BoxCommand(HWND hwnd, LRESULT hit) {
  if (hit == HTCLOSE) return SC_CLOSE;
  if (hit == HTMINBUTTON) return ::IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
  return ::IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
}

// Whether a press on a caption box does anything: the style has the box.
bool BoxEnabled(HWND hwnd, LRESULT hit) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtr(hwnd, GWL_STYLE));
  if (hit == HTCLOSE) return (style & WS_SYSMENU) != 0;
  // A minimised window's first box restores it.
  if (hit == HTMINBUTTON) return (style & WS_MINIMIZEBOX) != 0 || (style & WS_MINIMIZE) != 0;
  return (style & WS_MAXIMIZEBOX) != 0;
}

// An arrow key in a move or size from the keyboard: the pointer it stands
// for moves a step, and the window (or the side chosen) follows it.
void KeyStep(UINT vk) {
  if (vk != VK_LEFT && vk != VK_RIGHT && vk != VK_UP && vk != VK_DOWN) return;
  if (Current()->hit == HTNOWHERE) {
    const HWND hwnd = Current()->hwnd;
    const MINMAXINFO limits = AskMinMaxInfo(hwnd);
    if (!Current()) return;  // the window ended the loop meanwhile
    Tracking& t = *Current();
    t.hit = vk == VK_LEFT ? HTLEFT : vk == VK_RIGHT ? HTRIGHT : vk == VK_UP ? HTTOP : HTBOTTOM;
    ::GetWindowRect(hwnd, &t.startRect);
    t.start = t.last;
    t.limits = limits;
  }
  POINT p = Current()->last;
  if (vk == VK_LEFT) p.x -= kKeyStep;
  if (vk == VK_RIGHT) p.x += kKeyStep;
  if (vk == VK_UP) p.y -= kKeyStep;
  if (vk == VK_DOWN) p.y += kKeyStep;
  ::SetCursorPos(p.x, p.y);  // the pointer goes with it, so that the mouse goes on from there
  Follow(*Current(), p);
}

}  // namespace

bool SetWindowMenuTracker(WindowMenuTracker tracker) {
  Tracker() = tracker;
  return true;
}

MINMAXINFO AskMinMaxInfo(HWND hwnd) {
  MINMAXINFO limits;
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return limits;
  const RECT frame = NonClientInsets(record->style & ~(WS_HSCROLL | WS_VSCROLL), record->exStyle);
  const int border = frame.left;  // the caption lies on the screen, the frame just off it
  limits.ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN) + 2 * border, GetSystemMetrics(SM_CYSCREEN) + 2 * border};
  limits.ptMaxPosition = POINT{-border, -border};
  limits.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  limits.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  ::SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  return limits;
}

LRESULT FrameDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto hit = static_cast<LRESULT>(wParam);
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtr(hwnd, GWL_STYLE));
  switch (message) {
    case WM_NCLBUTTONDBLCLK:
      if (hit == HTCAPTION && (style & WS_MAXIMIZEBOX)) {
        const WPARAM command = (style & (WS_MINIMIZE | WS_MAXIMIZE)) ? SC_RESTORE : SC_MAXIMIZE;
        return ::SendMessage(hwnd, WM_SYSCOMMAND, command, lParam);
      }
      if (hit == HTSYSMENU) return ::SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      [[fallthrough]];  // elsewhere a second press is a press
    case WM_NCLBUTTONDOWN:
      if (hit == HTCAPTION) return ::SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      if (IsSide(hit)) return ::SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + SideOf(hit), lParam);
      if ((hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE) && BoxEnabled(hwnd, hit)) {
        Begin(hwnd, hit, PointOf(lParam));
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MOVE:
          if ((wParam & 0x000F) == HTCAPTION) {
            Begin(hwnd, HTCAPTION, PointOf(lParam));
          } else {
            Begin(hwnd, HTCAPTION, Cursor(), true);
          }
          return 0;
        case SC_SIZE: {
          const WPARAM side = wParam & 0x000F;
          if (side >= WMSZ_LEFT && side <= WMSZ_BOTTOMRIGHT) {
            Begin(hwnd, HTLEFT + static_cast<LRESULT>(side - WMSZ_LEFT), PointOf(lParam));
          } else if (side == 0 && (style & WS_THICKFRAME)) {
            Begin(hwnd, HTNOWHERE, Cursor(), true);  // the first arrow chooses the side
          }
          return 0;
        }
        case SC_KEYMENU:
          if (lParam == ' ' && (style & WS_SYSMENU) && Tracker() != nullptr) {
            const WPARAM command = Tracker()(hwnd);
            if (command != 0 && ::IsWindow(hwnd)) ::SendMessage(hwnd, WM_SYSCOMMAND, command, 0);
          }
          return 0;
        case SC_MINIMIZE:
          if (style & WS_MINIMIZEBOX) ::ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case SC_MAXIMIZE:
          if (style & WS_MAXIMIZEBOX) ::ShowWindow(hwnd, SW_MAXIMIZE);
          return 0;
        case SC_RESTORE:
          if (style & (WS_MINIMIZE | WS_MAXIMIZE)) ::ShowWindow(hwnd, SW_RESTORE);
          return 0;
        case SC_CLOSE: return ::SendMessage(hwnd, WM_CLOSE, 0, 0);
        default: return 0;
      }
    default: return 0;
  }
}

bool TakeMoveSizeInput(const MSG& msg) {
  if (!Current()) return false;
  const Tracking t = *Current();
  if (!::IsWindow(t.hwnd) || ::GetCapture() != t.hwnd) {
    // Something else took the mouse: the loop ends where it is.
    End(true);
    return false;
  }
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (t.hit == HTNOWHERE) return true;  // a size waiting for an arrow to choose its side
      if (t.box) {
        const bool on = NonClientHitTest(t.hwnd, Cursor()) == t.hit;
        if (on != t.onBox) {
          Current()->onBox = on;
          ::InvalidateRect(t.hwnd, nullptr, FALSE);
        }
      } else {
        Follow(*Current(), Cursor());
      }
      return true;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: {
      const bool command = t.box && NonClientHitTest(t.hwnd, Cursor()) == t.hit;
      if (!t.box && t.hit != HTNOWHERE) Follow(*Current(), Cursor());
      End(true);
      if (command && ::IsWindow(t.hwnd)) {
        ::SendMessage(t.hwnd, WM_SYSCOMMAND, BoxCommand(t.hwnd, t.hit), PointParam(Cursor()));
      }
      return true;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_ESCAPE) End(false);
      if (msg.wParam == VK_RETURN) End(true);
      if (t.keyboard && Current()) KeyStep(static_cast<UINT>(msg.wParam));
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSEWHEEL: return true;
    default: return false;
  }
}

HWND MoveSizeWindow() { return Current() ? Current()->hwnd : nullptr; }

LRESULT PushedCaptionBox(HWND hwnd) {
  const auto& t = Current();
  return t && t->box && t->onBox && t->hwnd == hwnd ? t->hit : HTNOWHERE;
}

void CancelMoveSize() { End(false); }

}  // namespace platform
