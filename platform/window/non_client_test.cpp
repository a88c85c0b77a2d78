// WM_NCHITTEST's regions for the frames a window can have.
#include "platform/window/non_client.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "platform/window/messages.h"

namespace platform {
namespace {

constexpr RECT kWindow{100, 100, 400, 300};
constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

LRESULT Hit(DWORD style, POINT p, DWORD exStyle = 0) {
  return HitTestNonClient(LayOutNonClient(style, exStyle, kWindow), style, p);
}

// Each point with the part a window of this style names there.
void ExpectHits(DWORD style, std::initializer_list<std::pair<POINT, LRESULT>> hits, DWORD exStyle = 0) {
  for (const auto& [p, hit] : hits) EXPECT_EQ(Hit(style, p, exStyle), hit) << style << " " << p.x << "," << p.y;
}

TEST(NonClientHitTest, ASizingFrameNamesEachSideAndCornerAndTheCaptionItsBoxes) {
  // Sides, in the middle of each (the frame is 4 wide); corners, and their reach along each side.
  ExpectHits(kSizable, {{{101, 200}, HTLEFT}, {{396, 200}, HTRIGHT}, {{250, 101}, HTTOP}, {{250, 296}, HTBOTTOM},
                        {{100, 100}, HTTOPLEFT}, {{399, 100}, HTTOPRIGHT}, {{100, 299}, HTBOTTOMLEFT},
                        {{399, 299}, HTBOTTOMRIGHT}, {{100 + kCornerGrab - 1, 101}, HTTOPLEFT},
                        {{100 + kCornerGrab, 101}, HTTOP}, {{101, 300 - kCornerGrab}, HTBOTTOMLEFT},
                        {{101, 299 - kCornerGrab}, HTLEFT}, {{398, 100 + kCornerGrab - 1}, HTTOPRIGHT},
                        {{398, 100 + kCornerGrab}, HTRIGHT}, {{400 - kCornerGrab, 298}, HTBOTTOMRIGHT}});
  // The caption bar (104..396 x 104..123) and its boxes, right to left:
  // close 378..394, a gap of 2, maximise 360..376, minimise 344..360; icon 106..122.
  ExpectHits(kSizable, {{{250, 110}, HTCAPTION}, {{386, 112}, HTCLOSE}, {{377, 112}, HTCAPTION},
                        {{360, 112}, HTMAXBUTTON}, {{359, 112}, HTMINBUTTON}, {{344, 112}, HTMINBUTTON},
                        {{343, 112}, HTCAPTION}, {{112, 112}, HTSYSMENU}, {{386, 105}, HTCAPTION} /* above the boxes */,
                        {{250, 123}, HTCLIENT}, {{395, 295}, HTCLIENT}, {{99, 200}, HTNOWHERE}, {{250, 300}, HTNOWHERE}});
}

TEST(NonClientHitTest, OnlyASizingFrameOfANormalWindowSizesBoxesComeInPairsAndScrollBarsLieInsideTheEdges) {
  for (const DWORD state : {DWORD{WS_MINIMIZE}, DWORD{WS_MAXIMIZE}}) {
    ExpectHits(kSizable | state, {{{101, 200}, HTBORDER}, {{399, 299}, HTBORDER}, {{250, 110}, HTCAPTION}});
  }
  // A dialog frame (3 wide) is a border; a modal frame has no icon and this
  // style no minimise or maximise box; the close box moves with the frame.
  ExpectHits(kDialog, {{{101, 200}, HTBORDER}, {{100, 100}, HTBORDER}, {{103, 200}, HTCLIENT}, {{112, 112}, HTCAPTION},
                       {{368, 112}, HTCAPTION}, {{379, 112}, HTCLOSE}, {{378, 112}, HTCAPTION}});
  EXPECT_EQ(Hit(kDialog, {250, 101}, WS_EX_DLGMODALFRAME), HTBORDER);
  // No frame at all: all client; a thin border is a border.
  EXPECT_EQ(Hit(WS_POPUP, {100, 100}), HTCLIENT);
  ExpectHits(WS_POPUP | WS_BORDER, {{{100, 150}, HTBORDER}, {{101, 150}, HTCLIENT}});
  // Without the system menu there are no boxes at all.
  EXPECT_EQ(Hit(kSizable & ~WS_SYSMENU, {386, 112}), HTCAPTION);
  // One of the two boxes makes both: the missing one shows, disabled.
  const NonClientLayout form = LayOutNonClient(kDialog | WS_MINIMIZEBOX, 0, kWindow);
  EXPECT_GT(form.boxes.maximize.right, form.boxes.maximize.left);
  EXPECT_EQ(form.boxes.minimize.right, form.boxes.maximize.left);
  EXPECT_EQ(Hit(kDialog | WS_MINIMIZEBOX, {form.boxes.maximize.left, 112}), HTMAXBUTTON);

  // Border 1, client edge 2, then the bars (17): client 103..380 x 103..280; the square between them is a border.
  ExpectHits(WS_POPUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL,
             {{{379, 150}, HTCLIENT}, {{380, 150}, HTVSCROLL}, {{396, 150}, HTVSCROLL}, {{397, 150}, HTBORDER},
              {{200, 280}, HTHSCROLL}, {{390, 290}, HTBORDER}},
             WS_EX_CLIENTEDGE);
  EXPECT_EQ(Hit(WS_POPUP | WS_VSCROLL, {383, 150}), HTVSCROLL);
}

}  // namespace
}  // namespace platform
