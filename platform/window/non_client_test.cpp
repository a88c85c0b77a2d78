// WM_NCHITTEST's regions for the frames a window can have.
#include "platform/window/non_client.h"

#include <gtest/gtest.h>

#include "platform/window/messages.h"

namespace platform {
namespace {

constexpr RECT kWindow{100, 100, 400, 300};
constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

LRESULT Hit(DWORD style, POINT p, DWORD exStyle = 0) {
  return HitTestNonClient(LayOutNonClient(style, exStyle, kWindow), style, p);
}

TEST(NonClientHitTest, ASizingFrameNamesEachSideAndCornerAndTheCaptionItsBoxes) {
  // Sides, in the middle of each (the frame is 4 wide).
  EXPECT_EQ(Hit(kSizable, {101, 200}), HTLEFT);
  EXPECT_EQ(Hit(kSizable, {396, 200}), HTRIGHT);
  EXPECT_EQ(Hit(kSizable, {250, 101}), HTTOP);
  EXPECT_EQ(Hit(kSizable, {250, 296}), HTBOTTOM);
  // Corners, and their reach along each side.
  EXPECT_EQ(Hit(kSizable, {100, 100}), HTTOPLEFT);
  EXPECT_EQ(Hit(kSizable, {399, 100}), HTTOPRIGHT);
  EXPECT_EQ(Hit(kSizable, {100, 299}), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(kSizable, {399, 299}), HTBOTTOMRIGHT);
  EXPECT_EQ(Hit(kSizable, {100 + kCornerGrab - 1, 101}), HTTOPLEFT);
  EXPECT_EQ(Hit(kSizable, {100 + kCornerGrab, 101}), HTTOP);
  EXPECT_EQ(Hit(kSizable, {101, 300 - kCornerGrab}), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(kSizable, {101, 299 - kCornerGrab}), HTLEFT);
  EXPECT_EQ(Hit(kSizable, {398, 100 + kCornerGrab - 1}), HTTOPRIGHT);
  // The caption bar (104..396 x 104..123) and its boxes, right to left:
  // close 378..394, a gap of 2, maximise 360..376, minimise 344..360; icon 106..122.
  EXPECT_EQ(Hit(kSizable, {250, 110}), HTCAPTION);
  EXPECT_EQ(Hit(kSizable, {386, 112}), HTCLOSE);
  EXPECT_EQ(Hit(kSizable, {377, 112}), HTCAPTION);
  EXPECT_EQ(Hit(kSizable, {360, 112}), HTMAXBUTTON);
  EXPECT_EQ(Hit(kSizable, {359, 112}), HTMINBUTTON);
  EXPECT_EQ(Hit(kSizable, {344, 112}), HTMINBUTTON);
  EXPECT_EQ(Hit(kSizable, {343, 112}), HTCAPTION);
  EXPECT_EQ(Hit(kSizable, {112, 112}), HTSYSMENU);
  EXPECT_EQ(Hit(kSizable, {386, 105}), HTCAPTION);  // above the boxes
  EXPECT_EQ(Hit(kSizable, {250, 123}), HTCLIENT);
  EXPECT_EQ(Hit(kSizable, {395, 295}), HTCLIENT);
  EXPECT_EQ(Hit(kSizable, {99, 200}), HTNOWHERE);
  EXPECT_EQ(Hit(kSizable, {250, 300}), HTNOWHERE);
}

TEST(NonClientHitTest, OnlyASizingFrameOfANormalWindowSizes) {
  for (const DWORD state : {DWORD{WS_MINIMIZE}, DWORD{WS_MAXIMIZE}}) {
    EXPECT_EQ(Hit(kSizable | state, {101, 200}), HTBORDER);
    EXPECT_EQ(Hit(kSizable | state, {399, 299}), HTBORDER);
    EXPECT_EQ(Hit(kSizable | state, {250, 110}), HTCAPTION);
  }
  // A dialog frame (3 wide) is a border; a modal frame has no icon and this
  // style no minimise or maximise box; the close box moves with the frame.
  EXPECT_EQ(Hit(kDialog, {101, 200}), HTBORDER);
  EXPECT_EQ(Hit(kDialog, {100, 100}), HTBORDER);
  EXPECT_EQ(Hit(kDialog, {103, 200}), HTCLIENT);
  EXPECT_EQ(Hit(kDialog, {112, 112}), HTCAPTION);
  EXPECT_EQ(Hit(kDialog, {368, 112}), HTCAPTION);
  EXPECT_EQ(Hit(kDialog, {379, 112}), HTCLOSE);
  EXPECT_EQ(Hit(kDialog, {378, 112}), HTCAPTION);
  EXPECT_EQ(Hit(kDialog, {250, 101}, WS_EX_DLGMODALFRAME), HTBORDER);
  // No frame at all: all client; a thin border is a border.
  EXPECT_EQ(Hit(WS_POPUP, {100, 100}), HTCLIENT);
  EXPECT_EQ(Hit(WS_POPUP | WS_BORDER, {100, 150}), HTBORDER);
  EXPECT_EQ(Hit(WS_POPUP | WS_BORDER, {101, 150}), HTCLIENT);
  // Without the system menu there are no boxes at all.
  EXPECT_EQ(Hit(kSizable & ~WS_SYSMENU, {386, 112}), HTCAPTION);
}

TEST(NonClientHitTest, BoxesComeInPairsAndScrollBarsLieInsideTheEdges) {
  // One of the two boxes makes both: the missing one shows, disabled.
  const NonClientLayout form = LayOutNonClient(kDialog | WS_MINIMIZEBOX, 0, kWindow);
  EXPECT_GT(form.boxes.maximize.right, form.boxes.maximize.left);
  EXPECT_EQ(form.boxes.minimize.right, form.boxes.maximize.left);
  EXPECT_EQ(Hit(kDialog | WS_MINIMIZEBOX, {form.boxes.maximize.left, 112}), HTMAXBUTTON);

  // Border 1, client edge 2, then the bars (17): client 103..380 x 103..280.
  const DWORD barred = WS_POPUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL;
  EXPECT_EQ(Hit(barred, {379, 150}, WS_EX_CLIENTEDGE), HTCLIENT);
  EXPECT_EQ(Hit(barred, {380, 150}, WS_EX_CLIENTEDGE), HTVSCROLL);
  EXPECT_EQ(Hit(barred, {396, 150}, WS_EX_CLIENTEDGE), HTVSCROLL);
  EXPECT_EQ(Hit(barred, {397, 150}, WS_EX_CLIENTEDGE), HTBORDER);
  EXPECT_EQ(Hit(barred, {200, 280}, WS_EX_CLIENTEDGE), HTHSCROLL);
  EXPECT_EQ(Hit(barred, {390, 290}, WS_EX_CLIENTEDGE), HTBORDER);  // the square between them
  EXPECT_EQ(Hit(WS_POPUP | WS_VSCROLL, {383, 150}), HTVSCROLL);
}

}  // namespace
}  // namespace platform
