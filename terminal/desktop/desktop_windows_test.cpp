// Message boxes, pop-up menus and the menu bar of the desktop mode,
// headless: the input driver stands in for the person, the modal responder
// for the moment the window waits.
#include "terminal/desktop/message_box_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_for_test.h"
#include "terminal/desktop/menu_bar.h"
#include "terminal/desktop/menu_window.h"
#include "terminal/readout/window_readers.h"

namespace terminal::desktop {
namespace {

namespace input = platform::input;
using terminal::WindowText;

class DesktopWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    owner.CreateEx(0, "Test", "Owner", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 600, 400, nullptr, 0);
    ::SetActiveWindow(owner.m_hWnd);
    platform::PumpMessages();
  }
  void TearDown() override { platform::ResetForTest(); }

  // Shows a box whose answer `act` gives while the box waits; records what
  // it saw then.
  int Show(UINT type, const std::function<void(HWND box)>& act, const char* caption = "Careful") {
    platform::SetModalResponder([&](HWND box) {
      seenOwnerEnabled = ::IsWindowEnabled(owner.m_hWnd) != FALSE;
      seenCaption = WindowText(box);
      for (HWND c = ::GetWindow(box, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        seenChildren.push_back(WindowText(c));
      }
      act(box);
    });
    platform::MessageBoxRecord record;
    record.owner = owner.m_hWnd;
    record.text = "Please Select a valid Category";
    if (caption != nullptr) record.caption = caption;
    record.type = type;
    return MessageBoxWindow(record).Run();
  }

  CWnd owner;
  bool seenOwnerEnabled = true;
  std::string seenCaption;
  std::vector<std::string> seenChildren;
};

TEST_F(DesktopWindows, AMessageBoxIsAModalWindowAnsweredByItsButtons) {
  const int answer = Show(MB_YESNO, [](HWND box) { ASSERT_TRUE(input::Click(::GetDlgItem(box, IDNO))); });
  EXPECT_EQ(answer, IDNO);
  EXPECT_FALSE(seenOwnerEnabled) << "the owner is disabled while the box shows";
  EXPECT_EQ(seenCaption, "Careful");
  EXPECT_EQ(seenChildren, (std::vector<std::string>{"Please Select a valid Category", "&Yes", "&No"}));
  EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd)) << "and enabled again after";
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
}

TEST_F(DesktopWindows, EnterTakesTheFocusedButtonEscapeAndClosingCancel) {
  // The default button has the focus at first: the second of Yes/No/Cancel here.
  EXPECT_EQ(Show(MB_YESNOCANCEL | MB_DEFBUTTON2, [](HWND) { input::PressKey(VK_RETURN); }), IDNO);
  EXPECT_EQ(Show(MB_YESNOCANCEL,
                 [](HWND box) {
                   input::Focus(::GetDlgItem(box, IDCANCEL));
                   input::PressKey(VK_RETURN);
                 }),
            IDCANCEL);
  EXPECT_EQ(Show(MB_OKCANCEL, [](HWND) { input::PressKey(VK_ESCAPE); }), IDCANCEL);
  EXPECT_EQ(Show(
                MB_OK, [](HWND box) { ::PostMessage(box, WM_CLOSE, 0, 0); }, nullptr),
            IDOK);
  EXPECT_EQ(seenCaption, "Error") << "a box without a caption is captioned as the platform does";
  // Yes/No has no Cancel: Escape does not answer, and with nothing left to
  // happen on the manual clock the box gives the default answer.
  EXPECT_EQ(Show(MB_YESNO | MB_DEFBUTTON2, [](HWND) { input::PressKey(VK_ESCAPE); }), IDNO);
  EXPECT_EQ(input::FindWindowByText(nullptr, "Careful"), nullptr) << "no box is left behind";
}

TEST_F(DesktopWindows, TheMenuBarRunsTheHotKeyOfTheEntryChosen) {
  std::vector<std::string> chosen;
  MenuBar bar({{"RMS Allowed Groups", "Alt+A"}, {"Other", "Alt+O"}},
              [&](const std::string& key) { chosen.push_back(key); });
  bar.Create(owner);
  HWND first = input::FindWindowByText(bar.m_hWnd, "RMS Allowed Groups   Alt+A");
  HWND second = input::FindWindowByText(bar.m_hWnd, "Other   Alt+O");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  RECT a, b;
  ::GetWindowRect(first, &a);
  ::GetWindowRect(second, &b);
  EXPECT_LE(a.right, b.left) << "entries side by side";
  ASSERT_TRUE(input::Click(second));
  ASSERT_TRUE(input::Click(first));
  EXPECT_EQ(chosen, (std::vector<std::string>{"Alt+O", "Alt+A"}));
}

// A menu as the list view builds its own: one greyed entry, accelerators
// after a tab.
platform::MenuRecord ListMenu(HWND owner) {
  platform::MenuRecord menu;
  menu.owner = owner;
  menu.position = POINT{150, 160};
  menu.entries = {{MF_GRAYED, 31, "Write to Excel\tShift+E"},
                  {MF_SEPARATOR, 0, ""},
                  {MF_CHECKED, 33, "Draw Grid Lines\tShift+G"},
                  {0, 34, "Copy to Clip Board\tCtrl+C"}};
  return menu;
}

TEST_F(DesktopWindows, AMenuIsChosenByClickOrEnterAndDismissedByEscapeOrAClickElsewhere) {
  auto run = [&](const std::function<void(HWND list)>& act) {
    platform::SetModalResponder([&](HWND menu) {
      HWND list = ::GetWindow(menu, GW_CHILD);
      RECT r;
      ::GetWindowRect(menu, &r);
      seenChildren.clear();
      for (int i = 0; i < static_cast<int>(::SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
        char text[64] = {};
        ::SendMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        seenChildren.push_back(text);
      }
      seenCaption = std::to_string(r.left) + "," + std::to_string(r.top);
      act(list);
    });
    return MenuWindow(ListMenu(owner.m_hWnd)).Run();
  };
  auto row = [](HWND list, int index) {
    const int height = static_cast<int>(::SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    return POINT{10, index * height + height / 2};
  };
  // A click on a greyed entry leaves the menu open; one on a live entry chooses it.
  EXPECT_EQ(run([&](HWND list) {
              input::ClickAt(list, row(list, 0));
              input::ClickAt(list, row(list, 3));
            }),
            34u);
  EXPECT_EQ(seenCaption, "150,160") << "the menu opens where it was asked to";
  EXPECT_EQ(seenChildren,
            (std::vector<std::string>{"  Write to Excel      Shift+E", "", "* Draw Grid Lines      Shift+G",
                                      "  Copy to Clip Board      Ctrl+C"}));
  // The first live entry is selected at first: Enter chooses it.
  EXPECT_EQ(run([](HWND) { input::PressKey(VK_RETURN); }), 33u);
  EXPECT_EQ(run([](HWND) {
              input::PressKey(VK_DOWN);
              input::PressKey(VK_RETURN);
            }),
            34u);
  EXPECT_EQ(run([](HWND) { input::PressKey(VK_ESCAPE); }), 0u);
  EXPECT_EQ(run([&](HWND) { input::Click(owner.m_hWnd); }), 0u) << "a click elsewhere dismisses";
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
  EXPECT_TRUE(seenOwnerEnabled);
}

}  // namespace
}  // namespace terminal::desktop
