// Device contexts by handle: where drawing goes and with what state.
//
// A window's DC (GetDC, BeginPaint) draws on the window's client area; a
// memory DC (CreateCompatibleDC) draws on the bitmap selected into it (a
// 1 x 1 monochrome bitmap until one is). Every drawing call appends one
// operation to the surface's display list (platform/gdi/display_list.h) with
// the state it was drawn with. A new DC has a black text colour, a white
// background colour, OPAQUE background mode, the black pen, the white brush
// and the window's font (WM_GETFONT; the default GUI font without one).
// Text is measured with the selected font through platform/gdi/text_metrics.h.
//
// Drawing on a null or released DC does nothing and fails.
#pragma once

#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/base/geometry.h"
#include "platform/base/wintypes.h"

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;  // the background still needs erasing (WM_ERASEBKGND returned 0)
  RECT rcPaint;
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

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
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
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

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;

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

// ---- Getting and releasing ----
HDC GetDC(HWND hwnd);  // null for a window that does not exist
int ReleaseDC(HWND hwnd, HDC dc);
// Starts a paint: clears the window's display list, asks WM_ERASEBKGND with
// the new DC, and marks the window painted.
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC CreateCompatibleDC(HDC dc);  // dc may be null (the screen)
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);

// ---- State ----
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // the previous object of that kind; null on failure
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
COLORREF SetTextColor(HDC dc, COLORREF color);  // previous, CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);  // previous, 0 on failure
int GetBkMode(HDC dc);
int SaveDC(HDC dc);  // the saved state's number (1, 2, ...), 0 on failure
// A positive number restores that state (dropping later ones); a negative
// one counts back from the latest (-1: the latest).
BOOL RestoreDC(HDC dc, int saved);

// ---- Drawing ----
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
// Returns the text's height (with DT_VCENTER or DT_BOTTOM, from the top of
// the rectangle to the bottom of the text), 0 on failure. With DT_CALCRECT
// nothing is drawn and the rectangle is set to the text's extent.
int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length);
BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
// What msimg32.dll's GradientFill does; code written for the platform finds
// it with GetProcAddress(LoadLibraryA("msimg32.dll"), "GradientFill").
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode);

namespace platform {
// The font selected into a DC (the default GUI font for a null or unknown DC).
FontSpec SelectedFont(HDC dc);
// Whether `dc` is a live device context.
bool IsDC(HDC dc);
// A new operation on the DC's surface with the DC's state filled in, for
// drawing functions built elsewhere; null for a dead DC or window.
DrawOp* AppendDrawOp(HDC dc, DrawKind kind, const RECT& rect);
}  // namespace platform
