// A window's own tools shown by the shared tool-tip: the pointer rests, the
// window is asked for the text, the tip shows, and goes when the pointer does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/comctl/tooltip.h"
#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"

namespace {

namespace input = platform::input;

// Two tools side by side over the top 80 pixels, nothing below them. The
// left one answers with a pointer to its text, the right one fills szText.
class Tipped : public CWnd {
 public:
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const override {
    if (point.y >= 80) return -1;
    const bool left = point.x < 100;
    info->hwnd = m_hWnd;
    info->uId = left ? 1 : 2;
    info->rect = left ? RECT{0, 0, 100, 80} : RECT{100, 0, 200, 80};
    info->lpszText = LPSTR_TEXTCALLBACK;
    return static_cast<INT_PTR>(info->uId);
  }
  std::vector<UINT_PTR> asked;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    if (info->hdr.code != TTN_GETDISPINFOA) return CWnd::OnNotify(wParam, lParam, result);
    asked.push_back(info->hdr.idFrom);
    if (info->hdr.idFrom == 1) info->lpszText = const_cast<char*>("left half");
    else std::strcpy(info->szText, "right half");
    *result = 0;
    return TRUE;
  }
};

class HoverTips : public platform::ResetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_window.CreateEx(0, "Rec", "tipped", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, 0));
    EXPECT_FALSE(m_window.EnableToolTips());
  }

  platform::TooltipState Tip() { return platform::ReadTooltip(platform::TooltipFor(m_window.m_hWnd)); }

  Tipped m_window;
};

TEST_F(HoverTips, ARestingPointerShowsWhatTheWindowAnswersBelowThePointer) {
  ASSERT_TRUE(input::MouseMove(m_window.m_hWnd, POINT{20, 20}));
  const HWND shared = platform::TooltipFor(m_window.m_hWnd);
  ASSERT_NE(shared, nullptr);
  const int initial = Tip().initialDelay;
  input::Advance(static_cast<uint64_t>(initial - 1));
  EXPECT_FALSE(Tip().shown);
  EXPECT_TRUE(m_window.asked.empty()) << "asked only when the tip shows";
  input::Advance(1);
  platform::TooltipState s = Tip();
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(std::tuple(s.text, s.position.x, s.position.y), std::tuple("left half", 50 + 20, 50 + 20 + 20))
      << "below the pointer";

  // Moving within the tool keeps the tip; onto the next tool starts over.
  input::MouseMove(m_window.m_hWnd, POINT{60, 30});
  EXPECT_TRUE(Tip().shown);
  input::MouseMove(m_window.m_hWnd, POINT{150, 30});
  EXPECT_FALSE(Tip().shown);
  input::Advance(static_cast<uint64_t>(initial));
  EXPECT_EQ(Tip().text, "right half");
  EXPECT_EQ(m_window.asked, (std::vector<UINT_PTR>{1, 2}));

  // Off every tool it goes at once; back on the tool starts over.
  input::MouseMove(m_window.m_hWnd, POINT{150, 90});
  EXPECT_FALSE(Tip().shown);
  input::MouseMove(m_window.m_hWnd, POINT{150, 30});
  input::Advance(static_cast<uint64_t>(initial));
  EXPECT_TRUE(Tip().shown);

  // It pops after its time and stays away while the pointer stays.
  input::Advance(static_cast<uint64_t>(Tip().autoPopDelay));
  EXPECT_FALSE(Tip().shown);
  input::MouseMove(m_window.m_hWnd, POINT{160, 30});
  input::Advance(static_cast<uint64_t>(initial));
  EXPECT_FALSE(Tip().shown);

  // Off every tool, nothing shows.
  input::MouseMove(m_window.m_hWnd, POINT{20, 90});
  input::Advance(static_cast<uint64_t>(initial) * 2);
  EXPECT_FALSE(Tip().shown);
  EXPECT_EQ(m_window.asked.size(), 3u);

  // Once the tip is gone (with the window that owned it), only a tool makes another.
  auto tips = [] {
    int n = 0;
    for (HWND h = ::GetTopWindow(nullptr); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
      char name[32] = "";
      n += ::GetClassName(h, name, sizeof name) > 0 && std::strcmp(name, TOOLTIPS_CLASS) == 0;
    }
    return n;
  };
  ASSERT_EQ(tips(), 1);
  ::DestroyWindow(shared);
  input::MouseMove(m_window.m_hWnd, POINT{30, 90});
  EXPECT_EQ(tips(), 0);
  input::MouseMove(m_window.m_hWnd, POINT{30, 30});
  EXPECT_EQ(tips(), 1);
  input::Advance(static_cast<uint64_t>(initial));
  EXPECT_TRUE(Tip().shown && m_window.EnableToolTips(FALSE) && !Tip().shown) << "turned off, its tool goes";
  m_window.EnableToolTips();
  input::MouseMove(m_window.m_hWnd, POINT{31, 30});
  input::Advance(static_cast<uint64_t>(initial));
  EXPECT_TRUE(Tip().shown) << "on again, the same tool shows again";
}

TEST_F(HoverTips, ATipNearTheScreensEdgeStaysOnTheScreen) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  ASSERT_TRUE(m_window.SetWindowPos(nullptr, width - 150, height - 60, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(input::MouseMove(m_window.m_hWnd, POINT{140, 30}));  // the right tool, near both edges
  input::Advance(static_cast<uint64_t>(Tip().initialDelay));
  const platform::TooltipState s = Tip();
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(s.position.x + s.size.cx, width) << "pushed left to the screen's right edge";
  EXPECT_EQ(s.position.y + s.size.cy, height - 30) << "above the pointer, as below would leave the screen";
}

}  // namespace
