// The input driver: what a person does with mouse and keyboard, turned into
// the messages the platform would deliver, for tests and for the terminal's
// script runner.
//
// Each action posts its messages to the queue and pumps until idle, so they
// pass through PreTranslateMessage (the target's object, then its
// ancestors'), TranslateMessage (WM_CHAR from WM_KEYDOWN) and the window's
// procedure chain, and whatever the handlers post is delivered too.
//
// Mouse actions aim at the centre of a window's client area (or a given
// client point), in client coordinates, and move the pointer there
// (GetCursorPos); each mouse message is preceded by WM_NCHITTEST and
// WM_SETCURSOR to its target, and becomes its non-client form
// (WM_NCLBUTTONDOWN, ...: the hit code, the screen point) when the hit test
// names a part of the frame, such as a scroll bar. While a window has the mouse captured, mouse
// messages go to it instead, in its coordinates. A click on a window of an
// inactive top-level window first asks WM_MOUSEACTIVATE and activates that
// window (unless the answer says not to, or to eat the click, or the window
// has WS_EX_NOACTIVATE). Input to a
// window that is hidden, or that is or has an ancestor that is disabled
// (the owner of a running modal dialog, for one), is refused: nothing is
// delivered and the action returns false; a press on a disabled window only
// activates the enabled window it owns (its modal dialog), raising it.
//
// Keys go to the focus window (to the active window when nothing has the
// focus; WM_SYSKEYDOWN while Alt is held). Modifiers given to an action are
// pressed before it and released after it; GetKeyState and GetAsyncKeyState
// report them meanwhile. Text is typed on a US keyboard layout: "A" is
// Shift+A, "\n" is Enter.
#pragma once

#include "platform/base/export.h"

#include <cstdint>
#include <string_view>

#include "platform/base/wintypes.h"

namespace platform::input {

enum Modifier : unsigned { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

PLATFORM_API bool Click(HWND hwnd, unsigned modifiers = kNone);
PLATFORM_API bool ClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
// Double clicks and FindWindowByText serve tests, which link the platform's
// archive; the terminal's scripts and desktop mode do without: not exported.
bool DoubleClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
PLATFORM_API bool RightClick(HWND hwnd, unsigned modifiers = kNone);
PLATFORM_API bool RightClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
PLATFORM_API bool MouseMove(HWND hwnd, POINT client);
// The halves of a press, for drags: the left button goes down at a client
// point and stays down (MouseMove then carries MK_LBUTTON) until ButtonUp
// releases it at a client point of `hwnd`, which may be another window; the
// up goes to the capture window when one holds the mouse. ButtonDown is
// refused as a click is; ButtonUp always releases the button.
PLATFORM_API bool ButtonDown(HWND hwnd, POINT client, unsigned modifiers = kNone);
PLATFORM_API bool ButtonUp(HWND hwnd, POINT client);

// The halves of a click, for a button a person holds down (dragging, tracking
// a divider): the press activates and goes to the window under the pointer
// (as a double click when `doubleClick` and the window takes them); the
// button then stays down (MK_LBUTTON in later moves) until the release, which
// goes to `hwnd` or, while one holds the mouse, to the capture.
enum class Button { Left, Right };
PLATFORM_API bool ButtonDownAt(HWND hwnd, POINT client, Button button, bool doubleClick = false);
PLATFORM_API bool ButtonUpAt(HWND hwnd, POINT client, Button button);
// Turns the wheel over a window: WM_MOUSEWHEEL to it, `delta` in 120ths of a
// notch, positive away from the user; the point travels in screen coordinates.
PLATFORM_API bool WheelAt(HWND hwnd, POINT client, int delta);
// Tilts the wheel (or turns a horizontal one): WM_MOUSEHWHEEL, `delta`
// positive to the right.
PLATFORM_API bool HorizontalWheelAt(HWND hwnd, POINT client, int delta);

PLATFORM_API bool KeyDown(UINT vk);
PLATFORM_API bool KeyUp(UINT vk);
// Down and up, with the modifiers held around it.
PLATFORM_API bool PressKey(UINT vk, unsigned modifiers = kNone);
PLATFORM_API bool TypeText(std::string_view text);

// Gives the keyboard focus as a person would by clicking into a window
// (without the click): refused for hidden or disabled windows.
PLATFORM_API bool Focus(HWND hwnd);
// Moves the manual clock forward, delivering due timers on the way.
PLATFORM_API void Advance(uint64_t ms);

// The first window, depth first in z-order, whose text is exactly `text`:
// among the descendants of `root`, or of every top-level window (and those
// windows themselves) when root is null.
HWND FindWindowByText(HWND root, std::string_view text);

}  // namespace platform::input
