#include "platform/user/menu.h"

#include <gtest/gtest.h>

#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_test.h"
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

class Menus : public platform::ResetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateEx(0, "Test", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0));
    ASSERT_TRUE(m_menu.CreatePopupMenu());
    m_menu.AppendMenu(MF_STRING, 11, "Open");
    m_menu.AppendMenu(MF_STRING | MF_GRAYED, 12, "Greyed");
    m_menu.AppendMenu(MF_SEPARATOR);
    m_menu.AppendMenu(MF_STRING | MF_CHECKED, 13, "Checked");
  }
  void TearDown() override {
    m_menu.DestroyMenu();
    m_owner.DestroyWindow();
  }
  CommandLog m_owner;
  CMenu m_menu;
};

TEST_F(Menus, EntriesKeepTheirFlagsAndIds) {
  EXPECT_EQ(m_menu.GetMenuItemCount(), 4);
  EXPECT_EQ(m_menu.GetMenuItemID(2), 0u) << "a separator";
  // Braced: asked in this order, the check taken off before the state is read.
  EXPECT_EQ((std::vector<UINT>{m_menu.GetMenuState(12, MF_BYCOMMAND), m_menu.GetMenuState(2, MF_BYPOSITION),
                               m_menu.CheckMenuItem(13, MF_UNCHECKED), m_menu.GetMenuState(13, MF_BYCOMMAND),
                               m_menu.GetMenuState(99, MF_BYCOMMAND), m_menu.GetMenuItemID(4)}),
            (std::vector<UINT>{MF_GRAYED, MF_SEPARATOR, MF_CHECKED, 0, static_cast<UINT>(-1), static_cast<UINT>(-1)}));
  const HMENU handle = m_menu.m_hMenu;
  m_menu.DestroyMenu();
  EXPECT_FALSE(IsMenu(handle) || AppendMenu(handle, MF_STRING, 1, "x"));
  EXPECT_EQ(GetMenuItemCount(handle), -1);
}

TEST_F(Menus, AChoiceIsReturnedOrPostedToTheOwner) {
  platform::SetMenuResponder(platform::ChooseMenuEntry("Checked"));
  EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 13);
  EXPECT_TRUE(m_owner.commands.empty()) << "a returned command is not posted";
  EXPECT_TRUE(m_menu.TrackPopupMenu(TPM_LEFTALIGN, 0, 0, &m_owner));
  EXPECT_TRUE(m_owner.commands.empty()) << "posted, not sent";
  platform::PumpMessages();
  EXPECT_EQ(m_owner.commands, (std::vector<UINT>{13}));
  EXPECT_EQ(platform::MenuLog().back().chosen, 13u);
}

TEST_F(Menus, GreyedEntriesSeparatorsAndUnknownIdsCannotBeChosen) {
  platform::SetMenuResponder([](const platform::MenuRecord&) -> UINT_PTR { return 12; });
  EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 0);
  platform::SetMenuResponder([](const platform::MenuRecord&) -> UINT_PTR { return 77; });
  EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 0);
  EXPECT_EQ(platform::ChooseMenuEntry("Greyed")(platform::MenuLog().back()), 0u);
  m_menu.EnableMenuItem(12, MF_ENABLED);
  platform::SetMenuResponder(platform::ChooseMenuEntry("Greyed"));
  EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 12);
  // No owner window: nothing is shown.
  EXPECT_FALSE(TrackPopupMenu(m_menu, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr));
}


TEST_F(Menus, ARightClickAndTheAppsKeyAskForAContextMenu) {
  ASSERT_TRUE(platform::input::RightClickAt(m_owner.m_hWnd, POINT{10, 20}));
  ASSERT_EQ(m_owner.menuPoints.size(), 1u);
  POINT screen{10, 20};
  ::ClientToScreen(m_owner.m_hWnd, &screen);
  EXPECT_EQ(m_owner.menuPoints[0].x, screen.x);
  ASSERT_TRUE(platform::input::Focus(m_owner.m_hWnd));
  platform::input::PressKey(VK_APPS);
  ASSERT_EQ(m_owner.menuPoints.size(), 2u);
  EXPECT_EQ(m_owner.menuPoints[1], CPoint(-1, -1)) << "no point: the key, not the mouse";
  ::EnableWindow(m_owner.m_hWnd, FALSE);
  EXPECT_FALSE(platform::input::RightClickAt(m_owner.m_hWnd, POINT{10, 20})) << "a disabled window takes no click";
  EXPECT_EQ(m_owner.menuPoints.size(), 2u);
}

}  // namespace
