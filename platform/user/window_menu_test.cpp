// The keyboard's ways into a window: Alt+F4, the window menu (Alt+Space)
// and mnemonics (Alt and a letter, or the letter alone where the focus
// takes no characters).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/user/cdialog.h"
#include "platform/user/dialog_resources.h"
#include "platform/user/menu.h"
#include "platform/window/message_queue.h"
#include "platform/window/move_size.h"

namespace {

namespace input = platform::input;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x5300});
constexpr UINT kDialogId = 330;
constexpr int kLabel = 1001, kName = 1002, kApply = 1003, kSave = 1004, kPlain = 1005;

platform::DialogTemplate Template() {
  platform::DialogTemplate t;
  t.id = kDialogId;
  t.caption = "Keys";
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 200;
  t.cy = 100;
  const DWORD tab = WS_VISIBLE | WS_TABSTOP;
  t.items = {
      {kLabel, "STATIC", "&Name:", 10, 10, 30, 10, WS_VISIBLE | SS_LEFT, 0},
      {kName, "EDIT", "", 45, 10, 80, 12, tab | ES_AUTOHSCROLL, 0},
      {kApply, "BUTTON", "&Apply for all", 10, 30, 80, 10, tab | BS_AUTOCHECKBOX, 0},
      {kPlain, "BUTTON", "Plain", 10, 50, 50, 14, tab | BS_PUSHBUTTON, 0},
      {kSave, "BUTTON", "&Save", 100, 80, 40, 14, tab | BS_PUSHBUTTON, 0},
      {IDCANCEL, "BUTTON", "&Cancel", 150, 80, 40, 14, tab | BS_PUSHBUTTON, 0},
  };
  return t;
}

class KeysDialog : public CDialog {
 public:
  KeysDialog() : CDialog(kDialogId) {}
  std::vector<int> clicked;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == BN_CLICKED) clicked.push_back(LOWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
};

class KeyboardWays : public platform::ResetTest {
 protected:
  void SetUp() override {
    platform::RegisterDialogTemplate(kModule, Template());
    AfxSetResourceHandle(kModule);
    ASSERT_TRUE(dialog.Create(kDialogId));
    dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    dialog.DestroyWindow();
    platform::RemoveModuleResources(kModule);
    AfxSetResourceHandle(nullptr);
  }
  HWND Item(int id) { return ::GetDlgItem(dialog.m_hWnd, id); }
  std::string Text(int id) {
    char text[64] = {};
    ::GetWindowText(Item(id), text, sizeof text);
    return text;
  }
  RECT Rect() {
    RECT r;
    ::GetWindowRect(dialog.m_hWnd, &r);
    return r;
  }

  KeysDialog dialog;
};

TEST_F(KeyboardWays, AMnemonicPressesItsButtonWithAltAlwaysAndAloneWhereTheFocusTakesNoCharacters) {
  ASSERT_EQ(::GetFocus(), Item(kName));
  input::TypeText("sa");
  EXPECT_EQ(Text(kName), "sa") << "the edit takes letters as they are";
  EXPECT_TRUE(dialog.clicked.empty());
  input::PressKey('S', input::kAlt);
  EXPECT_EQ(dialog.clicked, std::vector<int>{kSave});
  EXPECT_EQ(Text(kName), "sa");

  ::SetFocus(Item(kPlain));
  input::TypeText("a");  // a push button takes no characters: "&Apply for all"
  EXPECT_EQ(::SendMessage(Item(kApply), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::GetFocus(), Item(kApply)) << "a check box is focused and clicked";
  input::TypeText("n");  // a label's mnemonic gives the focus to the control after it
  EXPECT_EQ(::GetFocus(), Item(kName));
  input::PressKey('Q', input::kAlt);  // no control has it: nothing happens
  EXPECT_EQ(::GetFocus(), Item(kName));
  EXPECT_TRUE(dialog.IsWindowVisible());
  input::PressKey('C', input::kAlt);
  EXPECT_FALSE(dialog.IsWindowVisible()) << "&Cancel";
}

TEST_F(KeyboardWays, AltF4ClosesTheWindowTheKeyboardIsIn) {
  ::SetFocus(Item(kApply));
  input::PressKey(VK_F4, input::kAlt);
  EXPECT_FALSE(dialog.IsWindowVisible()) << "a dialog's close is its Cancel";
  EXPECT_EQ(dialog.clicked, std::vector<int>{IDCANCEL});

  CWnd plain;
  plain.CreateEx(0, "Test", "plain", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 200, 100, nullptr, 0);
  ASSERT_EQ(::GetActiveWindow(), plain.m_hWnd);
  input::PressKey(VK_F4, input::kAlt);
  EXPECT_FALSE(::IsWindow(plain.m_hWnd)) << "an ordinary window is destroyed";
}

TEST_F(KeyboardWays, AltSpaceOpensTheWindowMenuWhoseMoveGoesOnWithTheArrowKeys) {
  std::vector<platform::MenuRecord> menus;
  UINT_PTR answer = SC_MOVE;
  platform::SetMenuResponder([&](const platform::MenuRecord& menu) {
    menus.push_back(menu);
    return answer;
  });
  const RECT before = Rect();
  input::PressKey(VK_SPACE, input::kAlt);
  ASSERT_EQ(menus.size(), 1u);
  std::vector<std::string> texts;
  for (const platform::MenuEntry& e : menus[0].entries) texts.push_back(e.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"&Move", "", "&Close\tAlt+F4"})) << "a dialog without boxes";
  EXPECT_EQ(platform::MoveSizeWindow(), dialog.m_hWnd);
  input::PressKey(VK_LEFT);
  input::PressKey(VK_UP);
  input::PressKey(VK_RETURN);
  EXPECT_EQ(Rect().left, before.left - 8);
  EXPECT_EQ(Rect().top, before.top - 8);
  EXPECT_EQ(Text(kName), "") << "the keys moved the window; none reached the focus";

  CWnd sizable;
  sizable.CreateEx(0, "Test", "sizable",
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE, 0,
                   0, 300, 200, nullptr, 0);
  answer = SC_MAXIMIZE;
  input::PressKey(VK_SPACE, input::kAlt);
  ASSERT_EQ(menus.size(), 2u);
  texts.clear();
  std::vector<bool> greyed;
  for (const platform::MenuEntry& e : menus[1].entries) {
    texts.push_back(e.text);
    greyed.push_back((e.flags & MF_GRAYED) != 0);
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "", "&Close\tAlt+F4"}));
  EXPECT_EQ(greyed, (std::vector<bool>{true, false, false, false, false, false, false}));
  EXPECT_TRUE(::IsZoomed(sizable.m_hWnd)) << "the entry chosen is carried out";
  sizable.DestroyWindow();
}

}  // namespace
