// Message boxes and the menu bar of the desktop mode,
// headless: the input driver stands in for the person, the modal responder
// for the moment the window waits.
#include "terminal/desktop/message_box_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/user/menu.h"
#include "terminal/desktop/menu_bar.h"
#include "terminal/readout/window_readers.h"

namespace terminal::desktop {
namespace {

namespace input = platform::input;
using terminal::WindowText;

class DesktopWindows : public platform::ResetTest {
 protected:
  void SetUp() override {
    owner.CreateEx(0, "Test", "Owner", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 600, 400, nullptr, 0);
    ::SetActiveWindow(owner.m_hWnd);
    platform::PumpMessages();
  }

  // Shows a box whose answer `act` gives while the box waits; records what
  // it saw then, the button drawn as the default one marked.
  int Show(UINT type, const std::function<void(HWND box)>& act, const char* caption = "Careful") {
    platform::SetModalResponder([&](HWND box) {
      seenOwnerEnabled = ::IsWindowEnabled(owner.m_hWnd) != FALSE;
      seenCaption = WindowText(box);
      seenFocus = ::GetDlgCtrlID(::GetFocus());
      ::GetWindowRect(box, &seenPlace);
      RECT client{};
      ::GetClientRect(box, &client);
      LONG first = INT_MAX, last = 0;  // the buttons' span in the box's client
      for (HWND c = ::GetWindow(box, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const bool drawnDefault = (::GetWindowLongPtr(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        seenChildren.push_back(WindowText(c) + (drawnDefault ? " (default)" : ""));
        RECT r{};
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        if (::GetDlgCtrlID(c) <= IDNO) first = std::min(first, r.left), last = std::max(last, r.right);
      }
      EXPECT_NEAR(first, client.right - last, 1) << "the buttons sit centred";
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
  int seenFocus = 0;
  RECT seenPlace{};
  std::vector<std::string> seenChildren;
};

TEST_F(DesktopWindows, AMessageBoxIsAModalWindowAnsweredByItsButtons) {
  CWnd other;  // active as the box opens, yet not the box's owner
  other.CreateEx(0, "Test", "Other", WS_POPUP | WS_CAPTION | WS_VISIBLE, 700, 500, 100, 100, nullptr, 0);
  const int answer = Show(MB_YESNO, [](HWND box) { ASSERT_TRUE(input::Click(::GetDlgItem(box, IDNO))); });
  EXPECT_EQ(answer, IDNO);
  EXPECT_FALSE(seenOwnerEnabled) << "the owner is disabled while the box shows";
  EXPECT_EQ(seenCaption, "Careful");
  EXPECT_EQ(seenFocus, IDYES) << "the default button has the focus";
  EXPECT_NEAR((seenPlace.left + seenPlace.right) / 2, 400, 1) << "centred over its owner";
  EXPECT_NEAR((seenPlace.top + seenPlace.bottom) / 2, 300, 1);
  EXPECT_EQ(seenChildren, (std::vector<std::string>{"Please Select a valid Category", "&Yes (default)", "&No"}));
  EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd)) << "and enabled again after";
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
}

TEST_F(DesktopWindows, EnterTakesTheFocusedButtonEscapeAndClosingCancel) {
  // The default button has the focus at first: the second of Yes/No/Cancel here.
  EXPECT_EQ(Show(MB_YESNOCANCEL | MB_DEFBUTTON2, [](HWND) { input::PressKey(VK_RETURN); }), IDNO);
  EXPECT_EQ(Show(MB_YESNOCANCEL,
                 [](HWND) {
                   input::PressKey(VK_TAB);  // from Yes to No, and no answer yet
                   input::PressKey(VK_RETURN);
                 }),
            IDNO);
  EXPECT_EQ(Show(MB_YESNO, [](HWND) { input::PressKey('N'); }), IDNO) << "the underlined letter";
  EXPECT_EQ(Show(MB_OKCANCEL, [](HWND) { input::PressKey(VK_ESCAPE); }), IDCANCEL);
  EXPECT_EQ(Show(
                MB_OKCANCEL, [](HWND box) { ::PostMessage(box, WM_CLOSE, 0, 0); }, nullptr),
            IDCANCEL);
  EXPECT_EQ(seenCaption, "Error") << "a box without a caption is captioned as the platform does";
  // Yes/No has no Cancel: Escape does not answer, and with nothing left to
  // happen on the manual clock the box gives the default answer.
  EXPECT_EQ(Show(MB_YESNO | MB_DEFBUTTON2, [](HWND) { input::PressKey(VK_ESCAPE); }), IDNO);
  // Nor does the command of a button it lacks.
  EXPECT_EQ(Show(MB_YESNO, [](HWND box) { ::SendMessage(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }),
            IDYES);
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
  ::SendMessage(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), 0);  // no entry's: nothing is chosen
  EXPECT_EQ(chosen, (std::vector<std::string>{"Alt+O", "Alt+A"}));
}

TEST_F(DesktopWindows, TheListMenuDropsBelowItsEntryGreyedWithoutAListOfTheModule) {
  MenuBar bar({{"RMS Allowed Groups", "Alt+A"}}, [](const std::string&) {});
  bar.Create(owner);
  HWND list = input::FindWindowByText(bar.m_hWnd, "List");
  ASSERT_NE(list, nullptr);
  std::vector<platform::MenuRecord> shown;
  platform::SetMenuResponder([&](const platform::MenuRecord& menu) {
    shown.push_back(menu);
    return UINT_PTR{0};
  });
  ASSERT_TRUE(input::Click(list));
  ASSERT_EQ(shown.size(), 1u);
  std::vector<std::string> greyed;
  for (const auto& entry : shown[0].entries) greyed.push_back(entry.flags & MF_GRAYED ? entry.text : "(enabled)");
  EXPECT_EQ(greyed, (std::vector<std::string>{"Add Custom Column...", "Delete Custom Column..."}));
  RECT button;
  ::GetWindowRect(list, &button);
  EXPECT_EQ(shown[0].position.x, button.left);
  EXPECT_EQ(shown[0].position.y, button.bottom) << "it drops below its entry";
}

}  // namespace
}  // namespace terminal::desktop
