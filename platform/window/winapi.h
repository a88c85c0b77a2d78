// The platform's window functions on handles. Windows live in one registry
// per process and are used from the user-interface thread only; of the
// functions here only PostMessage (platform/window/message_queue.h) may be called
// from another thread.
//
// A window's rectangle is kept in its parent's client coordinates (screen
// coordinates for a top-level window); its client area is the rectangle less
// the non-client frame of its styles (platform/window/metrics.h). Handles are never
// reused within a process, so a stale handle is simply not a window.
#pragma once

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

// CreateWindowEx position or size meaning "choose for me".
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Creation and destruction. `menuOrId` is the control id of a child window.
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
// Destroys owned windows, then sends WM_DESTROY to the window and then to
// its children (parent first), then WM_NCDESTROY to the children and last
// to the window (children first).
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// Messages: SendMessage calls the window's procedure chain at once.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The default behaviour of every window: text, font, icons, WM_CLOSE destroys,
// WM_CONTEXTMENU goes up to the parent, activation gives focus, ...
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Relations.
HWND GetParent(HWND hwnd);  // the parent of a child window, the owner of a popup
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND parent);  // first child in z-order (null: top-level windows)
HWND GetAncestorTopLevel(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetDesktopWindow();
// Calls `proc` for each window until it returns FALSE: the top-level windows
// in z-order, or every descendant of `parent` depth first in z-order.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);

// Attributes.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtr(hwnd, index)); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value));
}
int GetClassName(HWND hwnd, LPSTR buffer, int size);
BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR buffer, int size);  // cut to size - 1, terminated
int GetWindowTextLength(HWND hwnd);

// Geometry.
BOOL GetWindowRect(HWND hwnd, LPRECT rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, LPRECT rect);  // (0, 0, width, height) of the client area
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL BringWindowToTop(HWND hwnd);
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);

// Visibility, enabling, focus, activation, capture.
BOOL ShowWindow(HWND hwnd, int command);  // returns whether it was visible before
BOOL IsWindowVisible(HWND hwnd);          // the window and all its ancestors are visible
// Hides the owner's visible pop-ups (WM_SHOWWINDOW with SW_PARENTCLOSING)
// or shows again those it hid (SW_PARENTOPENING); ShowWindow does this when
// it minimises or restores the owner.
BOOL ShowOwnedPopups(HWND owner, BOOL show);
BOOL IsIconic(HWND hwnd);                 // minimized (SW_MINIMIZE, SW_SHOWMINIMIZED, ...)
BOOL IsZoomed(HWND hwnd);                 // maximized (SW_MAXIMIZE)
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND hwnd);
HWND SetFocus(HWND hwnd);  // fails (null) for a disabled window or one with a disabled ancestor
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// Painting: an invalidated window gets WM_PAINT when the pump has no posted
// message left, or at once from UpdateWindow.
BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, LPCRECT rect);
BOOL UpdateWindow(HWND hwnd);

// Dialog item helpers (any parent window works).
BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `idCheck` and unchecks every other button with an id in [first, last].
BOOL CheckRadioButton(HWND dialog, int idFirst, int idLast, int idCheck);
// The next (or previous) control of the group of `control`, wrapping around.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);

// Icons of a window (WM_SETICON / WM_GETICON).
// Font of a window (WM_SETFONT / WM_GETFONT) go through SendMessage.
