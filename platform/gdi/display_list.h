// Display lists: what was drawn on a surface, one operation per drawing
// call, with the device context's state resolved at the time of the call.
//
// A surface is a window's client area (any window: GetDC, BeginPaint,
// CClientDC, CPaintDC draw there) or a memory bitmap (a memory device
// context draws on the bitmap selected into it). Coordinates are the
// surface's own (client coordinates of the window, pixels of the bitmap).
// A list grows with every call until it is cleared; BeginPaint clears its
// window's list, since a paint redraws the whole client area. Tests read
// lists; a renderer replays them.
//
//   auto ops = platform::WindowDisplayList(button);
//   EXPECT_EQ(ops[0].kind, platform::DrawKind::FillRect);
//   EXPECT_EQ(ops[0].color, RGB(192, 192, 192));
#pragma once

#include "platform/base/export.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/text_metrics.h"
#include "platform/base/wintypes.h"

// GradientFill's vertex: 16-bit colour channels (0xFF00 is full red).
using COLOR16 = USHORT;
struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  COLOR16 Red = 0;
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
using PTRIVERTEX = TRIVERTEX*;

namespace platform {

enum class DrawKind {
  FillRect,   // rect filled with `color` (FillRect, FillSolidRect, Draw3dRect's edges)
  FrameRect,  // one-pixel frame of rect in `color` (FrameRect)
  Rectangle,  // rect outlined with the pen and filled with the brush (Rectangle)
  Line,       // points[0] to points[1] with the pen, the end point not drawn (LineTo)
  Text,       // text laid out in rect (DrawText, TextOut); `lines` says where
  FocusRect,  // dotted focus frame of rect (DrawFocusRect)
  Gradient,   // vertices and mesh (GradientFill); rect is their bounding box
  Blit,       // a copy of a source surface's pixels into rect (BitBlt)
  Icon,       // the icon resource `icon` stretched over rect (DrawIconEx)
};

struct PenState {
  int style = 0;  // PS_SOLID
  int width = 1;
  COLORREF color = 0;
  bool operator==(const PenState&) const = default;
};

struct BrushState {
  bool hollow = false;  // NULL_BRUSH: nothing is filled
  COLORREF color = RGB(255, 255, 255);
  bool operator==(const BrushState&) const = default;
};

// One laid-out line of a Text operation: its top-left corner and what shows
// (after prefix processing and ellipsis).
struct TextLine {
  POINT origin;
  std::string text;
  int width = 0;
};

struct DrawOp;
using DrawOps = std::vector<DrawOp>;

struct DrawOp {
  DrawKind kind = DrawKind::FillRect;
  RECT rect;
  std::vector<POINT> points;  // Line: from, to
  COLORREF color = 0;         // fill or frame colour; text colour for Text
  // Text: the background behind the text, painted only when opaque.
  COLORREF background = RGB(255, 255, 255);
  bool opaque = true;  // background mode OPAQUE (TRANSPARENT: false)
  PenState pen;        // Rectangle, Line
  BrushState brush;    // Rectangle
  FontSpec font;       // Text
  std::string text;    // Text: as given
  UINT format = 0;     // Text: DrawText's DT_ flags (0 for TextOut)
  std::vector<TextLine> lines;
  // Gradient: the vertices, the mesh's vertex indices (two per rectangle or
  // three per triangle) and the mode (GRADIENT_FILL_RECT_H, _V, _TRIANGLE).
  std::vector<TRIVERTEX> vertices;
  std::vector<ULONG> mesh;
  ULONG gradientMode = 0;
  // Blit: the source (a window or a bitmap; null for a fill), where the copy
  // starts in it, the raster operation, and the source's list at the time.
  HWND sourceWindow = nullptr;
  HBITMAP sourceBitmap = nullptr;
  POINT sourceOrigin;
  DWORD rop = 0;
  std::shared_ptr<const DrawOps> sourceOps;
  // Blit of a masked image (an image list's): the source's pixels that
  // nothing drew are transparent, so what lies under them shows.
  bool sourceUndrawnClear = false;
  // Icon: the icon's handle (platform::IconFromHandle tells its module and id).
  HICON icon = nullptr;
};

// The functions below are for tests and the renderer, not exported: tests
// link the platform's archive.
// Copies of the current lists; empty for a surface that drew nothing (or is gone).
DrawOps WindowDisplayList(HWND window);
DrawOps BitmapDisplayList(HBITMAP bitmap);
void ClearDisplayList(HWND window);
void ClearDisplayList(HBITMAP bitmap);

// The operations of one kind, in order (a shorthand for tests).
DrawOps OpsOfKind(const DrawOps& ops, DrawKind kind);
// A one-line description of an operation, for test failure messages.
std::string Describe(const DrawOp& op);

// ---- The drawing side (device contexts) ----
// A surface's list to append to: created on first use.
DrawOps& WindowSurface(HWND window);
DrawOps& BitmapSurface(HBITMAP bitmap);
// A destroyed window's or deleted bitmap's list goes with it.
void DropWindowSurface(HWND window);
void DropBitmapSurface(HBITMAP bitmap);

}  // namespace platform
