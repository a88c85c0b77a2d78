// GDI objects: fonts, pens, brushes and bitmaps, by handle. The framework's
// CFont, CPen, CBrush and CBitmap are in platform/gdi/cgdiobject.h.
//
// A font handle is the text measurer's handle of its FontSpec
// (platform/gdi/text_metrics.h): the same description always gives the same
// handle, which stays valid for the process, so DeleteObject on a font only
// reports success. Pens, brushes and bitmaps are records that DeleteObject
// frees; deleting one that is selected into a device context fails, as
// stock objects and system-colour brushes ignore deletion. Underline,
// strike-out, character set and precision fields of a LOGFONT are kept by
// nobody: the measurer does not see them.
//
// GetSysColorBrush hands out one solid brush per system colour index
// (platform/gdi/sys_colors.h) that lives for the process and ignores
// DeleteObject, as on the platform; it follows later SetSysColors. FillRect
// also takes (HBRUSH)(COLOR_xxx + 1) for that brush.
#pragma once

#include "platform/base/export.h"

#include "platform/gdi/display_list.h"
#include "platform/gdi/text_metrics.h"
#include "platform/base/wintypes.h"

constexpr int LF_FACESIZE = 32;
struct LOGFONT {
  LONG lfHeight = 0;  // < 0: em height in pixels; > 0: cell height; 0: default
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  CHAR lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTA = LOGFONT;
using LPLOGFONT = LOGFONT*;

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  LPVOID bmBits = nullptr;
};

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FF_DONTCARE = 0;
constexpr BYTE FF_SWISS = 0x20;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

PLATFORM_API HFONT CreateFontIndirect(const LOGFONT* lf);
PLATFORM_API HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                              DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                              DWORD quality, DWORD pitchAndFamily, LPCSTR face);
PLATFORM_API HPEN CreatePen(int style, int width, COLORREF color);
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
// A bitmap of the given size whose pixels nobody keeps: what is drawn on it
// is its display list (platform/gdi/display_list.h).
PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
PLATFORM_API HGDIOBJ GetStockObject(int index);
PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
// Fills a LOGFONT, LOGPEN-less BITMAP; returns the bytes written, 0 on failure.
PLATFORM_API int GetObject(HGDIOBJ object, int size, LPVOID out);
// The shared brush of a system colour index; null for an unknown index.
PLATFORM_API HBRUSH GetSysColorBrush(int index);

namespace platform {

enum class GdiKind { None, Font, Pen, Brush, Bitmap };
GdiKind GdiObjectKind(HGDIOBJ object);
// The state a device context records for a selected object.
PenState PenOf(HPEN pen);          // black solid pen for an unknown handle
BrushState BrushOf(HBRUSH brush);  // white brush for an unknown one; follows system colours
// The FontSpec of a LOGFONT and back: a positive height asks for the cell
// height, so the em is the largest whose height fits it.
FontSpec FontSpecOf(const LOGFONT& lf);
LOGFONT LogFontOf(const FontSpec& fontSpec);
// The index behind a brush of GetSysColorBrush or a (HBRUSH)(index + 1)
// value; -1 for any other brush.
int SysColorIndexOfBrush(HBRUSH brush);
// Provided by the device contexts: whether a DC has the object selected.
bool IsSelectedIntoDC(HGDIOBJ object);

}  // namespace platform
