// A window's device contexts: GetDC for drawing at any time, BeginPaint and
// EndPaint around WM_PAINT. The DCs themselves (state, drawing, display
// lists) are the drawing layer's (platform/gdi/device_context.h); this side
// knows the window: whether it exists, its font, its client rectangle, its
// update state, and the WM_ERASEBKGND it is asked before painting.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"
#include "platform/gdi/device_context.h"

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;  // the background still needs erasing (WM_ERASEBKGND returned 0)
  RECT rcPaint;
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// A DC on the window's client area with the window's font (WM_GETFONT);
// null for a window that does not exist.
PLATFORM_API HDC GetDC(HWND hwnd);  // no window: the screen's, freed by ReleaseDC(nullptr, dc)
PLATFORM_API int ReleaseDC(HWND hwnd, HDC dc);  // 1, or 0 when dc is not hwnd's
// Starts a paint: clears the window's display list, marks the window
// painted, and asks WM_ERASEBKGND with the new DC (fErase: it did not erase).
PLATFORM_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
PLATFORM_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// GetClipBox's results.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
// The area a DC may draw in, in its logical coordinates: a window DC's
// client rectangle, a memory DC's selected bitmap. Contexts have no mapping
// or clip regions here, so the box always starts at 0, 0. 0 for a dead DC.
PLATFORM_API int GetClipBox(HDC dc, LPRECT rect);
