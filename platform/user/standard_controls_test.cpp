// Control models and the framework classes attached to them: subclassing,
// reflection from a real control, data exchange, edit and static details.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/text_metrics.h"
#include "platform/user/cbutton.h"
#include "platform/user/clipboard.h"
#include "platform/user/data_exchange.h"
#include "platform/user/cedit.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/user/message_box.h"
#include "platform/user/cstatic.h"
#include "platform/testing/reset_test.h"

namespace {

namespace input = platform::input;

std::vector<std::string> g_log;

// A parent that logs the commands it gets.
class Parent : public CWnd {
 public:
  Parent() { CreateEx(0, "Parent", "Parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0); }
  HWND Add(LPCSTR cls, LPCSTR caption, DWORD style, int id, int x = 10, int y = 10) {
    return ::CreateWindowEx(0, cls, caption, WS_CHILD | WS_VISIBLE | style, x, y, 80, 20, m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  int intValue = 0;
  CString text;
  int check = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    g_log.push_back("parent " + std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
    return TRUE;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1, text);
    DDX_Text(dx, 2, intValue);
    DDX_Check(dx, 3, check);
  }
};

// A button class that handles its own click, as the system's controls do.
class SelfClickingButton : public CButton {
 public:
  Reflect answer = Reflect::Consume;

 protected:
  Reflect OnReflectCommand(UINT code) override {
    g_log.push_back("button " + std::to_string(code));
    return answer;
  }
};

class ControlTest : public platform::ResetTest {
 protected:
  void SetUp() override { g_log.clear(); }
};

TEST_F(ControlTest, ASubclassedControlSeesItsOwnClickBeforeTheParent) {
  Parent parent;
  SelfClickingButton button;
  button.SubclassWindow(parent.Add("BUTTON", "Go", BS_PUSHBUTTON, 7));
  ASSERT_TRUE(input::Click(button.m_hWnd));
  EXPECT_EQ(g_log, (std::vector<std::string>{"button 0"})) << "consumed by the control";
  g_log.clear();
  button.answer = Reflect::PassToParent;
  ASSERT_TRUE(input::Click(button.m_hWnd));
  EXPECT_EQ(g_log, (std::vector<std::string>{"button 0", "parent 7:0"}));
  // Detached again, the model alone remains and the parent alone hears.
  g_log.clear();
  button.UnsubclassWindow();
  const HWND h = ::GetDlgItem(parent.m_hWnd, 7);
  ASSERT_TRUE(input::Click(h));
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent 7:0"}));
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST_F(ControlTest, DdxControlAttachesOnceAndDdxTextReportsBadNumbers) {
  Parent parent;
  const HWND name = parent.Add("EDIT", "Bob", 0, 1);
  const HWND number = parent.Add("EDIT", " 42 ", 0, 2);
  parent.Add("BUTTON", "x", BS_AUTOCHECKBOX, 3);
  CEdit edit;
  CDataExchange dx(&parent, TRUE);
  DDX_Control(&dx, 1, edit);
  EXPECT_EQ(edit.m_hWnd, name);
  DDX_Control(&dx, 1, edit);  // a second exchange keeps the attachment
  EXPECT_EQ(CWnd::FromHandlePermanent(name), &edit);

  ::CheckDlgButton(parent.m_hWnd, 3, BST_CHECKED);
  EXPECT_TRUE(parent.UpdateData(TRUE));
  EXPECT_EQ(parent.text, "Bob");
  EXPECT_EQ(parent.intValue, 42);
  EXPECT_EQ(parent.check, 1);

  ::SetWindowText(number, "4x");
  parent.text = "";
  EXPECT_FALSE(parent.UpdateData(TRUE));
  EXPECT_EQ(parent.text, "Bob") << "members before the failing one are exchanged";
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Please enter an integer.");
  EXPECT_EQ(::GetFocus(), number) << "the offending control gets the focus";

  parent.intValue = -7;
  parent.text = "Eve";
  EXPECT_TRUE(parent.UpdateData(FALSE));
  CString shown;
  edit.GetWindowText(shown);
  EXPECT_EQ(shown, "Eve");
  EXPECT_EQ(parent.GetDlgItemInt(2, nullptr, TRUE), static_cast<UINT>(-7));
}

TEST_F(ControlTest, EditExchangesTextWithTheClipboardByKeyAndByMessage) {
  Parent parent;
  const HWND from = parent.Add("EDIT", "alpha beta", 0, 1);
  const HWND to = parent.Add("EDIT", "12345", 0, 2, 10, 40);
  const HWND secret = parent.Add("EDIT", "pin", ES_PASSWORD, 3, 10, 70);
  const HWND fixed = parent.Add("EDIT", "fixed", ES_READONLY, 4, 10, 100);
  char buffer[32];

  EXPECT_FALSE(::SendMessage(from, EM_CANUNDO, 0, 0)) << "nothing typed yet";
  ASSERT_TRUE(input::Focus(from));
  ::SendMessage(from, EM_SETSEL, 0, 5);
  ASSERT_TRUE(input::PressKey('C', input::kControl));
  EXPECT_EQ(platform::ClipboardText(), "alpha");
  ::GetWindowText(from, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "alpha beta") << "copying leaves the text";

  ASSERT_TRUE(input::Focus(to));
  ::SendMessage(to, EM_SETSEL, 1, 3);
  ::SendMessage(to, EM_LIMITTEXT, 7, 0);
  g_log.clear();
  ASSERT_TRUE(input::PressKey('V', input::kControl));
  ::GetWindowText(to, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "1alph45") << "the pasted text replaces the selection, cut to the limit";
  EXPECT_NE(std::find(g_log.begin(), g_log.end(), "parent 2:" + std::to_string(EN_MAXTEXT)), g_log.end());
  ASSERT_TRUE(input::PressKey('Z', input::kControl));
  ::GetWindowText(to, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "12345") << "undone";

  ASSERT_TRUE(input::Focus(from));
  ::SendMessage(from, EM_SETSEL, 5, 10);
  ASSERT_TRUE(input::PressKey(VK_DELETE, input::kShift));
  ::GetWindowText(from, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "alpha");
  EXPECT_EQ(platform::ClipboardText(), " beta");

  // A password never reaches the clipboard; a read-only edit copies but
  // neither cuts nor pastes.
  const DWORD before = ::GetClipboardSequenceNumber();
  ::SendMessage(secret, EM_SETSEL, 0, -1);
  ::SendMessage(secret, WM_COPY, 0, 0);
  ::SendMessage(secret, WM_CUT, 0, 0);
  EXPECT_EQ(::GetClipboardSequenceNumber(), before);
  ::GetWindowText(secret, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "pin");
  // A click puts the caret between the characters as drawn: in a password,
  // between the mask characters, whatever letters hide behind them.
  ::SetWindowText(secret, "WWWW");
  const platform::FontSpec* font =
      platform::FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(secret, WM_GETFONT, 0, 0)));
  const int mask = platform::CharWidth(font != nullptr ? *font : platform::FontSpec{}, '*');
  ASSERT_GT(mask, 2);
  const auto caretAfterClickAt = [&](int x) {
    EXPECT_TRUE(input::ClickAt(secret, {x, 5}));
    return ::SendMessage(secret, EM_GETSEL, 0, 0);
  };
  for (int k = 0; k < 4; ++k) {  // the nearer boundary of the character clicked
    EXPECT_EQ(caretAfterClickAt(k * mask + mask / 2 - 1), MAKELONG(k, k)) << k;
    EXPECT_EQ(caretAfterClickAt(k * mask + mask / 2), MAKELONG(k + 1, k + 1)) << k;
  }
  EXPECT_EQ(caretAfterClickAt(4 * mask + mask), MAKELONG(4, 4));
  ::SendMessage(fixed, EM_SETSEL, 0, -1);
  ::SendMessage(fixed, WM_CUT, 0, 0);
  ::SendMessage(fixed, WM_PASTE, 0, 0);
  ::GetWindowText(fixed, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "fixed");
  EXPECT_EQ(platform::ClipboardText(), "fixed");

  // A single-line edit pastes only the first line of what it is given.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  constexpr char kTwoLines[] = "one\r\ntwo";
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof kTwoLines);
  std::memcpy(::GlobalLock(block), kTwoLines, sizeof kTwoLines);
  ::GlobalUnlock(block);
  ASSERT_NE(::SetClipboardData(CF_TEXT, block), nullptr);
  ::CloseClipboard();
  ::SetWindowText(to, "");
  ::SendMessage(to, WM_PASTE, 0, 0);
  ::GetWindowText(to, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "one");
}

TEST_F(ControlTest, StaticsNotifyOnlyWithSsNotifyAndButtonsReportTheirState) {
  Parent parent;
  const HWND quiet = parent.Add("STATIC", "label", SS_LEFT, 1);
  const HWND loud = parent.Add("STATIC", "link", SS_NOTIFY, 2, 100);
  input::Click(quiet);
  input::Click(loud);
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent 2:" + std::to_string(STN_CLICKED)}));
  EXPECT_EQ(::SendMessage(quiet, WM_NCHITTEST, 0, 0), HTTRANSPARENT);

  const HWND tri = parent.Add("BUTTON", "3", BS_AUTO3STATE, 3, 200);
  const HWND push = parent.Add("BUTTON", "p", BS_PUSHBUTTON, 4, 300);
  std::vector<LRESULT> states;
  for (int i = 0; i < 3; ++i) {
    input::Click(tri);
    states.push_back(::SendMessage(tri, BM_GETCHECK, 0, 0));
  }
  EXPECT_EQ(states, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
  ::SendMessage(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(::SendMessage(push, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "a push button has no check";
  ::SetFocus(push);
  EXPECT_EQ(::SendMessage(push, BM_GETSTATE, 0, 0), BST_FOCUS);
  // A check box that is not automatic only reports the click.
  const HWND manual = parent.Add("BUTTON", "m", BS_CHECKBOX, 5, 10, 50);
  g_log.clear();
  input::Click(manual);
  EXPECT_EQ(::SendMessage(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent 5:0"}));
}

}  // namespace
