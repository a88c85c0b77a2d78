// The pop-up menu a person chooses in: the modal responder stands in for the
// moment it waits, the input driver for the person.
#include "platform/user/popup_menu_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/user/menu_layout.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"
#include "platform/window/metrics.h"

namespace {

namespace input = platform::input;
using platform::MenuEntry;

class PopupMenuWindow : public platform::ResetTest {
 protected:
  void SetUp() override {
    owner.CreateEx(0, "Test", "Owner", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 600, 400, nullptr, 0);
    ::SetActiveWindow(owner.m_hWnd);
    menu.owner = owner.m_hWnd;
    menu.position = POINT{150, 160};
    // A list's menu: a greyed entry first, a separator, a checked one, mnemonics (a last letter; the last one's first).
    menu.entries = {MenuEntry{MF_GRAYED, 31, "Write to Excel\tShift+E"},
                    MenuEntry{MF_SEPARATOR, 0, ""},
                    MenuEntry{MF_CHECKED, 33, "Draw Grid Line&s\tShift+G"},
                    MenuEntry{0, 34, "Cut && &Copy\tCtrl+C"},
                    MenuEntry{0, 35, "Customize"},
                    MenuEntry{MF_SEPARATOR, 0, ""}};
  }

  // Runs the menu; `act` plays the person while it waits. `hot` records the
  // hot entry after each step `act` reports through Note().
  UINT_PTR Run(const std::function<void(HWND menuWindow)>& act) {
    hots.clear();
    platform::SetModalResponder([&](HWND window) {
      shown = window;
      ::GetWindowRect(window, &placed);
      act(window);
    });
    return platform::ShowPopupMenu(menu);
  }
  void Note() { hots.push_back(platform::PopupMenuOf(shown)->hot); }
  POINT Row(int index) const {
    const RECT r = platform::LayOutMenu(menu.entries).rows[static_cast<size_t>(index)];
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  CWnd owner;
  platform::MenuRecord menu;
  HWND shown = nullptr;
  RECT placed{};
  std::vector<int> hots;
};

TEST_F(PopupMenuWindow, TheArrowKeysPassOverSeparatorsAndGreyedEntriesAndWrapAroundBothWays) {
  const platform::MenuLayout size = platform::LayOutMenu(menu.entries);  // just fits in the screen's corner
  menu.position = POINT{GetSystemMetrics(SM_CXSCREEN) - size.width, GetSystemMetrics(SM_CYSCREEN) - size.height};
  const UINT_PTR chosen = Run([&](HWND) {
    Note();  // the first entry that can be chosen
    for (const UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_END}) {
      input::PressKey(key);
      Note();
    }
    input::PressKey(VK_RETURN);
  });
  EXPECT_EQ(hots, (std::vector<int>{2, 3, 4, 2, 3, 2, 4, 4}));
  EXPECT_EQ(chosen, 35u);
  EXPECT_EQ(CPoint(placed.left, placed.top), CPoint(menu.position)) << "it fits: not moved";
  EXPECT_FALSE(::IsWindow(shown)) << "the menu's window is gone";
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd) << "the owner is active again";
}

TEST_F(PopupMenuWindow, ALetterChoosesItsEntryOrStepsAmongSeveralAndEscapeOrAClickElsewhereDismisses) {
  EXPECT_EQ(Run([](HWND) { input::TypeText("s"); }), 33u);
  const UINT_PTR two = Run([&](HWND window) {
    for (int i = 0; i < 3; ++i) {
      input::TypeText("c");  // "Cut && &Copy" and "Customize" share it
      Note();
    }
    ::PostMessage(window, WM_KEYDOWN, VK_ESCAPE, 0);  // ends the menu at once: the letter after it is not for the menu
    ::PostMessage(window, WM_CHAR, 'g', 0);
  });
  EXPECT_EQ(hots, (std::vector<int>{3, 4, 3}));
  EXPECT_EQ(two, 0u);
  EXPECT_EQ(Run([&](HWND) { input::Click(owner.m_hWnd); }), 0u);
  EXPECT_EQ(Run([&](HWND window) {
              input::MouseMove(window, POINT{-1, -1});  // over no entry: none is hot
              Note();
              input::ClickAt(window, Row(3));
            }),
            34u)
      << "a click chooses the entry under it";
  EXPECT_EQ(hots, std::vector<int>{-1});
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
}

}  // namespace
