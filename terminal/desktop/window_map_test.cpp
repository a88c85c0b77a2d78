#include "terminal/desktop/window_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/afx.h"
#include "platform/testing/reset_for_test.h"

namespace terminal::desktop {
namespace {

TEST(WindowMap, ListsVisibleWindowsIndentedWithScreenRectanglesAndListSizes) {
  platform::ResetForTest();
  CWnd top;
  top.CreateEx(0, "Test", "Say \"hi\"\\now", WS_POPUP | WS_VISIBLE, 10, 20, 300, 200, nullptr, 0);
  HWND list = ::CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE, 5, 6, 100, 50, top.m_hWnd,
                               reinterpret_cast<HMENU>(7), nullptr, nullptr);
  ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
  ::CreateWindowEx(0, "Button", "Hidden", WS_CHILD, 0, 0, 10, 10, top.m_hWnd, reinterpret_cast<HMENU>(8), nullptr,
                   nullptr);
  CWnd hidden;
  hidden.CreateEx(0, "Test", "Not shown", WS_POPUP, 0, 0, 10, 10, nullptr, 0);

  const int height = static_cast<int>(::SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  RECT r;  // a list box keeps to whole items: its height is its own
  ::GetWindowRect(list, &r);
  EXPECT_EQ(WindowMap(),
            "Test #0 \"Say \\\"hi\\\"\\\\now\" 10 20 310 220\n"
            "  ListBox #7 \"\" 15 26 115 " +
                std::to_string(r.bottom) + " items=2 item-height=" + std::to_string(height) + "\n");
  EXPECT_EQ(r.top, 26);

  const auto path = std::filesystem::temp_directory_path() / ("window_map_test_" + std::to_string(::getpid()));
  ASSERT_TRUE(WriteWindowMap(path.string()));
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), WindowMap());
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
  std::filesystem::remove(path);
  EXPECT_FALSE(WriteWindowMap("/nonexistent-folder/map.txt"));
  platform::ResetForTest();
}

TEST(WindowMap, AToolTipIsListedWithItsTextAndPlaceOnlyWhileItShows) {
  platform::ResetForTest();
  CWnd top;
  top.CreateEx(0, "Test", "Owner", WS_POPUP | WS_VISIBLE, 10, 20, 300, 200, nullptr, 0);
  HWND tip = ::CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, top.m_hWnd, nullptr, nullptr, nullptr);
  char text[] = "\"Qty\" * \"Price\"";
  TOOLINFO tool;
  tool.uFlags = TTF_TRACK;
  tool.hwnd = top.m_hWnd;
  tool.uId = 1;
  tool.lpszText = text;
  ::SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessage(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(40, 60));
  EXPECT_EQ(WindowMap().find("tooltips_class32"), std::string::npos) << "hidden: not listed";

  ::SendMessage(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  RECT r;
  ::GetWindowRect(tip, &r);
  ASSERT_GT(r.right, 40);
  const std::string line = "tooltips_class32 #0 \"\\\"Qty\\\" * \\\"Price\\\"\" 40 60 " + std::to_string(r.right) +
                           " " + std::to_string(r.bottom) + "\n";
  EXPECT_NE(WindowMap().find(line), std::string::npos) << WindowMap();
  ::SendMessage(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(WindowMap().find("tooltips_class32"), std::string::npos);
  platform::ResetForTest();
}

}  // namespace
}  // namespace terminal::desktop
