#include "platform/window/scroll_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"

namespace {

using platform::LayOutScrollBar;
using platform::ScrollLayout;
using platform::ScrollPart;

constexpr int kArrow = 17;

// ---- The arithmetic ----

TEST(ScrollBarArithmetic, ThumbsKeepAMinimumLengthAndShortBarsShareTheirLengthBetweenTheArrows) {
  const ScrollLayout tiny = LayOutScrollBar(200, kArrow, {0, 99999, 1, 0}, true);
  EXPECT_EQ(tiny.thumb, platform::kMinThumb);
  // Without a page the thumb is as long as an arrow.
  EXPECT_EQ(LayOutScrollBar(200, kArrow, {0, 100, 0, 0}, true).thumb, kArrow);
  const ScrollLayout squeezed = LayOutScrollBar(20, kArrow, {0, 99, 10, 0}, true);
  EXPECT_EQ(std::tuple(squeezed.arrow, squeezed.track, squeezed.thumb), std::tuple(10, 0, 0));
  EXPECT_EQ(LayOutScrollBar(42, kArrow, {0, 99, 10, 0}, true).thumb, 0) << "a thumb that fills the track is none";
  // A page of the whole range but one still scrolls; a disabled bar's thumb does not move.
  EXPECT_TRUE(platform::Scrollable({0, 10, 10, 0}) && !platform::Scrollable({0, 10, 11, 0}));
  const ScrollLayout disabled = LayOutScrollBar(200, kArrow, {0, 99, 10, 50}, false);
  EXPECT_EQ(disabled.thumb, 0);
  EXPECT_EQ(platform::ScrollPosAtOffset(disabled, {0, 99, 10, 50}, 5), 50);
}

// ---- One window's bars ----

std::vector<std::string> g_log;

std::string CodeName(int code) {
  static const char* const kNames[] = {"line-up",     "line-down", "page-up", "page-down", "thumb-position",
                                       "thumb-track", "top",       "bottom",  "end"};
  return code >= 0 && code <= 8 ? kNames[code] : "?";
}

// A window that logs its scroll messages and scrolls as they say, by one
// position a line and by its page a page.
class Scrolled : public CWnd {
 public:
  HWND Create(DWORD style) {
    CreateEx(0, "Test", "scrolled", WS_POPUP | WS_VISIBLE | WS_BORDER | style, 100, 50, 300, 240, nullptr, 0);
    return m_hWnd;
  }
  int sizes = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SIZE) ++sizes;
    if (message != WM_VSCROLL && message != WM_HSCROLL) return CWnd::WindowProc(message, wParam, lParam);
    const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    const int code = LOWORD(wParam);
    const int at = static_cast<short>(HIWORD(wParam));
    g_log.push_back((bar == SB_VERT ? "v:" : "h:") + CodeName(code) +
                    (code == SB_THUMBTRACK || code == SB_THUMBPOSITION ? "@" + std::to_string(at) : ""));
    SCROLLINFO info;
    GetScrollInfo(bar, &info);
    int pos = info.nPos;
    switch (code) {
      case SB_LINEUP: --pos; break;
      case SB_LINEDOWN: ++pos; break;
      case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
      case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
      case SB_THUMBTRACK: pos = at; break;
      default: break;
    }
    SetScrollPos(bar, pos);
    return 0;
  }
};

class ScrollBarWindow : public platform::ResetTest {
 protected:
  void SetUp() override { g_log.clear(); }
  void TearDown() override {
    if (::IsWindow(wnd.m_hWnd)) wnd.DestroyWindow();
  }

  int SetNumbers(int bar, int max, int page, int pos, UINT extra = 0) {
    const SCROLLINFO info{.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extra, .nMax = max, .nPage = static_cast<UINT>(page),
                          .nPos = pos};
    return ::SetScrollInfo(wnd.m_hWnd, bar, &info, TRUE);  // the position taken
  }
  // A point of the window (window coordinates) as the input driver's client point.
  POINT Client(POINT window) const {
    RECT r;
    ::GetWindowRect(wnd.m_hWnd, &r);
    POINT p{r.left + window.x, r.top + window.y};
    ::ScreenToClient(wnd.m_hWnd, &p);
    return p;
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  Scrolled wnd;
};

TEST_F(ScrollBarWindow, BarsShowAndHideWithTheContentAndTheClientAreaFollows) {
  SCROLLINFO numbers{};
  EXPECT_FALSE(wnd.SetScrollInfo(SB_VERT, &numbers, TRUE)) << "no window yet";
  wnd.Create(WS_VSCROLL);
  EXPECT_FALSE(wnd.SetScrollInfo(SB_VERT, nullptr, TRUE));
  RECT client;
  ::GetClientRect(wnd.m_hWnd, &client);
  EXPECT_EQ(client.right, 300 - 2 - GetSystemMetrics(SM_CXVSCROLL));

  const int sizesBefore = wnd.sizes;
  SetNumbers(SB_VERT, 9, 20, 0);  // everything fits: the bar goes
  EXPECT_EQ(::GetWindowLong(wnd.m_hWnd, GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
  ::GetClientRect(wnd.m_hWnd, &client);
  EXPECT_EQ(client.right, 298);
  EXPECT_GT(wnd.sizes, sizesBefore);
  EXPECT_FALSE(platform::ShownScrollInfo(wnd.m_hWnd, SB_VERT).has_value());
  SetNumbers(SB_VERT, 0, 0, 0);  // a range of one position and no page: nothing to scroll either
  EXPECT_EQ(::GetWindowLong(wnd.m_hWnd, GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);

  EXPECT_EQ(SetNumbers(SB_HORZ, 999, 298, 5000), 999 - 298 + 1);
  const auto h = platform::ShownScrollInfo(wnd.m_hWnd, SB_HORZ);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->nPos, 999 - 298 + 1);
  EXPECT_EQ(::GetScrollPos(wnd.m_hWnd, SB_HORZ), 702);
  int lo = 1, hi = 0;  // the range, given whole or not at all
  EXPECT_TRUE(::GetScrollRange(wnd.m_hWnd, SB_HORZ, &lo, &hi) && !::GetScrollRange(wnd.m_hWnd, SB_HORZ, nullptr, &hi));
  EXPECT_EQ(std::pair(lo, hi), std::pair(0, 999));
  EXPECT_TRUE(::SetScrollRange(wnd.m_hWnd, SB_HORZ, 0, 899, FALSE) && !::SetScrollRange(wnd.m_hWnd, SB_BOTH, 0, 1, 0));
  EXPECT_TRUE(::GetScrollRange(wnd.m_hWnd, SB_HORZ, &lo, &hi) && hi == 899);

  // Kept shown but disabled when asked to.
  SetNumbers(SB_VERT, 9, 20, 0, SIF_DISABLENOSCROLL);
  const platform::ScrollBarRects v = platform::ScrollBarGeometry(wnd.m_hWnd, SB_VERT);
  EXPECT_TRUE(v.shown && !v.enabled && v.thumb.right == v.thumb.left);
  // With both bars the corner square belongs to neither.
  const platform::ScrollBarRects hr = platform::ScrollBarGeometry(wnd.m_hWnd, SB_HORZ);
  EXPECT_EQ(std::pair(hr.bar.right, v.bar.bottom), std::pair(v.bar.left, hr.bar.top));
}

TEST_F(ScrollBarWindow, HitTestNamesTheBarAndEachPartLiesWhereTheGeometrySays) {
  wnd.Create(WS_VSCROLL | WS_HSCROLL);
  SetNumbers(SB_VERT, 99, 10, 0);
  SetNumbers(SB_HORZ, 999, 100, 0);
  const platform::ScrollBarRects v = platform::ScrollBarGeometry(wnd.m_hWnd, SB_VERT);
  // A 300 x 240 window with a one-pixel border: the vertical bar is the
  // 17 pixels inside the right border, above the horizontal bar.
  EXPECT_EQ(CRect(v.bar), CRect(300 - 1 - 17, 1, 299, 240 - 1 - 17));
  EXPECT_EQ(std::tuple(v.lineUp.bottom, v.thumb.top, v.lineDown.top), std::tuple(1 + 17, v.track.top, v.bar.bottom - 17));

  RECT window;
  ::GetWindowRect(wnd.m_hWnd, &window);
  auto hit = [&](POINT p) {
    return platform::ScrollBarHitTest(wnd.m_hWnd, POINT{window.left + p.x, window.top + p.y});
  };
  EXPECT_EQ(hit(Centre(v.thumb)), HTVSCROLL);
  EXPECT_EQ(hit(POINT{v.bar.left - 1, 50}), HTNOWHERE);  // the client area
  EXPECT_EQ(hit(POINT{50, 240 - 2}), HTHSCROLL);
  EXPECT_EQ(hit(POINT{300 - 5, 240 - 5}), HTNOWHERE);  // the corner
  EXPECT_EQ(::SendMessage(wnd.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 290, window.top + 100)), HTVSCROLL);

  const POINT below{(v.bar.left + v.bar.right) / 2, v.thumb.bottom + 3};
  EXPECT_EQ(platform::ScrollBarPartAt(v, true, Centre(v.lineUp)), ScrollPart::LineUp);
  EXPECT_EQ(platform::ScrollBarPartAt(v, true, Centre(v.lineDown)), ScrollPart::LineDown);
  EXPECT_EQ(platform::ScrollBarPartAt(v, true, Centre(v.thumb)), ScrollPart::Thumb);
  EXPECT_EQ(platform::ScrollBarPartAt(v, true, below), ScrollPart::PageDown);
  EXPECT_EQ(platform::ScrollBarPartAt(v, true, POINT{v.bar.left - 1, below.y}), ScrollPart::None) << "beside the bar";
  SetNumbers(SB_VERT, 99, 10, 90);
  const platform::ScrollBarRects end = platform::ScrollBarGeometry(wnd.m_hWnd, SB_VERT);
  EXPECT_EQ(end.thumb.bottom, end.track.bottom);
  EXPECT_EQ(platform::ScrollBarPartAt(end, true, below), ScrollPart::PageUp);
  EXPECT_TRUE(platform::input::ClickAt(wnd.m_hWnd, Client(below)));
  EXPECT_EQ(g_log, (std::vector<std::string>{"v:page-up", "v:end"}));
}

TEST_F(ScrollBarWindow, HoldingAnArrowRepeatsLinesUntilTheButtonGoesUpUnlessTheArrowIsDisabled) {
  wnd.Create(WS_VSCROLL);
  SetNumbers(SB_VERT, 99, 10, 0);  // rows 0-9 of 100 shown
  const platform::ScrollBarRects v = platform::ScrollBarGeometry(wnd.m_hWnd, SB_VERT);
  const POINT arrow = Client(Centre(v.lineDown));
  ASSERT_TRUE(platform::input::ButtonDown(wnd.m_hWnd, arrow));
  EXPECT_EQ(std::pair(::GetCapture(), platform::ScrollBarGeometry(wnd.m_hWnd, SB_VERT).pressed),
            std::pair(wnd.m_hWnd, ScrollPart::LineDown));
  EXPECT_EQ(g_log, (std::vector<std::string>{"v:line-down"}));
  platform::input::Advance(platform::kScrollRepeatDelayMs - 1);
  EXPECT_EQ(g_log.size(), 1u);  // not before the delay
  platform::input::Advance(1 + 2 * platform::kScrollRepeatMs);
  EXPECT_EQ(g_log.size(), 4u);
  // Off the arrow the repeat pauses; back on it, it goes on.
  platform::input::MouseMove(wnd.m_hWnd, Client(POINT{50, 50}));
  platform::input::Advance(3 * platform::kScrollRepeatMs);
  EXPECT_EQ(g_log.size(), 4u);
  platform::input::MouseMove(wnd.m_hWnd, arrow);
  platform::input::Advance(platform::kScrollRepeatMs);
  EXPECT_EQ(g_log.size(), 5u);
  platform::input::ButtonUp(wnd.m_hWnd, arrow);
  platform::input::Advance(5 * platform::kScrollRepeatMs);
  EXPECT_EQ(g_log, (std::vector<std::string>{"v:line-down", "v:line-down", "v:line-down", "v:line-down", "v:line-down",
                                             "v:end"}));
  EXPECT_EQ(::GetScrollPos(wnd.m_hWnd, SB_VERT), 5);
  EXPECT_EQ(::GetCapture(), nullptr);

  // A press on a disabled arrow does nothing.
  g_log.clear();
  EXPECT_TRUE(::EnableScrollBar(wnd.m_hWnd, SB_VERT, ESB_DISABLE_DOWN) &&
              !::EnableScrollBar(wnd.m_hWnd, SB_VERT, ESB_DISABLE_DOWN)) << "a change, then none";
  EXPECT_TRUE(platform::input::ClickAt(wnd.m_hWnd, arrow));
  EXPECT_TRUE(g_log.empty());
  EXPECT_TRUE(platform::input::ClickAt(wnd.m_hWnd, Client(Centre(v.lineUp))));
  EXPECT_EQ(g_log, (std::vector<std::string>{"v:line-up", "v:end"}));
}

}  // namespace
