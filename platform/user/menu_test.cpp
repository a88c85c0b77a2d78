#include "platform/user/menu.h"

#include <gtest/gtest.h>

#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_for_test.h"
#include "platform/window/cwnd.h"

namespace {

class CommandLog : public CWnd {
 public:
  std::vector<UINT> commands;
  std::vector<CPoint> menuPoints;  // WM_CONTEXTMENU points

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
  void OnContextMenu(CWnd*, CPoint point) override { menuPoints.push_back(point); }
};

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(owner_.CreateEx(0, "Test", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0));
    ASSERT_TRUE(menu_.CreatePopupMenu());
    menu_.AppendMenu(MF_STRING, 11, "Open");
    menu_.AppendMenu(MF_STRING | MF_GRAYED, 12, "Greyed");
    menu_.AppendMenu(MF_SEPARATOR);
    menu_.AppendMenu(MF_STRING | MF_CHECKED, 13, "Checked");
  }
  void TearDown() override {
    menu_.DestroyMenu();
    owner_.DestroyWindow();
    platform::ResetForTest();
  }
  CommandLog owner_;
  CMenu menu_;
};

TEST_F(Menus, EntriesKeepTheirFlagsAndIds) {
  EXPECT_EQ(menu_.GetMenuItemCount(), 4);
  EXPECT_EQ(menu_.GetMenuItemID(2), 0u) << "a separator";
  EXPECT_EQ(menu_.GetMenuState(12, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(menu_.GetMenuState(2, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(menu_.CheckMenuItem(13, MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(menu_.GetMenuState(13, MF_BYCOMMAND), 0u);
  EXPECT_EQ(menu_.GetMenuState(99, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(menu_.GetMenuItemID(4), static_cast<UINT>(-1));
  const HMENU handle = menu_.m_hMenu;
  menu_.DestroyMenu();
  EXPECT_FALSE(IsMenu(handle));
  EXPECT_EQ(GetMenuItemCount(handle), -1);
  EXPECT_FALSE(AppendMenu(handle, MF_STRING, 1, "x"));
}

TEST_F(Menus, TheDefaultResponderDismissesAndTheMenuIsLogged) {
  EXPECT_EQ(menu_.TrackPopupMenu(TPM_RETURNCMD, 40, 50, &owner_), 0);
  EXPECT_FALSE(menu_.TrackPopupMenu(TPM_LEFTALIGN, 40, 50, &owner_));
  platform::PumpMessages();
  EXPECT_TRUE(owner_.commands.empty());
  const auto log = platform::MenuLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].owner, owner_.m_hWnd);
  EXPECT_EQ(log[0].position.x, 40);
  ASSERT_EQ(log[0].entries.size(), 4u);
  EXPECT_EQ(log[0].entries[3].text, "Checked");
  EXPECT_EQ(log[0].entries[3].flags, MF_CHECKED);
}

TEST_F(Menus, AChoiceIsReturnedOrPostedToTheOwner) {
  platform::SetMenuResponder(platform::ChooseMenuEntry("Checked"));
  EXPECT_EQ(menu_.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner_), 13);
  EXPECT_TRUE(owner_.commands.empty()) << "a returned command is not posted";
  EXPECT_TRUE(menu_.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, &owner_));
  EXPECT_TRUE(owner_.commands.empty()) << "posted, not sent";
  platform::PumpMessages();
  EXPECT_EQ(owner_.commands, (std::vector<UINT>{13}));
  EXPECT_EQ(platform::MenuLog().back().chosen, 13u);
}

TEST_F(Menus, GreyedEntriesSeparatorsAndUnknownIdsCannotBeChosen) {
  platform::SetMenuResponder([](const platform::MenuRecord&) -> UINT_PTR { return 12; });
  EXPECT_EQ(menu_.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner_), 0);
  platform::SetMenuResponder([](const platform::MenuRecord&) -> UINT_PTR { return 77; });
  EXPECT_EQ(menu_.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner_), 0);
  EXPECT_EQ(platform::ChooseMenuEntry("Greyed")(platform::MenuLog().back()), 0u);
  menu_.EnableMenuItem(12, MF_ENABLED);
  platform::SetMenuResponder(platform::ChooseMenuEntry("Greyed"));
  EXPECT_EQ(menu_.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner_), 12);
  // No owner window: nothing is shown.
  EXPECT_FALSE(TrackPopupMenu(menu_, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr));
}

}  // namespace

namespace {

TEST_F(Menus, ARightClickAndTheAppsKeyAskForAContextMenu) {
  ASSERT_TRUE(platform::input::RightClickAt(owner_.m_hWnd, POINT{10, 20}));
  ASSERT_EQ(owner_.menuPoints.size(), 1u);
  POINT screen{10, 20};
  ::ClientToScreen(owner_.m_hWnd, &screen);
  EXPECT_EQ(owner_.menuPoints[0].x, screen.x);
  ASSERT_TRUE(platform::input::Focus(owner_.m_hWnd));
  platform::input::PressKey(VK_APPS);
  ASSERT_EQ(owner_.menuPoints.size(), 2u);
  EXPECT_EQ(owner_.menuPoints[1].x, -1) << "no point: the key, not the mouse";
  EXPECT_EQ(owner_.menuPoints[1].y, -1);
}

}  // namespace
