// Control models and the framework classes attached to them: subclassing,
// reflection from a real control, data exchange, edit and static details.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
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
  int check = 0, radio = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    g_log.push_back("parent " + std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
    return TRUE;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1, text);
    DDX_Text(dx, 2, intValue);
    DDX_Check(dx, 3, check);
    DDX_Radio(dx, 4, radio);
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
  ASSERT_TRUE(input::ButtonDown(h, POINT{40, 10}));
  input::ButtonUp(h, POINT{80, 10});
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent 7:0"})) << "let go off the button: no second click";
  ASSERT_TRUE(input::ButtonDown(h, POINT{40, 10}));
  ::SetFocus(parent.m_hWnd);
  EXPECT_EQ(::GetCapture(), nullptr);
  input::ButtonUp(h, POINT{40, 10});
  EXPECT_EQ(g_log.size(), 1u) << "pressed, then the focus taken: letting go clicks nothing";
}

TEST_F(ControlTest, DdxControlAttachesOnceAndDdxTextReportsBadNumbers) {
  Parent parent;
  const HWND name = parent.Add("EDIT", "Bob", 0, 1);
  const HWND number = parent.Add("EDIT", " 42 ", 0, 2);
  parent.Add("BUTTON", "x", BS_AUTOCHECKBOX, 3);
  // A radio group 4 to 6, then the next group's first button, checked.
  for (int id = 4; id <= 7; ++id) parent.Add("BUTTON", "r", BS_AUTORADIOBUTTON | (id % 3 == 1 ? WS_GROUP : 0), id);
  CEdit edit;
  CDataExchange dx(&parent, TRUE);
  DDX_Control(&dx, 1, edit);
  EXPECT_EQ(edit.m_hWnd, name);
  DDX_Control(&dx, 1, edit);  // a second exchange keeps the attachment
  EXPECT_EQ(CWnd::FromHandlePermanent(name), &edit);

  ::CheckDlgButton(parent.m_hWnd, 3, BST_CHECKED);
  ::CheckDlgButton(parent.m_hWnd, 7, BST_CHECKED);
  EXPECT_TRUE(parent.UpdateData(TRUE));
  EXPECT_EQ(std::tuple(parent.text, parent.intValue, parent.check, parent.radio), std::tuple(CString("Bob"), 42, 1, -1));

  ::SetWindowText(number, "4x");
  parent.text = "";
  EXPECT_FALSE(parent.UpdateData(TRUE));
  EXPECT_EQ(parent.text, "Bob") << "members before the failing one are exchanged";
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Please enter an integer.");
  EXPECT_EQ(::GetFocus(), number) << "the offending control gets the focus";

  parent.intValue = -7;
  parent.text = "Eve";
  parent.radio = 1;
  EXPECT_TRUE(parent.UpdateData(FALSE));
  CString shown;
  edit.GetWindowText(shown);
  EXPECT_EQ(shown, "Eve");
  EXPECT_EQ(parent.GetDlgItemInt(2, nullptr, TRUE), static_cast<UINT>(-7));
  parent.radio = -1;
  EXPECT_TRUE(parent.UpdateData(TRUE));
  EXPECT_EQ(parent.radio, 1) << "the button written is the one read back";
}

// Typed characters, the caret keys, clicks, Delete, the clipboard, undo and
// the selection messages against a small model of the text, the selection,
// the undo text and the clipboard, in edits of each typing style with a limit
// of eight: seeded random steps, each compared with its notifications. A
// password never reaches the clipboard; a click puts the caret at the nearer
// boundary of the character drawn under it (a password's mask character).
TEST_F(ControlTest, EditTextSelectionAndNotificationsFollowAModel) {
  Parent parent;
  std::string clip;
  for (const DWORD style : {DWORD{0}, DWORD{ES_MULTILINE | ES_WANTRETURN | ES_UPPERCASE}, DWORD{ES_MULTILINE | ES_NUMBER},
                            DWORD{ES_LOWERCASE | ES_PASSWORD}, DWORD{ES_READONLY}}) {
    const HWND edit = parent.Add("EDIT", "", style & ~ES_READONLY, 1);
    ::SendMessage(edit, EM_SETREADONLY, style & ES_READONLY, 0);
    ::SendMessage(edit, EM_LIMITTEXT, 8, 0);
    ASSERT_TRUE(input::Focus(edit));
    const auto* font = platform::FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(edit, WM_GETFONT, 0, 0)));
    const bool multi = style & ES_MULTILINE, fixed = style & ES_READONLY, secret = style & ES_PASSWORD;
    std::string text, undo;
    size_t anchor = 0, caret = 0;
    bool canUndo = false, modified = false;
    std::mt19937 random(style + 5);
    const auto code = [](int c) { return "parent 1:" + std::to_string(c); };
    for (int step = 0; step < 500; ++step) {
      g_log.clear();
      std::vector<std::string> want;
      size_t lo = std::min(anchor, caret), hi = std::max(anchor, caret);
      // The selection replaced, cut to the limit; `typed` reports the cut.
      const auto replace = [&](std::string with, bool typed) {
        const size_t room = 8 - (text.size() - (hi - lo));
        if (typed && with.size() > room) want.push_back(code(EN_MAXTEXT));
        with.resize(std::min(with.size(), room));
        if (with.empty() && lo == hi) return;
        undo = text, canUndo = modified = true;
        text.replace(lo, hi - lo, with);
        anchor = caret = lo + with.size();
        want.insert(want.begin(), {code(EN_UPDATE), code(EN_CHANGE)});
      };
      const int what = static_cast<int>(random() % 9), a = static_cast<int>(random() % 12) - 2;
      const int b = static_cast<int>(random() % 12) - 2;
      const bool shift = random() % 2;
      SCOPED_TRACE(::testing::Message() << "style " << style << " step " << step << ": " << what << " " << a << " "
                                        << b << " '" << text << "' " << anchor << "-" << caret);
      if (what <= 2) {  // a character typed; a backspace deletes before the caret, a line break whole
        const char ch = "aB7\r\t\b \x01"[a + 2 < 8 ? a + 2 : 0];
        ::SendMessage(edit, WM_CHAR, static_cast<WPARAM>(ch), 0);
        if (ch == 0x01) anchor = 0, caret = text.size();
        const bool typable = ch == '\r' ? multi && (style & ES_WANTRETURN) : ch == '\t' ? multi : ch != 0x01;
        if (fixed || !typable || ((style & ES_NUMBER) && ch != '\b' && !std::isdigit(ch))) {
        } else if (ch == '\b') {
          if (lo == hi && caret > 0) lo = caret - (caret >= 2 && text.compare(caret - 2, 2, "\r\n") == 0 ? 2 : 1);
          replace("", true);
        } else {
          const char shown = (style & ES_UPPERCASE) ? static_cast<char>(std::toupper(ch))
                             : (style & ES_LOWERCASE) ? static_cast<char>(std::tolower(ch)) : ch;
          replace(ch == '\r' ? "\r\n" : std::string(1, shown), true);
        }
      } else if (what <= 4 && a == 9) {  // a click, Shift keeping the anchor
        input::Advance(1000);  // not a double click
        input::ClickAt(edit, POINT{(b + 2) * 6, 5}, shift ? input::kShift : input::kNone);
        int left = 0;
        for (caret = 0; caret < text.size(); ++caret) {
          const int w = platform::CharWidth(font != nullptr ? *font : platform::FontSpec{}, secret ? '*' : text[caret]);
          if ((b + 2) * 6 < left + w / 2) break;
          left += w;
        }
        anchor = shift ? anchor : caret;
      } else if (what <= 4) {  // the caret keys, Shift keeping the anchor; Delete, with Shift a cut
        const UINT key = std::array{VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_DELETE, VK_LEFT}[static_cast<size_t>(a + 2) % 6];
        input::PressKey(key, shift ? input::kShift : input::kNone);
        if (key == VK_DELETE && shift && lo != hi && !secret) clip = text.substr(lo, hi - lo);
        if (key == VK_DELETE && !fixed && !(shift && secret)) {  // a password is never cut
          if (!shift && lo == hi && caret < text.size()) hi = caret + (text.compare(caret, 2, "\r\n") == 0 ? 2 : 1);
          replace("", true);
        } else if (key != VK_DELETE) {
          caret = key == VK_LEFT ? (caret > 0 ? caret - 1 : 0) : key == VK_RIGHT ? std::min(caret + 1, text.size())
                  : key == VK_HOME ? 0 : text.size();
          anchor = shift ? anchor : caret;
        }
      } else if (what == 5) {
        ::SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(a), b);
        if (a != -1) anchor = std::min(static_cast<size_t>(std::max(a, 0)), text.size());
        caret = a == -1 ? caret : b < 0 ? text.size() : std::min(static_cast<size_t>(b), text.size());
        anchor = a == -1 ? caret : anchor;
      } else if (what == 6) {  // a program's replacement, undoable or not, or new text, which forgets the edits
        const char* with = std::array{"", "q", "Zz9", "\r\nw"}[static_cast<size_t>(a & 3)];
        ::SendMessage(edit, b < 0 ? WM_SETTEXT : EM_REPLACESEL, shift, reinterpret_cast<LPARAM>(with));
        if (b < 0) text = with, anchor = caret = 0, canUndo = modified = false, want = {};
        if (b < 0 && !multi) want = {code(EN_UPDATE), code(EN_CHANGE)};
        if (b >= 0) replace(with, false);
        canUndo = canUndo && shift;
      } else if (what == 7) {  // cut, copy, paste or clear, by message or key; a single line pastes its first line
        const size_t k = static_cast<size_t>(a & 3);
        ::SendMessage(edit, shift && k < 3 ? UINT{WM_CHAR} : std::array{WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR}[k],
                      static_cast<WPARAM>("\x18\x03\x16"[k % 3]), 0);
        if (k < 2 && lo != hi && !secret) clip = text.substr(lo, hi - lo);
        if (((k == 0 && !secret) || k == 3) && !fixed) replace("", false);
        if (k == 2 && !fixed) replace(multi ? clip : clip.substr(0, clip.find_first_of("\r\n")), true);
      } else {  // Ctrl+Z or the message
        const LRESULT undone = ::SendMessage(edit, shift ? WM_CHAR : WM_UNDO, 0x1A, 0);
        ASSERT_EQ(undone, shift ? 0 : LRESULT{canUndo});
        if (canUndo) std::swap(text, undo), anchor = caret = std::min(caret, text.size());
        if (canUndo) want = {code(EN_UPDATE), code(EN_CHANGE)};
      }
      ASSERT_EQ(g_log, want);
      char shown[16] = "";
      ::GetWindowText(edit, shown, sizeof shown);
      ASSERT_EQ(shown, text);
      DWORD start = 0, end = 0;
      const LRESULT sel = ::SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      ASSERT_EQ(std::tuple(start, end, sel), std::tuple(DWORD(std::min(anchor, caret)), DWORD(std::max(anchor, caret)),
                                                        LRESULT{MAKELONG(WORD(std::min(anchor, caret)), WORD(std::max(anchor, caret)))}));
      ASSERT_EQ(std::tuple(::SendMessage(edit, EM_CANUNDO, 0, 0), ::SendMessage(edit, EM_GETMODIFY, 0, 0),
                           ::SendMessage(edit, EM_GETLINECOUNT, 0, 0)),
                std::tuple(LRESULT{canUndo}, LRESULT{modified}, multi ? 1 + std::count(text.begin(), text.end(), '\n') : 1));
    }
    ::DestroyWindow(edit);
  }
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
  EXPECT_EQ(::SendMessage(push, BM_GETSTATE, 0, 0), 0) << "the click took the focus from the push button";
}

}  // namespace
