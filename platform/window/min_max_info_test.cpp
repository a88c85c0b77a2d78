// WM_GETMINMAXINFO: a window a person can size is asked its limits before
// every resize and kept within them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"

namespace {

class CLimitedWindow : public CWnd {
 public:
  POINT minimum{300, 200};
  POINT maximum{800, 600};
  std::vector<MINMAXINFO> asked;  // what the window was offered

 protected:
  void OnGetMinMaxInfo(MINMAXINFO* info) override {
    asked.push_back(*info);
    info->ptMinTrackSize = minimum;
    info->ptMaxTrackSize = maximum;
  }
};

class MinMaxInfoTest : public platform::ResetTest {
 protected:
  static SIZE SizeOf(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return SIZE{r.Width(), r.Height()};
  }
};

TEST_F(MinMaxInfoTest, ASizingBorderKeepsTheWindowWithinWhatItAsks) {
  CLimitedWindow w;
  ASSERT_TRUE(w.CreateEx(0, "Test", "sizable", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 10, 10, 400, 300, nullptr, 0));
  w.MoveWindow(10, 10, 100, 50, TRUE);
  EXPECT_EQ(CSize(SizeOf(w)), CSize(300, 200));
  w.MoveWindow(10, 10, 2000, 900, TRUE);
  EXPECT_EQ(CSize(SizeOf(w)), CSize(800, 600));
  w.MoveWindow(10, 10, 500, 400, TRUE);
  EXPECT_EQ(SizeOf(w).cx, 500);
  ASSERT_FALSE(w.asked.empty());
  // The defaults come from the system metrics.
  EXPECT_EQ(w.asked[0].ptMinTrackSize.x, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(w.asked[0].ptMaxTrackSize.y, GetSystemMetrics(SM_CYMAXTRACK));
  // A move alone asks nothing.
  const size_t asks = w.asked.size();
  w.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(w.asked.size(), asks);
}

}  // namespace
