#include "terminal/commands/list_menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/afx.h"
#include "platform/testing/reset_test.h"

namespace terminal {
namespace {

// A list that logs the menu commands it hears.
class LoggingList : public CWnd {
 public:
  std::vector<UINT> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
};

class ListMenu : public platform::ResetTest {
 protected:
  void SetUp() override {
    for (CWnd* top : {&first, &second}) {
      top->CreateEx(0, "Test", "Window", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0);
    }
    MakeList(firstList, first, true);
    MakeList(secondList, second, true);
    MakeList(plain, second, false);  // a list of another kind: no filter bar
    button = ::CreateWindowEx(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 0, 250, 60, 20, second.m_hWnd, nullptr, nullptr,
                              nullptr);
  }

  static void MakeList(LoggingList& list, CWnd& parent, bool filterBar) {
    list.CreateEx(0, "SysListView32", "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, parent.m_hWnd, 0);
    const auto header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    if (filterBar) ::SetWindowLongPtr(header, GWL_STYLE, ::GetWindowLongPtr(header, GWL_STYLE) | HDS_FILTERBAR);
  }
  static const ListMenuEntry& Add() { return *FindListMenuEntry("Add Custom Column..."); }

  CWnd first, second;
  LoggingList firstList, secondList, plain;
  HWND button = nullptr;
};

TEST_F(ListMenu, TheEntriesAreFoundByTheirTextWithOrWithoutTheDots) {
  ASSERT_NE(FindListMenuEntry("Add Custom Column..."), nullptr);
  EXPECT_EQ(FindListMenuEntry("Add Custom Column...")->command, 33079u);
  EXPECT_EQ(FindListMenuEntry("Delete Custom Column")->command, 33080u);
  EXPECT_EQ(FindListMenuEntry("Delete Custom Col"), nullptr);
  EXPECT_EQ(FindListMenuEntry("Reposition Columns"), nullptr);
}

TEST_F(ListMenu, TheCommandGoesToTheListThatLastHadTheFocusWhileItIsOpen) {
  EXPECT_EQ(ListMenuTarget(), secondList.m_hWnd) << "none had the focus: the topmost shown list of the module";
  ::SetFocus(firstList.m_hWnd);
  NoticeListFocus();
  ::SetFocus(button);  // a person goes to the menu bar, or elsewhere
  NoticeListFocus();
  ::SetFocus(plain.m_hWnd);  // a list of another kind does not count
  NoticeListFocus();
  EXPECT_EQ(ListMenuTarget(), firstList.m_hWnd);
  ASSERT_TRUE(RunListMenuEntry(Add()));
  platform::PumpMessages();
  EXPECT_EQ(firstList.commands, std::vector<UINT>{33079});
  EXPECT_TRUE(secondList.commands.empty());

  first.ShowWindow(SW_HIDE);  // its window closed: the list still open takes it
  EXPECT_EQ(ListMenuTarget(), secondList.m_hWnd);
  second.ShowWindow(SW_HIDE);
  EXPECT_EQ(ListMenuTarget(), nullptr) << "no list of the module open: the entries are greyed";
  EXPECT_FALSE(RunListMenuEntry(Add()));
  platform::PumpMessages();
  EXPECT_TRUE(secondList.commands.empty());
}

}  // namespace
}  // namespace terminal
