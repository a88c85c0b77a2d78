#include "platform/base/geometry.h"

#include <gtest/gtest.h>

namespace {

// Every pair of points, sizes and rectangles over a few coordinates: each is
// equal to another exactly when every coordinate is.
TEST(GeometryTest, ValuesAreEqualWhenEveryCoordinateIsAndRectanglesHoldTheirTopLeftEdgesOnly) {
  for (int a = 0; a < 16; ++a) {
    for (int b = 0; b < 16; ++b) {
      const auto bit = [](int v, int i) { return (v >> i) & 1; };
      const CRect r(bit(a, 0), bit(a, 1), bit(a, 2), bit(a, 3));
      const CRect s(bit(b, 0), bit(b, 1), bit(b, 2), bit(b, 3));
      EXPECT_EQ(r == s, a == b) << a << " " << b;
      EXPECT_EQ(r.TopLeft() == s.TopLeft(), (a & 3) == (b & 3)) << a << " " << b;
      EXPECT_EQ(CSize(bit(a, 0), bit(a, 1)) == CSize(bit(b, 0), bit(b, 1)), (a & 3) == (b & 3)) << a << " " << b;
    }
  }

  // A rectangle holds its left and top edges, not its right and bottom ones;
  // one without width or height is empty, whichever way it faces.
  CRect r(10, 20, 13, 24);
  int inside = 0;
  for (int x = 5; x < 20; ++x) {
    for (int y = 15; y < 30; ++y) inside += r.PtInRect(CPoint(x, y)) ? 1 : 0;
  }
  EXPECT_EQ(inside, r.Width() * r.Height());
  EXPECT_EQ(r.CenterPoint(), CPoint(11, 22));

  EXPECT_TRUE(!r.IsRectEmpty() && CRect(10, 20, 10, 24).IsRectEmpty() && CRect(10, 20, 13, 20).IsRectEmpty());
  CRect backwards(13, 24, 10, 20);
  EXPECT_TRUE(backwards.IsRectEmpty());
  backwards.NormalizeRect();
  EXPECT_EQ(backwards, r);
}

}  // namespace
