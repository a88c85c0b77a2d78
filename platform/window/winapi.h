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

#include "platform/base/export.h"

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

// CreateWindowEx position or size meaning "choose for me".
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Creation and destruction. `menuOrId` is the control id of a child window.
PLATFORM_API HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int cx,
                                 int cy, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
// Destroys owned windows, then sends WM_DESTROY to the window and then to
// its children (parent first), then WM_NCDESTROY to the children and last
// to the window (children first).
PLATFORM_API BOOL DestroyWindow(HWND hwnd);
PLATFORM_API BOOL IsWindow(HWND hwnd);

// Messages: SendMessage calls the window's procedure chain at once.
PLATFORM_API LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The default behaviour of every window: text, font, icons, WM_CLOSE destroys,
// WM_CONTEXTMENU goes up to the parent, activation gives focus, ...
PLATFORM_API LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Relations.
PLATFORM_API HWND GetParent(HWND hwnd);  // the parent of a child window, the owner of a popup
PLATFORM_API HWND SetParent(HWND child, HWND newParent);
PLATFORM_API HWND GetWindow(HWND hwnd, UINT relation);
PLATFORM_API HWND GetTopWindow(HWND parent);  // first child in z-order (null: top-level windows)
PLATFORM_API HWND GetAncestorTopLevel(HWND hwnd);
PLATFORM_API BOOL IsChild(HWND parent, HWND hwnd);
PLATFORM_API HWND GetDlgItem(HWND dialog, int id);
PLATFORM_API int GetDlgCtrlID(HWND hwnd);
PLATFORM_API HWND GetDesktopWindow();
// Calls `proc` for each window until it returns FALSE: the top-level windows
// in z-order, or every descendant of `parent` depth first in z-order.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
PLATFORM_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
PLATFORM_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);

// Attributes.
PLATFORM_API LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
PLATFORM_API LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtr(hwnd, index)); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value));
}
PLATFORM_API int GetClassName(HWND hwnd, LPSTR buffer, int size);
PLATFORM_API BOOL SetWindowText(HWND hwnd, LPCSTR text);
PLATFORM_API int GetWindowText(HWND hwnd, LPSTR buffer, int size);  // cut to size - 1, terminated
PLATFORM_API int GetWindowTextLength(HWND hwnd);

// Geometry.
PLATFORM_API BOOL GetWindowRect(HWND hwnd, LPRECT rect);  // screen coordinates
PLATFORM_API BOOL GetClientRect(HWND hwnd, LPRECT rect);  // (0, 0, width, height) of the client area
PLATFORM_API BOOL ClientToScreen(HWND hwnd, POINT* point);
PLATFORM_API BOOL ScreenToClient(HWND hwnd, POINT* point);
PLATFORM_API int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
PLATFORM_API BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint);
PLATFORM_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
PLATFORM_API BOOL BringWindowToTop(HWND hwnd);
PLATFORM_API HWND WindowFromPoint(POINT screenPoint);
PLATFORM_API HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);

// Visibility, enabling, focus, activation, capture.
PLATFORM_API BOOL ShowWindow(HWND hwnd, int command);  // returns whether it was visible before
PLATFORM_API BOOL IsWindowVisible(HWND hwnd);          // the window and all its ancestors are visible
// Hides the owner's visible pop-ups (WM_SHOWWINDOW with SW_PARENTCLOSING)
// or shows again those it hid (SW_PARENTOPENING); ShowWindow does this when
// it minimises or restores the owner.
PLATFORM_API BOOL ShowOwnedPopups(HWND owner, BOOL show);
PLATFORM_API BOOL IsIconic(HWND hwnd);                   // minimized (SW_MINIMIZE, SW_SHOWMINIMIZED, ...)
PLATFORM_API BOOL IsZoomed(HWND hwnd);                   // maximized (SW_MAXIMIZE)
PLATFORM_API BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
PLATFORM_API BOOL IsWindowEnabled(HWND hwnd);
PLATFORM_API HWND SetFocus(HWND hwnd);  // fails (null) for a disabled window or one with a disabled ancestor
PLATFORM_API HWND GetFocus();
PLATFORM_API HWND SetActiveWindow(HWND hwnd);
PLATFORM_API HWND GetActiveWindow();
PLATFORM_API BOOL SetForegroundWindow(HWND hwnd);
PLATFORM_API HWND GetForegroundWindow();
PLATFORM_API HWND SetCapture(HWND hwnd);
PLATFORM_API BOOL ReleaseCapture();
PLATFORM_API HWND GetCapture();
// Painting: an invalidated window gets WM_PAINT when the pump has no posted
// message left, or at once from UpdateWindow.
PLATFORM_API BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase);
PLATFORM_API BOOL ValidateRect(HWND hwnd, LPCRECT rect);
PLATFORM_API BOOL UpdateWindow(HWND hwnd);
// Whether the window waits for a paint; the region is the whole client area
// (invalidation is kept per window), so `rect` gets that area or, with no
// paint waiting, an empty rectangle.
PLATFORM_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
// RDW_INVALIDATE marks the window (and with RDW_ALLCHILDREN its children)
// for painting; RDW_UPDATENOW paints what is marked at once. The rectangle
// and region are accepted but the whole window repaints, as with
// InvalidateRect; erasing always happens with a paint.
PLATFORM_API BOOL RedrawWindow(HWND hwnd, LPCRECT rect, HRGN region, UINT flags);

// Dialog item helpers (any parent window works).
PLATFORM_API BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
PLATFORM_API UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size);
PLATFORM_API LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
PLATFORM_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
PLATFORM_API UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `idCheck` and unchecks every other button with an id in [first, last].
PLATFORM_API BOOL CheckRadioButton(HWND dialog, int idFirst, int idLast, int idCheck);
// The next (or previous) control of the group of `control`, wrapping around.
PLATFORM_API HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
PLATFORM_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);

// Icons of a window (WM_SETICON / WM_GETICON).
// Font of a window (WM_SETFONT / WM_GETFONT) go through SendMessage.
