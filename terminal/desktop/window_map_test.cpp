#include "terminal/desktop/window_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/afx.h"
#include "platform/testing/reset_test.h"

namespace terminal::desktop {
namespace {

std::string Hex(HWND hwnd) {
  std::ostringstream out;
  out << "0x" << std::hex << reinterpret_cast<uintptr_t>(hwnd);
  return out.str();
}

using WindowMapTest = platform::ResetTest;

// The line of the map that describes `hwnd`.
std::string LineOf(HWND hwnd) {
  std::istringstream map(WindowMap());
  for (std::string line; std::getline(map, line);) {
    if (line.find(" handle=" + Hex(hwnd)) != std::string::npos) return line;
  }
  return {};
}

TEST_F(WindowMapTest, NamesOwnersAndStatesAndTheLinesAListBoxShows) {
  CWnd owner;
  owner.CreateEx(0, "Test", "owner", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 10, 20, 300, 200,
                 nullptr, 0);
  CWnd owned;
  owned.CreateEx(0, "Test", "owned", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, owner.m_hWnd, 0);
  ::EnableWindow(owner.m_hWnd, FALSE);
  EXPECT_NE(LineOf(owned.m_hWnd).find(" owner=" + Hex(owner.m_hWnd) + " active"), std::string::npos);
  EXPECT_NE(LineOf(owner.m_hWnd).find(" disabled"), std::string::npos);
  EXPECT_EQ(LineOf(owner.m_hWnd).find("owner="), std::string::npos);
  ::EnableWindow(owner.m_hWnd, TRUE);
  owner.ShowWindow(SW_MINIMIZE);
  EXPECT_NE(LineOf(owner.m_hWnd).find(" minimized"), std::string::npos);
  EXPECT_EQ(LineOf(owner.m_hWnd).find(" disabled"), std::string::npos);
  EXPECT_EQ(LineOf(owned.m_hWnd), "");  // hidden with its owner
  owner.ShowWindow(SW_RESTORE);
  owner.BringWindowToTop();
  // Top-level windows top first: the owned one came up with its owner.
  EXPECT_LT(WindowMap().find("\"owned\""), WindowMap().find("\"owner\""));

  // A list box scrolled down shows the lines from its top; a "|" in one is escaped.
  HWND list = ::CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0, 0, 100, 30,
                               owned.m_hWnd, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  for (const char* line : {"a", "b|c", "d", "e"}) ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
  ::SendMessage(list, LB_SETTOPINDEX, 1, 0);
  const int item = static_cast<int>(::SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  ::MoveWindow(list, 0, 0, 100, 2 * item, TRUE);
  EXPECT_NE(LineOf(list).find(" lines=\"b\\\\|c|d\""), std::string::npos) << LineOf(list);
}

TEST_F(WindowMapTest, ListsVisibleWindowsIndentedWithScreenRectanglesAndListSizes) {
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
  RECT r;  // a list box keeps to whole items: its height is its own
  ::GetWindowRect(list, &r);
  EXPECT_EQ(WindowMap(), "Test #0 \"Say \\\"hi\\\"\\\\now\" 10 20 310 220 handle=" + Hex(top.m_hWnd) +
                             " active focus\n"
                             "  ListBox #7 \"\" 15 26 115 " +
                             std::to_string(r.bottom) + " items=2 item-height=" + std::to_string(height) +
                             " handle=" + Hex(list) + " lines=\"one|two\"\n");

  const auto path = std::filesystem::temp_directory_path() / ("window_map_test_" + std::to_string(::getpid()));
  ASSERT_TRUE(WriteWindowMap(path.string()));
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), WindowMap());
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
  std::filesystem::remove(path);
  EXPECT_FALSE(WriteWindowMap("/nonexistent-folder/map.txt"));
}

TEST_F(WindowMapTest, AToolTipIsListedWithItsTextAndPlaceOnlyWhileItShows) {
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
                           " " + std::to_string(r.bottom) + " handle=";
  EXPECT_EQ(WindowMap().rfind(line, 0), 0u) << "shown, above its owner: " << WindowMap();
  ::SendMessage(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(WindowMap().find("tooltips_class32"), std::string::npos);
}

}  // namespace
}  // namespace terminal::desktop
