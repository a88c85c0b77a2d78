// What ::DefWindowProc does with a press on a window's frame, and the
// move/size loop it starts.
//
//   WM_NCLBUTTONDOWN  HTCAPTION            -> WM_SYSCOMMAND SC_MOVE | HTCAPTION
//                     HTLEFT..HTBOTTOMRIGHT -> WM_SYSCOMMAND SC_SIZE + WMSZ_ of that side
//                     HTMINBUTTON, HTMAXBUTTON, HTCLOSE: the box is held (drawn
//                     pushed while the pointer stays on it); let go on it, it
//                     sends SC_MINIMIZE / SC_MAXIMIZE / SC_RESTORE / SC_CLOSE
//   WM_NCLBUTTONDBLCLK HTCAPTION: SC_MAXIMIZE, or SC_RESTORE when maximised or
//                     minimised (a window with a maximise box); HTSYSMENU: SC_CLOSE
//   WM_SYSCOMMAND     SC_MOVE / SC_SIZE start the loop; SC_MINIMIZE and
//                     SC_MAXIMIZE show the window so where the style has the box;
//                     SC_RESTORE restores; SC_CLOSE sends WM_CLOSE; SC_KEYMENU
//                     with ' ' (Alt+Space) opens the window menu (Restore, Move,
//                     Size, Minimize, Maximize, Close) of a window with WS_SYSMENU
//                     and carries out the command chosen
//
// SC_MOVE and SC_SIZE without a hit code in their low bits (from the window
// menu) run the loop from the keyboard as well: each arrow key moves the
// pointer, and with it the window or the side being sized, 8 pixels; moving
// the mouse moves it as a caption drag does; Enter or a click keeps where it
// went, Escape puts it back. Sizing waits for a first arrow to choose the
// side: Left or Right the left or right side, Up or Down the top or bottom.
//
// The loop: WM_ENTERSIZEMOVE, then the window takes the capture and, for
// each move of the pointer, WM_MOVING (or WM_SIZING with the side) with the
// proposed rectangle in screen coordinates, which the window may change,
// then SetWindowPos (WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE or
// WM_SIZE); the button let go ends it (WM_CAPTURECHANGED, WM_EXITSIZEMOVE),
// Escape puts the window back where it was. A size keeps the opposite sides
// still and stays within WM_GETMINMAXINFO's track sizes, asked once at the
// start. A maximised window is neither moved nor sized, a minimised one only
// moved.
//
// The loop does not block: while it lasts the message pump hands it the
// mouse and key messages it takes from the queue (TakeMoveSizeInput) instead
// of dispatching them, as the platform's own loop takes them, so a test
// driving input and the desktop mode's event loop both feed it.
#pragma once

#include "platform/base/export.h"

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

namespace platform {

// WM_GETMINMAXINFO with the platform's defaults (a maximised window fills
// the screen, its frame just off it), as the window answers it.
MINMAXINFO AskMinMaxInfo(HWND hwnd);

// ::DefWindowProc for WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK and WM_SYSCOMMAND.
LRESULT FrameDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the window menu of `hwnd` and returns the SC_ command chosen, 0
// when dismissed. Menus live on the user floor (user/window_menu.cpp), which
// installs it; without one Alt+Space does nothing.
using WindowMenuTracker = WPARAM (*)(HWND hwnd);
bool SetWindowMenuTracker(WindowMenuTracker tracker);

// Called by the pump with each message it takes: true when the move/size
// loop (or a held caption box) consumed it.
bool TakeMoveSizeInput(const MSG& msg);

// The window being moved or sized, or whose caption box is held; null when none.
PLATFORM_API HWND MoveSizeWindow();
// The caption box of `hwnd` drawn pushed now (HTMINBUTTON, HTMAXBUTTON,
// HTCLOSE), or HTNOWHERE.
LRESULT PushedCaptionBox(HWND hwnd);
// Ends a loop left running (tests).
void CancelMoveSize();

}  // namespace platform
