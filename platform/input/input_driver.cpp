#include "platform/input/input_driver.h"

#include <string>
#include <vector>

#include "platform/window/cursor.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_registry.h"
#include "platform/window/z_order.h"

namespace platform::input {
namespace {

bool AcceptsInput(HWND hwnd) {
  if (!::IsWindowVisible(hwnd)) return false;
  for (HWND h = hwnd; h != nullptr;) {
    WindowRecord* r = FindWindowRecord(h);
    if (r == nullptr || (r->style & WS_DISABLED)) return false;
    h = r->IsChild() ? r->parent : nullptr;
  }
  return true;
}

void PostAndPump(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ::PostMessage(hwnd, message, wParam, lParam);
  PumpMessages();
}

class HeldModifiers {
 public:
  explicit HeldModifiers(unsigned modifiers) {
    if (modifiers & kControl) Hold(VK_CONTROL);
    if (modifiers & kShift) Hold(VK_SHIFT);
    if (modifiers & kAlt) Hold(VK_MENU);
  }
  ~HeldModifiers() {
    for (auto it = m_held.rbegin(); it != m_held.rend(); ++it) KeyUp(*it);
  }
  HeldModifiers(const HeldModifiers&) = delete;
  HeldModifiers& operator=(const HeldModifiers&) = delete;

 private:
  void Hold(UINT vk) {
    if (IsKeyDown(vk)) return;
    KeyDown(vk);
    m_held.push_back(vk);
  }
  std::vector<UINT> m_held;
};

WPARAM MouseKeyFlags() {
  WPARAM flags = 0;
  if (IsKeyDown(VK_SHIFT)) flags |= MK_SHIFT;
  if (IsKeyDown(VK_CONTROL)) flags |= MK_CONTROL;
  if (IsKeyDown(VK_LBUTTON)) flags |= MK_LBUTTON;
  if (IsKeyDown(VK_RBUTTON)) flags |= MK_RBUTTON;
  return flags;
}

UINT NonClientMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE: return WM_NCMOUSEMOVE;
    case WM_LBUTTONDOWN: return WM_NCLBUTTONDOWN;
    case WM_LBUTTONUP: return WM_NCLBUTTONUP;
    case WM_LBUTTONDBLCLK: return WM_NCLBUTTONDBLCLK;
    default: return 0;
  }
}

// Sends one mouse message at a client point of `hwnd`, or to the capture
// window (in its coordinates) while one holds the mouse. The pointer moves
// there first; without a capture the target is asked for its hit test and
// to set the cursor, as the platform does before every mouse message.
void SendMouse(HWND hwnd, POINT client, UINT message) {
  POINT screen = client;
  ::ClientToScreen(hwnd, &screen);
  ::SetCursorPos(screen.x, screen.y);
  HWND target = hwnd;
  POINT p = client;
  if (HWND capture = ::GetCapture(); capture != nullptr) {
    p = screen;
    ::ScreenToClient(capture, &p);
    target = capture;
  } else {
    const LRESULT hit =
        ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    if (!::IsWindow(target)) return;
    ::SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                  MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    if (!::IsWindow(target)) return;
    // Outside the client area (a scroll bar): the non-client message, with
    // the hit code and the point on the screen.
    if (const UINT nc = NonClientMessage(message); nc != 0 && hit > HTCLIENT) {
      PostAndPump(target, nc, static_cast<WPARAM>(hit),
                  MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
      return;
    }
  }
  PostAndPump(target, message, MouseKeyFlags(), MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

POINT Centre(HWND hwnd) {
  RECT r;
  ::GetClientRect(hwnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool WantsDoubleClicks(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  // Windows of the framework's own classes take double clicks.
  return r != nullptr && (!r->model || (r->classStyle & CS_DBLCLKS));
}

// Moves the pointer onto the window and activates its top-level window as a
// click would (unless WM_MOUSEACTIVATE says not to); false when the click
// must not go on (refused input, or an answer that eats it).
bool PrepareMouse(HWND hwnd, POINT client, UINT button) {
  if (!AcceptsInput(hwnd)) {
    // A press on a window that waits for one of its own (the owner of a
    // running modal dialog) only brings that one up and activates it.
    const HWND top = ::GetAncestorTopLevel(hwnd);
    if (::IsWindowVisible(hwnd) && !::IsWindowEnabled(top)) {
      if (const HWND popup = EnabledPopupOf(top)) ::SetActiveWindow(popup);
    }
    return false;
  }
  SendMouse(hwnd, client, WM_MOUSEMOVE);
  if (!::IsWindow(hwnd)) return false;
  const HWND top = ::GetAncestorTopLevel(hwnd);
  if (top != ::GetActiveWindow()) {
    const LRESULT answer = ::SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                         MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(button)));
    // A WS_EX_NOACTIVATE window (a tool palette, a pop-up list) takes the
    // click without taking the activation from the window that has it.
    const bool activates = (::GetWindowLong(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0;
    if (activates && (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT)) ::SetActiveWindow(top);
    if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return false;
  }
  return ::IsWindow(hwnd);
}

bool Press(HWND hwnd, POINT client, UINT down, UINT up, UINT buttonKey) {
  SetKeyDown(buttonKey, true);
  SendMouse(hwnd, client, down);
  SetKeyDown(buttonKey, false);
  if (::IsWindow(hwnd) || ::GetCapture() != nullptr) {
    SendMouse(::IsWindow(hwnd) ? hwnd : ::GetCapture(), client, up);
  }
  return true;
}

}  // namespace

bool ClickAt(HWND hwnd, POINT client, unsigned modifiers) {
  HeldModifiers held(modifiers);
  if (!PrepareMouse(hwnd, client, WM_LBUTTONDOWN)) return false;
  return Press(hwnd, client, WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON);
}

bool Click(HWND hwnd, unsigned modifiers) { return ClickAt(hwnd, Centre(hwnd), modifiers); }

bool DoubleClickAt(HWND hwnd, POINT client, unsigned modifiers) {
  HeldModifiers held(modifiers);
  if (!PrepareMouse(hwnd, client, WM_LBUTTONDOWN)) return false;
  Press(hwnd, client, WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON);
  if (!::IsWindow(hwnd) || !AcceptsInput(hwnd)) return true;
  return Press(hwnd, client, WantsDoubleClicks(hwnd) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON);
}


bool RightClickAt(HWND hwnd, POINT client, unsigned modifiers) {
  HeldModifiers held(modifiers);
  if (!PrepareMouse(hwnd, client, WM_RBUTTONDOWN)) return false;
  return Press(hwnd, client, WM_RBUTTONDOWN, WM_RBUTTONUP, VK_RBUTTON);
}

bool RightClick(HWND hwnd, unsigned modifiers) { return RightClickAt(hwnd, Centre(hwnd), modifiers); }

bool MouseMove(HWND hwnd, POINT client) {
  if (!AcceptsInput(hwnd)) return false;
  SendMouse(hwnd, client, WM_MOUSEMOVE);
  return true;
}

bool ButtonDown(HWND hwnd, POINT client, unsigned modifiers) {
  HeldModifiers held(modifiers);
  if (!PrepareMouse(hwnd, client, WM_LBUTTONDOWN)) return false;
  SetKeyDown(VK_LBUTTON, true);
  SendMouse(hwnd, client, WM_LBUTTONDOWN);
  return true;
}

bool ButtonUp(HWND hwnd, POINT client) {
  const bool wasDown = IsKeyDown(VK_LBUTTON);
  SetKeyDown(VK_LBUTTON, false);
  const HWND target = ::IsWindow(hwnd) ? hwnd : ::GetCapture();
  if (target == nullptr) return false;
  SendMouse(target, client, WM_LBUTTONUP);
  return wasDown;
}

namespace {

struct ButtonMessages {
  UINT down, doubleClick, up, key;
};

ButtonMessages MessagesOf(Button button) {
  if (button == Button::Right) return {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, VK_RBUTTON};
  return {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, VK_LBUTTON};
}

}  // namespace

bool ButtonDownAt(HWND hwnd, POINT client, Button button, bool doubleClick) {
  const ButtonMessages m = MessagesOf(button);
  if (!PrepareMouse(hwnd, client, m.down)) return false;
  SetKeyDown(m.key, true);
  SendMouse(hwnd, client, doubleClick && WantsDoubleClicks(hwnd) ? m.doubleClick : m.down);
  return true;
}

bool ButtonUpAt(HWND hwnd, POINT client, Button button) {
  const ButtonMessages m = MessagesOf(button);
  const bool wasDown = IsKeyDown(m.key);
  SetKeyDown(m.key, false);
  // The release goes to the capture whatever lies under the pointer, even
  // when the window pressed has gone meanwhile.
  const HWND target = ::IsWindow(hwnd) ? hwnd : ::GetCapture();
  if (target == nullptr || (::GetCapture() == nullptr && !AcceptsInput(target))) return false;
  SendMouse(target, client, m.up);
  return wasDown;
}

bool WheelAt(HWND hwnd, POINT client, int delta) {
  if (!AcceptsInput(hwnd)) return false;
  POINT screen = client;
  ::ClientToScreen(hwnd, &screen);
  ::SetCursorPos(screen.x, screen.y);
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(static_cast<short>(delta)));
  PostAndPump(hwnd, WM_MOUSEWHEEL, wParam, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  return true;
}

bool HorizontalWheelAt(HWND hwnd, POINT client, int delta) {
  if (!AcceptsInput(hwnd)) return false;
  POINT screen = client;
  ::ClientToScreen(hwnd, &screen);
  ::SetCursorPos(screen.x, screen.y);
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(static_cast<short>(delta)));
  PostAndPump(hwnd, WM_MOUSEHWHEEL, wParam, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  return true;
}

namespace {

bool SendKey(UINT vk, bool down) {
  HWND target = ::GetFocus();
  if (target == nullptr) target = ::GetActiveWindow();
  const bool wasDown = IsKeyDown(vk);
  SetKeyDown(vk, down);
  if (target == nullptr || !AcceptsInput(target)) return false;
  const bool alt = IsKeyDown(VK_MENU);
  const bool system = (alt && !IsKeyDown(VK_CONTROL)) || vk == VK_F10 || vk == VK_MENU;
  LPARAM lParam = 1;  // repeat count
  if (alt) lParam |= KF_ALTDOWN_BIT;
  if (wasDown) lParam |= KF_REPEAT_BIT;
  if (!down) lParam |= KF_REPEAT_BIT | KF_UP_BIT;
  const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  PostAndPump(target, message, vk, lParam);
  return true;
}

}  // namespace

bool KeyDown(UINT vk) { return SendKey(vk, true); }
bool KeyUp(UINT vk) { return SendKey(vk, false); }

bool PressKey(UINT vk, unsigned modifiers) {
  HeldModifiers held(modifiers);
  const bool delivered = KeyDown(vk);
  KeyUp(vk);
  return delivered;
}

bool TypeText(std::string_view text) {
  for (char ch : text) {
    const SHORT scan = ::VkKeyScan(ch);
    if (scan == -1) {
      // No key types it: deliver the character alone, as an input method would.
      HWND target = ::GetFocus();
      if (target == nullptr || !AcceptsInput(target)) return false;
      PostAndPump(target, WM_CHAR, static_cast<unsigned char>(ch), 1);
      continue;
    }
    const bool shift = (scan & 0x100) != 0;
    if (!PressKey(static_cast<UINT>(scan & 0xFF), shift ? kShift : kNone)) return false;
  }
  return true;
}

bool Focus(HWND hwnd) {
  if (!AcceptsInput(hwnd)) return false;
  ::SetFocus(hwnd);
  PumpMessages();
  return ::GetFocus() == hwnd;
}

void Advance(uint64_t ms) { AdvanceClock(ms); }

namespace {

bool TextIs(HWND hwnd, std::string_view text) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return false;
  const int length = ::GetWindowTextLength(hwnd);
  if (length != static_cast<int>(text.size())) return false;
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  ::GetWindowText(hwnd, buffer.data(), length + 1);
  return std::string_view(buffer.data(), static_cast<size_t>(length)) == text;
}

HWND FindIn(const std::vector<HWND>& level, std::string_view text) {
  for (HWND h : std::vector<HWND>(level)) {
    if (TextIs(h, text)) return h;
    WindowRecord* r = FindWindowRecord(h);
    if (r == nullptr) continue;
    if (HWND found = FindIn(r->children, text)) return found;
  }
  return nullptr;
}

}  // namespace

HWND FindWindowByText(HWND root, std::string_view text) {
  if (root == nullptr) return FindIn(WindowRegistry::Get().TopLevel(), text);
  WindowRecord* r = FindWindowRecord(root);
  return r != nullptr ? FindIn(r->children, text) : nullptr;
}

}  // namespace platform::input
