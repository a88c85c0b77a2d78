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
// WM_SETCURSOR to its target. While a window has the mouse captured, mouse
// messages go to it instead, in its coordinates. A click on a window of an
// inactive top-level window first asks WM_MOUSEACTIVATE and activates that
// window (unless the answer says not to, or to eat the click, or the window
// has WS_EX_NOACTIVATE). Input to a
// window that is hidden, or that is or has an ancestor that is disabled
// (the owner of a running modal dialog, for one), is refused: nothing is
// delivered and the action returns false.
//
// Keys go to the focus window (to the active window when nothing has the
// focus; WM_SYSKEYDOWN while Alt is held). Modifiers given to an action are
// pressed before it and released after it; GetKeyState and GetAsyncKeyState
// report them meanwhile. Text is typed on a US keyboard layout: "A" is
// Shift+A, "\n" is Enter.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/wintypes.h"

namespace platform::input {

enum Modifier : unsigned { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

bool Click(HWND hwnd, unsigned modifiers = kNone);
bool ClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
bool DoubleClick(HWND hwnd, unsigned modifiers = kNone);
bool DoubleClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
bool RightClick(HWND hwnd, unsigned modifiers = kNone);
bool RightClickAt(HWND hwnd, POINT client, unsigned modifiers = kNone);
bool MouseMove(HWND hwnd, POINT client);

bool KeyDown(UINT vk);
bool KeyUp(UINT vk);
// Down and up, with the modifiers held around it.
bool PressKey(UINT vk, unsigned modifiers = kNone);
bool TypeText(std::string_view text);

// Gives the keyboard focus as a person would by clicking into a window
// (without the click): refused for hidden or disabled windows.
bool Focus(HWND hwnd);
// Moves the manual clock forward, delivering due timers on the way.
void Advance(uint64_t ms);

// The first window, depth first in z-order, whose text is exactly `text`:
// among the descendants of `root`, or of every top-level window (and those
// windows themselves) when root is null.
HWND FindWindowByText(HWND root, std::string_view text);

}  // namespace platform::input
