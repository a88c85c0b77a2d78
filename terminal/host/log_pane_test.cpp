#include "terminal/host/log_pane.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/reset_for_test.h"

namespace terminal {
namespace {

std::string Line(HWND list, int index) {
  char text[256] = {};
  ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(LogPane, KeepsEveryLineNewestLastInSightAlongTheFramesBottom) {
  platform::ResetForTest();
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, "Test", "frame", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, 0));
  LogPane log;
  log.Create(frame.m_hWnd);
  ASSERT_TRUE(::IsWindow(log.Hwnd()));
  log.Layout(600, 400);
  for (int i = 0; i < 30; ++i) log.Add("line " + std::to_string(i));

  ASSERT_EQ(::SendMessage(log.Hwnd(), LB_GETCOUNT, 0, 0), 30);
  EXPECT_EQ(Line(log.Hwnd(), 0), "line 0");
  EXPECT_EQ(Line(log.Hwnd(), 29), "line 29");
  // The newest line is the last one shown, at the bottom of a full page.
  const auto top = static_cast<int>(::SendMessage(log.Hwnd(), LB_GETTOPINDEX, 0, 0));
  EXPECT_EQ(top, 30 - LogPane::kVisibleLines);
  RECT r;
  ::GetWindowRect(log.Hwnd(), &r);
  EXPECT_EQ(r.bottom, 400);
  EXPECT_EQ(r.right - r.left, 600);

  // Laid out again (the frame sized), it keeps the newest in sight along the new bottom.
  ::SendMessage(log.Hwnd(), LB_SETTOPINDEX, 0, 0);
  log.Layout(500, 300);
  ::GetWindowRect(log.Hwnd(), &r);
  EXPECT_EQ(r.bottom, 300);
  EXPECT_EQ(::SendMessage(log.Hwnd(), LB_GETTOPINDEX, 0, 0), 30 - LogPane::kVisibleLines);
  platform::ResetForTest();
}

}  // namespace
}  // namespace terminal
