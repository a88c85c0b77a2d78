// The platform's headers before Xlib's (see x11_session.h).
#include "platform/input/input_driver.h"
#include "platform/render/window_renderer.h"
#include "platform/window/keyboard.h"
#include "platform/window/move_size.h"
#include "terminal/commands/list_menu.h"
#include "terminal/readout/window_dump.h"

#include "terminal/desktop/x11_session.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "terminal/desktop/x11_keys.h"

namespace terminal::desktop {

namespace input = platform::input;

namespace {

constexpr Time kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;
constexpr int kWheelNotch = 120;

bool Captioned(HWND hwnd) { return (::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

// What a shown window stays above: its owner, or for an open list the
// window its combo box lies in.
HWND OwnerOf(HWND hwnd) {
  if (::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) return ::GetAncestorTopLevel(hwnd);
  return ::GetWindow(hwnd, GW_OWNER);
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The windows to show, top of the z-order first: every visible top-level
// window, and every open drop-down list, which the platform keeps as a child
// of its combo box but which reaches past its dialog's edge.
std::vector<HWND> ShownWindows() {
  std::vector<HWND> shown;
  for (HWND top : TopLevelWindows()) {
    if (!::IsWindowVisible(top)) continue;
    std::vector<HWND> lists;
    ::EnumChildWindows(
        top,
        [](HWND w, LPARAM p) -> BOOL {
          if (::IsWindowVisible(w) && WindowClass(w) == "ComboLBox")
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&lists));
    shown.insert(shown.end(), lists.begin(), lists.end());
    shown.push_back(top);
  }
  return shown;
}

// The deepest visible window under a screen point, top of the z-order first,
// looking through windows that say they are transparent (group boxes, labels).
HWND Deepest(HWND hwnd, POINT screen) {
  for (HWND c = ::GetWindow(hwnd, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!(::GetWindowLongPtr(c, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    ::GetWindowRect(c, &r);
    if (!Contains(r, screen)) continue;
    const LRESULT hit =
        ::SendMessage(c, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    if (hit == HTTRANSPARENT) continue;
    return Deepest(c, screen);
  }
  return hwnd;
}

// Whether a screen point lies on the close box of a top-level window's
// caption: the window's own hit test, which its picture agrees with.
bool OnCloseBox(HWND top, POINT screen) {
  return ::SendMessage(top, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) ==
         HTCLOSE;
}

POINT ClientPoint(HWND hwnd, POINT screen) {
  ::ScreenToClient(hwnd, &screen);
  return screen;
}

}  // namespace

Session::Session(XDisplay& display, HWND mainWindow, int menuBarBottom, Hooks hooks)
    : m_display(display),
      m_clipboard(display),
      m_main(mainWindow),
      m_menuBarBottom(menuBarBottom),
      m_hooks(std::move(hooks)) {}

Session::~Session() {
  m_mirrors.clear();
  XFlush(m_display.get());
}

XMirror* Session::MirrorOf(Window window) {
  for (auto& [hwnd, mirror] : m_mirrors) {
    if (mirror->Xid() == window) return mirror.get();
  }
  return nullptr;
}

// The first time a window with a caption shows, it is kept clear of the
// terminal's menu bar, as a window manager keeps windows clear of a panel.
void Session::Place(HWND hwnd) {
  if (hwnd == m_main || !Captioned(hwnd)) return;
  RECT r;
  ::GetWindowRect(hwnd, &r);
  if (r.top >= m_menuBarBottom) return;
  ::SetWindowPos(hwnd, nullptr, r.left, m_menuBarBottom + 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Session::Sync() {
  if (!::IsWindow(m_main)) {
    ::PostQuitMessage(0);
    return;
  }
  NoticeListFocus();  // the list the menu bar's List menu is for
  if (m_hooks.syncing) m_hooks.syncing();
  const std::vector<HWND> shown = ShownWindows();
  for (auto it = m_mirrors.begin(); it != m_mirrors.end();) {
    if (!::IsWindow(it->first)) {
      it = m_mirrors.erase(it);
      m_changed = true;
      continue;
    }
    if (std::find(shown.begin(), shown.end(), it->first) == shown.end() && it->second->Mapped()) {
      it->second->Hide();
      m_changed = true;
    }
    ++it;
  }
  // Bottom first, so that a window mapped later lies above the ones it covers.
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    const HWND hwnd = *it;
    auto found = m_mirrors.find(hwnd);
    if (found == m_mirrors.end()) {
      Place(hwnd);
      RECT r;
      ::GetWindowRect(hwnd, &r);
      found = m_mirrors.emplace(hwnd, std::make_unique<XMirror>(m_display, hwnd, r, Captioned(hwnd), WindowText(hwnd)))
                  .first;
      m_changed = true;
    }
    XMirror& mirror = *found->second;
    RECT r;
    ::GetWindowRect(hwnd, &r);
    const RECT before = mirror.Rect();
    mirror.Place(r);
    if (!mirror.Mapped() || before.left != r.left || before.top != r.top || before.right != r.right ||
        before.bottom != r.bottom) {
      m_changed = true;
    }
    if (Captioned(hwnd)) mirror.SetTitle(WindowText(hwnd));
    mirror.Show();
  }
  Restack(shown);
  if (const HWND active = ::GetActiveWindow(); active != m_active) {
    m_active = active;
    FocusActive();
  }
  if (m_changed || platform::DeliveredMessageCount() != m_deliveredAtPaint) {
    bool painted = m_changed;  // a window came, went or moved
    // Every shown window has its mirror by now (made above).
    for (HWND hwnd : shown) {
      if (::IsWindow(hwnd)) painted = m_mirrors.at(hwnd)->Paint(platform::RenderWindow(hwnd)) || painted;
    }
    m_changed = false;
    m_deliveredAtPaint = platform::DeliveredMessageCount();
    if (painted && m_hooks.painted) m_hooks.painted();
  }
  XFlush(m_display.get());
}

// The platform's z-order, except that a window always lies above the window
// that owns it (an open list above its dialog), as on the platform's desktop.
void Session::Restack(const std::vector<HWND>& shown) {
  std::vector<HWND> order;  // top first
  std::function<void(HWND)> place = [&](HWND hwnd) {
    for (HWND other : shown) {
      if (other != hwnd && OwnerOf(other) == hwnd && std::find(order.begin(), order.end(), other) == order.end()) {
        place(other);
      }
    }
    if (std::find(order.begin(), order.end(), hwnd) == order.end()) order.push_back(hwnd);
  };
  // In the platform's order, each window after the shown windows it owns.
  for (HWND hwnd : shown) place(hwnd);
  // Top-most windows (tool tips always are) float above everything else.
  std::stable_partition(order.begin(), order.end(),
                        [](HWND hwnd) { return (::GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; });
  if (order == m_stacking) return;
  m_stacking = order;
  std::vector<Window> windows;
  for (HWND hwnd : order) {
    if (auto found = m_mirrors.find(hwnd); found != m_mirrors.end()) windows.push_back(found->second->Xid());
  }
  if (!windows.empty()) XRaiseWindow(m_display.get(), windows.front());
  XRestackWindows(m_display.get(), windows.data(), static_cast<int>(windows.size()));
}

void Session::FocusActive() {
  auto found = m_mirrors.find(m_active);
  if (found == m_mirrors.end() || !found->second->Mapped()) return;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(m_display.get(), found->second->Xid(), &attributes) && attributes.map_state == IsViewable) {
    // Focus notices the server sent before this request tell of an older
    // choice (ours, or one this supersedes): Focused() lets them pass.
    m_focusSerial = NextRequest(m_display.get());
    XSetInputFocus(m_display.get(), found->second->Xid(), RevertToParent, CurrentTime);
  }
}

void Session::Wait(int timeoutMs) {
  Sync();
  Display* d = m_display.get();
  if (XPending(d) == 0) {
    pollfd fd{m_display.Fd(), POLLIN, 0};
    ::poll(&fd, 1, timeoutMs);
  }
  // Only what is here now, and never waiting for more: a handler may run a
  // nested loop (a message box) that takes the rest of the queue itself.
  // After a key or a button the loop that called gets its turn: that input
  // may have ended it (Return answering a box), and what follows belongs to
  // the loop beneath, as type-ahead does on the platform.
  for (int n = XPending(d); n > 0 && XPending(d) > 0; --n) {
    XEvent event;
    XNextEvent(d, &event);
    Handle(event);
    if (event.type == KeyPress || event.type == KeyRelease || event.type == ButtonPress ||
        event.type == ButtonRelease) {
      return;
    }
  }
}

HWND Session::Target(const XMirror& mirror, POINT screen) const {
  const HWND hwnd = mirror.Hwnd();
  if (!::IsWindow(hwnd)) return nullptr;
  const LRESULT hit =
      ::SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  if (hit != HTTRANSPARENT) return Deepest(hwnd, screen);
  // A tool-tip lets the pointer through to the window beneath it.
  for (HWND below : m_stacking) {
    RECT r;
    if (below == hwnd || !::IsWindow(below) || !::IsWindowVisible(below) || !::GetWindowRect(below, &r)) continue;
    if (Contains(r, screen) &&
        ::SendMessage(below, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) !=
            HTTRANSPARENT) {
      return Deepest(below, screen);
    }
  }
  return nullptr;
}

void Session::SyncModifiers(unsigned xState) {
  const struct {
    unsigned mask;
    UINT vk;
  } keys[] = {{ShiftMask, VK_SHIFT}, {ControlMask, VK_CONTROL}, {Mod1Mask, VK_MENU}};
  for (const auto& k : keys) {
    const bool want = (xState & k.mask) != 0;
    const bool have = ::GetKeyState(k.vk) < 0;
    if (want && !have) input::KeyDown(k.vk);
    if (!want && have) input::KeyUp(k.vk);
  }
}

void Session::Press(const XButtonEvent& event) {
  XMirror* mirror = MirrorOf(event.window);
  if (mirror == nullptr) return;
  const POINT screen{event.x_root, event.y_root};
  const HWND top = mirror->Hwnd();
  const HWND target = Target(*mirror, screen);
  if (target == nullptr) return;
  SyncModifiers(event.state);
  if (event.button == Button4 || event.button == Button5) {
    input::WheelAt(target, ClientPoint(target, screen), event.button == Button4 ? kWheelNotch : -kWheelNotch);
    return;
  }
  // Buttons 6 and 7: the wheel tilted (or a horizontal wheel), left and right.
  if (event.button == 6 || event.button == 7) {
    input::HorizontalWheelAt(target, ClientPoint(target, screen), event.button == 7 ? kWheelNotch : -kWheelNotch);
    return;
  }
  if (event.button != Button1 && event.button != Button3) return;
  if (event.button == Button1 && target == top && OnCloseBox(top, screen)) {
    if (::IsWindowEnabled(top)) {
      if (top == m_main) ::PostQuitMessage(0);
      else ::PostMessage(top, WM_CLOSE, 0, 0);
    }
    return;
  }
  const bool doubleClick =
      event.button == m_pressButton && target == m_pressed && event.time - m_pressTime < kDoubleClickMs &&
      std::abs(screen.x - m_pressAt.x) <= kDoubleClickSlop && std::abs(screen.y - m_pressAt.y) <= kDoubleClickSlop;
  m_pressed = target;
  m_pressTime = doubleClick ? 0 : event.time;  // a third press starts afresh
  m_pressAt = screen;
  m_pressButton = event.button;
  input::ButtonDownAt(target, ClientPoint(target, screen),
                      event.button == Button1 ? input::Button::Left : input::Button::Right, doubleClick);
}

void Session::Release(const XButtonEvent& event) {
  if (event.button != Button1 && event.button != Button3) return;
  XMirror* mirror = MirrorOf(event.window);
  if (mirror == nullptr) return;
  const POINT screen{event.x_root, event.y_root};
  const input::Button button = event.button == Button1 ? input::Button::Left : input::Button::Right;
  HWND target = Target(*mirror, screen);
  if (HWND capture = ::GetCapture(); capture != nullptr) target = capture;
  if (target == nullptr && ::IsWindow(m_pressed)) target = m_pressed;
  if (target == nullptr) {
    platform::SetKeyDown(button == input::Button::Left ? VK_LBUTTON : VK_RBUTTON, false);
    return;
  }
  input::ButtonUpAt(target, ClientPoint(target, screen), button);
}

void Session::Motion(XEvent& event) {
  // Only the latest position of a run of moves matters.
  while (XCheckTypedWindowEvent(m_display.get(), event.xmotion.window, MotionNotify, &event)) {
  }
  XMirror* mirror = MirrorOf(event.xmotion.window);
  if (mirror == nullptr) return;
  // The root's coordinates: right even while the window moves under the pointer.
  const POINT screen{event.xmotion.x_root, event.xmotion.y_root};
  HWND target = ::GetCapture();
  if (target == nullptr) target = Target(*mirror, screen);
  if (target != nullptr) input::MouseMove(target, ClientPoint(target, screen));
}

void Session::Key(XKeyEvent& event, bool down) {
  const unsigned vk = VirtualKeyOf(static_cast<uint32_t>(XLookupKeysym(&event, 0)));
  if (vk == 0) return;
  if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) {
    if (down != (::GetKeyState(vk) < 0)) down ? input::KeyDown(vk) : input::KeyUp(vk);
    return;
  }
  SyncModifiers(event.state);
  if (down && m_hooks.hotKey) {
    const std::string name = HotKeyName(vk, ModifiersOf(event.state));
    if (!name.empty() && m_hooks.hotKey(name)) {
      m_hotKey = vk;
      return;
    }
  }
  if (!down && vk == m_hotKey) {
    m_hotKey = 0;  // the release of a hot key the terminal took
    return;
  }
  down ? input::KeyDown(vk) : input::KeyUp(vk);
}

// The window manager gave one of the windows the keyboard (a click on it,
// a switch between windows): the platform activates it too, unless it waits
// for a modal window of its own.
void Session::Focused(const XFocusChangeEvent& event) {
  if (event.mode != NotifyNormal || event.detail == NotifyInferior || event.detail == NotifyPointer) return;
  // Sent before our last focus request: the activation it reports is one the
  // platform has since moved on from (it would pull the keyboard back to a
  // window left a moment ago).
  if (static_cast<long>(event.serial - m_focusSerial) < 0) return;
  XMirror* mirror = MirrorOf(event.window);
  if (mirror == nullptr) return;
  const HWND hwnd = mirror->Hwnd();
  if (!Captioned(hwnd) || hwnd == ::GetActiveWindow() || !::IsWindowEnabled(hwnd)) return;
  m_active = hwnd;  // the server's focus is already there
  ::SetActiveWindow(hwnd);
  platform::PumpMessages();
}

// Something outside moved or sized one of the windows (a window manager,
// a tool): the platform's window takes that place, so the next picture and
// hit test agree with the screen. The mirror knows its own requests.
void Session::Configured(XEvent& event) {
  // Only the latest place of a run of changes matters.
  while (XCheckTypedWindowEvent(m_display.get(), event.xconfigure.window, ConfigureNotify, &event)) {
  }
  XMirror* mirror = MirrorOf(event.xconfigure.window);
  if (mirror == nullptr || !::IsWindow(mirror->Hwnd()) || platform::MoveSizeWindow() != nullptr) return;
  POINT at{event.xconfigure.x, event.xconfigure.y};
  if (!event.xconfigure.send_event) {
    // Relative to its parent, which a window manager may have put around it.
    Window child = None;
    int x = 0, y = 0;
    XTranslateCoordinates(m_display.get(), event.xconfigure.window, m_display.Root(), 0, 0, &x, &y, &child);
    at = POINT{x, y};
  }
  const RECT rect{at.x, at.y, at.x + event.xconfigure.width, at.y + event.xconfigure.height};
  if (!mirror->Configured(rect)) return;
  const HWND hwnd = mirror->Hwnd();
  // An open drop-down list stays where its combo box has it (the next sync puts it back).
  if (::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) return;
  RECT now;
  ::GetWindowRect(hwnd, &now);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (now.left == rect.left && now.top == rect.top) flags |= SWP_NOMOVE;
  if (now.right - now.left == rect.right - rect.left && now.bottom - now.top == rect.bottom - rect.top) {
    flags |= SWP_NOSIZE;
  }
  if ((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE)) return;
  ::SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
  platform::PumpMessages();
  m_changed = true;
}

void Session::Handle(XEvent& event) {
  if (m_clipboard.Handle(event)) return;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) {
        if (XMirror* mirror = MirrorOf(event.xexpose.window)) mirror->Repaint();
      }
      break;
    case MapNotify:
      if (XMirror* mirror = MirrorOf(event.xmap.window); mirror != nullptr && mirror->Hwnd() == m_active) {
        FocusActive();
      }
      break;
    case FocusIn: Focused(event.xfocus); break;
    case ConfigureNotify: Configured(event); break;
    case FocusOut:
      // Keys let go while another program has the keyboard are never seen:
      // none stays held here.
      if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior) SyncModifiers(0);
      break;
    case ButtonPress: Press(event.xbutton); break;
    case ButtonRelease: Release(event.xbutton); break;
    case MotionNotify: Motion(event); break;
    case KeyPress: Key(event.xkey, true); break;
    case KeyRelease: Key(event.xkey, false); break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == m_display.wmDeleteWindow) {
        if (XMirror* mirror = MirrorOf(event.xclient.window)) {
          if (mirror->Hwnd() == m_main) ::PostQuitMessage(0);
          else if (::IsWindowEnabled(mirror->Hwnd())) ::PostMessage(mirror->Hwnd(), WM_CLOSE, 0, 0);
        }
      }
      break;
    default: break;
  }
}

}  // namespace terminal::desktop
