// The caption's boxes are drawn where the window's hit test finds them.
#include <gtest/gtest.h>

#include "platform/gdi/sys_colors.h"
#include "platform/input/input_driver.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/move_size.h"
#include "platform/window/non_client.h"

namespace {

constexpr DWORD kBoxes = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

class CaptionBoxesTest : public platform::ResetTest {
 protected:
  void SetUp() override { ASSERT_TRUE(w.CreateEx(0, "Test", "boxes", kBoxes, 50, 60, 300, 200, nullptr, 0)); }
  CWnd w;
};

TEST_F(CaptionBoxesTest, ABoxHeldDownIsPushedInAndTheMinimiseAndMaximiseBoxesShowTheirGlyphsTheMissingOneGrey) {
  // The boxes in picture coordinates.
  const platform::CaptionBoxes boxes = platform::LayOutNonClient(kBoxes, 0, RECT{0, 0, 300, 200}).boxes;
  POINT at{50 + (boxes.close.left + boxes.close.right) / 2, 60 + (boxes.close.top + boxes.close.bottom) / 2};
  ::ScreenToClient(w.m_hWnd, &at);
  ASSERT_TRUE(platform::input::ButtonDown(w.m_hWnd, at));
  ASSERT_EQ(platform::PushedCaptionBox(w.m_hWnd), HTCLOSE);
  platform::Image image = platform::RenderWindow(w.m_hWnd);
  // Pushed in: a shadow line around a flat face, no highlight.
  EXPECT_EQ(image.At(boxes.close.left, boxes.close.top + 5), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(image.At(boxes.close.left + 1, boxes.close.top + 5), GetSysColor(COLOR_3DFACE));
  platform::CancelMoveSize();

  image = platform::RenderWindow(w.m_hWnd);
  // (Raised boxes with their glyphs are the guide's pictures.) The maximise
  // box, which the style lacks, is grey (its window's thick top line).
  EXPECT_EQ(image.At(boxes.maximize.left + 6, boxes.maximize.top + 3), GetSysColor(COLOR_GRAYTEXT));

  // With the box in the style, maximised: the restore glyph (two windows) in the text colour.
  ::SetWindowLongPtr(w.m_hWnd, GWL_STYLE, kBoxes | WS_MAXIMIZEBOX);
  w.ShowWindow(SW_MAXIMIZE);
  RECT r;
  ::GetWindowRect(w.m_hWnd, &r);
  const platform::CaptionBoxes big = platform::LayOutNonClient(kBoxes | WS_MAXIMIZEBOX | WS_MAXIMIZE, 0,
                                                               RECT{0, 0, r.right - r.left, r.bottom - r.top})
                                         .boxes;
  image = platform::RenderWindow(w.m_hWnd);
  EXPECT_EQ(image.At(big.maximize.left + 4, big.maximize.top + 2 + 6),
            GetSysColor(COLOR_BTNTEXT));  // front window's side
  EXPECT_EQ(image.At(big.maximize.left + 6 + 1, big.maximize.top + 2),
            GetSysColor(COLOR_BTNTEXT));  // back window's top
}

}  // namespace
