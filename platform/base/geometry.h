// The framework's point, size and rectangle classes: thin layers over the
// platform's POINT, SIZE and RECT, so a CRect passes wherever an LPRECT is
// expected. A rectangle is half-open: right and bottom are outside it.
#pragma once

#include "platform/base/export.h"

#include <algorithm>

#include "platform/base/wintypes.h"

using LPPOINT = POINT*;
using LPSIZE = SIZE*;

class PLATFORM_API CPoint : public POINT {
 public:
  CPoint() = default;
  CPoint(int x0, int y0) { x = x0, y = y0; }
  CPoint(POINT p) : POINT(p) {}  // NOLINT: implicit, as in the framework
  void Offset(int dx, int dy) { x += dx, y += dy; }
  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  CPoint operator+(const POINT& o) const { return {x + o.x, y + o.y}; }
  CPoint operator-(const POINT& o) const { return {x - o.x, y - o.y}; }
};

class PLATFORM_API CSize : public SIZE {
 public:
  CSize() = default;
  CSize(int cx0, int cy0) { cx = cx0, cy = cy0; }
  CSize(SIZE s) : SIZE(s) {}  // NOLINT
  bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
};

class PLATFORM_API CRect : public RECT {
 public:
  CRect() = default;
  CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  CRect(const RECT& r) : RECT(r) {}  // NOLINT
  CRect(POINT topLeft, SIZE size) : CRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy) {}

  operator LPRECT() { return this; }         // NOLINT: implicit, as in the framework
  operator LPCRECT() const { return this; }  // NOLINT

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return {Width(), Height()}; }
  CPoint TopLeft() const { return {left, top}; }
  CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

  void SetRectEmpty() { *this = CRect(); }
  void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void InflateRect(int dx, int dy) { left -= dx, right += dx, top -= dy, bottom += dy; }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(int l, int t, int r, int b) { left += l, top += t, right -= r, bottom -= b; }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  bool operator==(const RECT& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
