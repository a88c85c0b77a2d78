#include "terminal/host/log_pane.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "platform/testing/reset_test.h"

namespace terminal {
namespace {

std::string Line(HWND list, int index) {
  char text[256] = {};
  ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

// "HH:MM:SS" as seconds since midnight; -1 when the text does not start so.
int SecondsOfDay(const std::string& line) {
  int h = 0, m = 0, sec = 0;
  char space = 0;
  if (line.size() < 9 || std::sscanf(line.c_str(), "%2d:%2d:%2d%c", &h, &m, &sec, &space) != 4 || space != ' ' ||
      line[2] != ':' || line[5] != ':') {
    return -1;
  }
  return (h * 60 + m) * 60 + sec;
}

using LogPaneTest = platform::ResetTest;

// Each line on screen starts with the local time it came.
TEST_F(LogPaneTest, KeepsEveryLineTimedNewestLastInSightAlongTheFramesBottom) {
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, "Test", "frame", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, 0));
  LogPane log;
  std::time_t now = 1700000000;
  log.SetClock([&] { return now; });
  log.Create(frame.m_hWnd);
  ASSERT_TRUE(::IsWindow(log.Hwnd()));
  log.Layout(600, 400);
  for (int i = 0; i < 30; ++i, now += 3600 + 60 + 1) log.Add("line " + std::to_string(i));

  ASSERT_EQ(::SendMessage(log.Hwnd(), LB_GETCOUNT, 0, 0), 30);
  const std::string first = Line(log.Hwnd(), 0);
  const std::string second = Line(log.Hwnd(), 1);
  EXPECT_EQ(first.substr(9), "line 0");
  EXPECT_EQ(Line(log.Hwnd(), 29).substr(9), "line 29");
  EXPECT_EQ((SecondsOfDay(second) - SecondsOfDay(first) + 86400) % 86400, 3661) << first << " / " << second;
  // The newest line is the last one shown, at the bottom of a full page.
  EXPECT_EQ(::SendMessage(log.Hwnd(), LB_GETTOPINDEX, 0, 0), 30 - LogPane::kVisibleLines);
  RECT r;
  ::GetWindowRect(log.Hwnd(), &r);
  EXPECT_EQ(r.bottom, 400);
  EXPECT_EQ(r.right - r.left, 600);

  // Laid out again (the frame sized), it keeps the newest in sight along the new bottom.
  ::SendMessage(log.Hwnd(), LB_SETTOPINDEX, 0, 0);
  log.Layout(500, 20);
  ::GetWindowRect(log.Hwnd(), &r);
  EXPECT_EQ(r.bottom, 20);
  EXPECT_EQ(::SendMessage(log.Hwnd(), LB_GETTOPINDEX, 0, 0), 29);
}

}  // namespace
}  // namespace terminal
