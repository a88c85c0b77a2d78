// Device contexts by handle: where drawing goes and with what state.
//
// A window's DC (made by the window layer's GetDC and BeginPaint,
// platform/window/window_paint.h) draws on the window's client area; a
// memory DC (CreateCompatibleDC) draws on the bitmap selected into it (a
// 1 x 1 monochrome bitmap until one is). Every drawing call appends one
// operation to the surface's display list (platform/gdi/display_list.h) with
// the state it was drawn with. A new DC has a black text colour, a white
// background colour, OPAQUE background mode, the black pen, the white brush
// and the font it was made with (a window's WM_GETFONT; the default GUI
// font without one).
// Text is measured with the selected font through platform/gdi/text_metrics.h.
//
// Drawing on a null or released DC does nothing and fails.
#pragma once

#include "platform/base/export.h"

#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/text_layout.h"
#include "platform/base/geometry.h"
#include "platform/base/wintypes.h"

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 0;  // filled by GetTextMetrics: the device's dots per inch
  LONG tmDigitizedAspectY = 0;
  CHAR tmFirstChar = ' ';
  CHAR tmLastChar = '~';
  CHAR tmDefaultChar = '?';
  CHAR tmBreakChar = ' ';
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};
using LPTEXTMETRIC = TEXTMETRIC*;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// DrawText formats (DT_*): platform/gdi/text_layout.h.

// Raster operations of BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// GradientFill modes and meshes.
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
  ULONG Vertex1 = 0;
  ULONG Vertex2 = 0;
  ULONG Vertex3 = 0;
};

// ---- Making and deleting ----
PLATFORM_API HDC CreateCompatibleDC(HDC dc);  // dc may be null (the screen)
PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
PLATFORM_API BOOL DeleteDC(HDC dc);
PLATFORM_API HWND WindowFromDC(HDC dc);

// ---- State ----
PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // the previous object of that kind; null on failure
PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT kind);
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
// The OBJ_ kind of a drawing object; 0 for a handle that names none (deleted or unknown).
PLATFORM_API DWORD GetObjectType(HGDIOBJ object);
PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF color);  // previous, CLR_INVALID on failure
PLATFORM_API COLORREF GetTextColor(HDC dc);
PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC dc);
PLATFORM_API int SetBkMode(HDC dc, int mode);  // previous, 0 on failure
PLATFORM_API int GetBkMode(HDC dc);
PLATFORM_API int SaveDC(HDC dc);  // the saved state's number (1, 2, ...), 0 on failure
// A positive number restores that state (dropping later ones); a negative
// one counts back from the latest (-1: the latest).
PLATFORM_API BOOL RestoreDC(HDC dc, int saved);

// ---- Drawing ----
PLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
PLATFORM_API int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
PLATFORM_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
PLATFORM_API BOOL LineTo(HDC dc, int x, int y);
PLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
// Returns the text's height (with DT_VCENTER or DT_BOTTOM, from the top of
// the rectangle to the bottom of the text), 0 on failure. With DT_CALCRECT
// nothing is drawn and the rectangle is set to the text's extent.
PLATFORM_API int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
PLATFORM_API BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length);
PLATFORM_API BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size);
PLATFORM_API BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
PLATFORM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
// What msimg32.dll's GradientFill does; code written for the platform finds
// it with GetProcAddress(LoadLibraryA("msimg32.dll"), "GradientFill").
PLATFORM_API BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                               ULONG mode);

namespace platform {
// A DC that draws on `window`'s display list with `font` selected (null: the
// default GUI font); with no window, the screen's DC, which measures text and
// draws nowhere that is recorded. The window layer makes these for GetDC and
// BeginPaint; the handle is only a key here, nothing asks whether the window exists.
HDC CreateWindowDC(HWND window, HFONT font);
// Frees a DC made by CreateWindowDC for that window (or for none, the
// screen's); false for any other DC.
bool ReleaseWindowDC(HWND window, HDC dc);
// The window is gone: its DCs draw nothing from now on (they still have to
// be released) and its display list is dropped.
void WindowDestroyed(HWND window);
// The font selected into a DC (the default GUI font for a null or unknown DC).
FontSpec SelectedFont(HDC dc);
// Whether `dc` is a live device context.
PLATFORM_API bool IsDC(HDC dc);
// A new operation on the DC's surface with the DC's state filled in, for
// drawing functions built elsewhere; null for a dead DC or window.
DrawOp* AppendDrawOp(HDC dc, DrawKind kind, const RECT& rect);
// The operation last recorded on the DC's surface; null when none.
DrawOp* LastDrawOp(HDC dc);
}  // namespace platform
