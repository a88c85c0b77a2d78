#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"
#include "platform/input/input_driver.h"
#include "platform/user/dialog_resources.h"
#include "platform/testing/reset_test.h"
#include "platform/window/metrics.h"
#include "platform/window/scroll_bar.h"

namespace {

namespace input = platform::input;

constexpr int kId = 200;
constexpr int kItem = 13;  // list item height with the default font

std::string TextOf(HWND hwnd) {
  char buffer[128] = "";
  ::GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}

// What a control's parts ask of their owner about colours and owner-drawn items.
constexpr UINT kQuestions[] = {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT,      WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN,
                               WM_CTLCOLORDLG,    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,  WM_DRAWITEM,
                               WM_MEASUREITEM,    WM_DELETEITEM,        WM_COMPAREITEM};

// The dialog: logs the combo box's notifications by name, with the field's
// text as a CBN_SELCHANGE handler reads it.
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, 0); }
  std::vector<std::string> log;
  // While `recording`: every message that arrives, each answered with
  // 0x70 + message.
  bool recording = false;
  std::vector<UINT> asked;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (!recording) return CWnd::OnWndMsg(message, wParam, lParam, result);
    asked.push_back(message);
    *result = 0x70 + message;
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) != kId) return FALSE;
    static const char* const kNames[] = {"?",          "selchange", "dblclk",  "setfocus", "killfocus",   "editchange",
                                         "editupdate", "dropdown",  "closeup", "selendok", "selendcancel"};
    const UINT code = HIWORD(wParam);
    std::string entry = code < 11 ? kNames[code] : std::to_string(code);
    if (code == CBN_SELCHANGE) entry += " '" + TextOf(reinterpret_cast<HWND>(lParam)) + "'";
    log.push_back(entry);
    return TRUE;
  }
};

class ComboBoxTest : public platform::ResetTest {
 protected:
  void SetUp() override { parent.Open(); }

  // A combo box 120 wide and 100 high (dropped) without an object.
  HWND Make(DWORD style, std::vector<const char*> items = {}) {
    combo = ::CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 100, parent, Id(kId),
                             AfxGetInstanceHandle(), nullptr);
    for (const char* item : items) Send(CB_ADDSTRING, 0, item);
    COMBOBOXINFO info;
    ::GetComboBoxInfo(combo, &info);
    list = info.hwndList;
    edit = ::GetDlgItem(combo, 1001);
    parent.log.clear();
    return combo;
  }
  static HMENU Id(int id) { return reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessage(combo, message, wParam, lParam);
  }
  LRESULT Send(UINT message, WPARAM wParam, const char* text) {
    return ::SendMessage(combo, message, wParam, reinterpret_cast<LPARAM>(text));
  }
  void ClickListItem(int index) { input::ClickAt(list, POINT{5, index * kItem + 3}); }

  Parent parent;
  HWND combo = nullptr;
  HWND list = nullptr;
  HWND edit = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(ComboBoxTest, DropDownListNotifiesOnlyWhatTheUserDoes) {
  Make(CBS_DROPDOWNLIST, {"BSE", "NFO", "NSE"});
  Send(CB_SETCURSEL, 0);
  EXPECT_TRUE(parent.log.empty());

  // Closed: arrows and typed prefixes choose at once.
  input::Focus(combo);
  input::PressKey(VK_DOWN);
  input::TypeText("ns");
  EXPECT_EQ(parent.log, (Log{"setfocus", "selendok", "selchange 'NFO'", "selendok", "selchange 'NSE'"}));

  // A click in the dropped list closes it, then reports the change.
  parent.log.clear();
  input::Click(combo);
  EXPECT_TRUE(Send(CB_GETDROPPEDSTATE));
  EXPECT_TRUE(::IsWindowVisible(list));
  ClickListItem(0);
  EXPECT_FALSE(Send(CB_GETDROPPEDSTATE) || ::IsWindowVisible(list));
  EXPECT_EQ(parent.log, (Log{"dropdown", "selendok", "closeup", "selchange 'BSE'"}));

  // Dropped: arrows and the pointer only preview; Escape goes back to the item last told, Enter keeps one and tells.
  parent.log.clear();
  input::PressKey(VK_DOWN, input::kAlt);
  input::PressKey(VK_DOWN);
  input::MouseMove(list, POINT{5, 2 * kItem + 3});
  input::PressKey(VK_ESCAPE);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  input::PressKey(VK_DOWN, input::kAlt);
  input::MouseMove(list, POINT{5, 3});
  input::PressKey(VK_RETURN);
  EXPECT_EQ(parent.log, (Log{"dropdown", "selchange 'NFO'", "selendcancel", "closeup", "dropdown", "selendok",
                             "closeup", "selchange 'BSE'"}));
}

TEST_F(ComboBoxTest, DropDownListRefusesFreeText) {
  Make(CBS_DROPDOWNLIST, {"BSE", "NFO"});
  EXPECT_EQ(edit, nullptr);
  EXPECT_EQ(Send(WM_SETTEXT, 0, "MCX"), CB_ERR);
  EXPECT_EQ(TextOf(combo), "") << "no free text";
  EXPECT_EQ(Send(WM_SETTEXT, 0, "nfo"), TRUE);  // names an item: selects it
  EXPECT_EQ(TextOf(combo), "NFO");
  EXPECT_EQ(std::pair(Send(CB_GETEDITSEL), Send(CB_LIMITTEXT, 3)), std::pair(LRESULT{CB_ERR}, LRESULT{CB_ERR}));
  input::Focus(combo);
  input::TypeText("m");  // no item starts with it: nothing changes
  EXPECT_EQ(TextOf(combo), "NFO");
  EXPECT_EQ(parent.log, (Log{"setfocus"}));
}

TEST_F(ComboBoxTest, ArrowsAndPagesPickFromTheClosedListAndTheFieldKeepsItsCaretKeys) {
  const std::vector<const char*> items = {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"};
  const UINT keys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_LEFT, VK_RIGHT, VK_INSERT, VK_F2};
  for (const DWORD kind : {CBS_DROPDOWNLIST, CBS_DROPDOWN}) {
    for (const UINT key : keys) {
      Make(kind, items);
      Send(CB_SETCURSEL, 5);
      input::Focus(combo);
      input::PressKey(key);
      // Without a field the caret keys walk the list too; with one they move its caret.
      const bool caretKey = key == VK_HOME || key == VK_END || key == VK_LEFT || key == VK_RIGHT;
      const bool picks = caretKey ? kind == CBS_DROPDOWNLIST : key != VK_INSERT && key != VK_F2;
      const bool back = key == VK_UP || key == VK_PRIOR || key == VK_HOME || key == VK_LEFT;
      const auto now = Send(CB_GETCURSEL);
      if (!picks) {
        EXPECT_EQ(now, 5) << kind << " key " << key;
      } else {
        EXPECT_TRUE(back ? now < 5 : now > 5) << kind << " key " << key << " picked " << now;
      }
      if (kind == CBS_DROPDOWN) {
        EXPECT_EQ(Send(CB_GETEDITSEL) != MAKELONG(0, 2), caretKey) << "key " << key;
      }
      ::DestroyWindow(combo);
    }
  }
}

TEST_F(ComboBoxTest, EditFieldOfADropDownComboNotifiesTyping) {
  Make(CBS_DROPDOWN | CBS_SORT, {"NSE", "NFO", "BSE"});
  ASSERT_NE(edit, nullptr);
  char cls[16] = "";
  ::GetClassName(edit, cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  COMBOBOXINFO info;
  EXPECT_TRUE(::GetComboBoxInfo(combo, &info) && info.hwndItem == edit) << "the field is the item";
  ::EnableWindow(combo, FALSE);
  EXPECT_FALSE(::IsWindowEnabled(edit) || ::IsWindowEnabled(list)) << "disabled with the box";
  ::EnableWindow(combo, TRUE);
  for (HWND part : {edit, list}) EXPECT_EQ(::GetWindowLongPtr(part, GWL_HINSTANCE), LONG_PTR(AfxGetInstanceHandle()));
  // Resized, the field still fills the box but for its button.
  ::SetWindowPos(combo, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  RECT box;
  RECT field;
  ::GetClientRect(combo, &box);
  ::GetWindowRect(edit, &field);
  EXPECT_EQ(field.right - field.left, box.right - ::GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(field.bottom - field.top, box.bottom);
  // A name given at creation is the field's first text.
  const HWND named = ::CreateWindowEx(0, "ComboBox", "NSE", WS_CHILD | CBS_DROPDOWN, 0, 0, 120, 100, parent, Id(8),
                                      AfxGetInstanceHandle(), nullptr);
  EXPECT_EQ(TextOf(::GetDlgItem(named, 1001)), "NSE");

  // The combo box's own updates of the field are quiet.
  Send(CB_SETCURSEL, 1);
  EXPECT_EQ(TextOf(edit), "NFO");
  ::SetWindowText(combo, "free text");
  EXPECT_EQ(TextOf(combo), "free text");
  EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);  // the closed list follows the text: no item
  EXPECT_EQ(Send(CB_SELECTSTRING, static_cast<WPARAM>(-1), "b"), 0);
  EXPECT_EQ(TextOf(edit), "BSE") << "the first item found shows in the field too";
  ::SetWindowText(combo, "free text");
  EXPECT_TRUE(parent.log.empty());

  input::Focus(combo);
  EXPECT_EQ(::GetFocus(), edit);
  EXPECT_EQ(Send(CB_GETEDITSEL), MAKELONG(0, 9));  // the focus selects the whole text
  Send(CB_SETEDITSEL, 0, MAKELPARAM(0, static_cast<WORD>(-1)));
  input::TypeText("N");
  EXPECT_EQ(TextOf(combo), "N");
  EXPECT_EQ(parent.log, (Log{"setfocus", "editupdate", "editchange"}));

  // An arrow picks from the list; a handler of CBN_SELCHANGE still sees the
  // old text, the field shows the item afterwards.
  parent.log.clear();
  Send(CB_SETCURSEL, 0);
  input::PressKey(VK_DOWN);
  EXPECT_EQ(parent.log, (Log{"selendok", "selchange 'BSE'"}));
  EXPECT_EQ(std::pair(TextOf(combo), Send(CB_GETEDITSEL)), std::pair(std::string("NFO"), LRESULT{MAKELONG(0, 3)}));
  input::PressKey(VK_UP);
  EXPECT_EQ(Send(CB_GETCURSEL), 0);
  // The field keeps no selection while the focus is elsewhere.
  input::Focus(::CreateWindowEx(0, "Test", "", WS_CHILD | WS_VISIBLE, 0, 200, 50, 20, parent, Id(7), nullptr, nullptr));
  const auto kept = static_cast<DWORD>(Send(CB_GETEDITSEL));
  EXPECT_EQ(LOWORD(kept), HIWORD(kept));
  input::Focus(combo);

  // Dropped, and typed while dropped, the list selects the first item the text starts with.
  parent.log.clear();
  ::SetWindowText(combo, "nf");  // the closed list follows with no item
  Send(CB_SHOWDROPDOWN, TRUE);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  Send(CB_SETEDITSEL, 0, MAKELPARAM(0, static_cast<WORD>(-1)));
  input::TypeText("ns");
  EXPECT_EQ(Send(CB_GETCURSEL), 2);
  EXPECT_EQ(Send(CB_LIMITTEXT, 2), TRUE);
  input::TypeText("e");  // past the limit
  EXPECT_EQ(TextOf(combo), "ns");
  EXPECT_EQ(parent.log, (Log{"dropdown", "editupdate", "editchange", "editupdate", "editchange"}));

  // No selection, or no items, leaves an empty field, quietly.
  parent.log.clear();
  EXPECT_EQ(Send(CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
  EXPECT_EQ(TextOf(combo), "");
  Send(CB_SETCURSEL, 0);
  Send(CB_RESETCONTENT);
  EXPECT_EQ(TextOf(combo), "");
  EXPECT_EQ(Send(CB_GETCOUNT), 0);
  // A command from a window that is neither its field nor its list says nothing of the field.
  ::SendMessage(combo, WM_COMMAND, MAKEWPARAM(kId, EN_CHANGE), reinterpret_cast<LPARAM>(parent.m_hWnd));
  EXPECT_TRUE(parent.log.empty());
}

TEST_F(ComboBoxTest, FocusLeavingADroppedComboClosesItFirst) {
  Make(CBS_DROPDOWNLIST, {"a", "b"});
  HWND other = ::CreateWindowEx(0, "Test", "", WS_CHILD | WS_VISIBLE, 0, 200, 50, 20, parent, Id(7), nullptr, nullptr);
  input::Focus(combo);
  input::Focus(combo);  // already there: no second notification
  Send(CB_SHOWDROPDOWN, TRUE);
  // Dropped, it keeps Enter and Escape (no other key) from the dialog manager.
  const auto keeps = [&](UINT key) {  // the field answers for a combo that has one
    MSG msg{edit != nullptr ? edit : combo, WM_KEYDOWN, key, 0, 0, {}};
    return (::SendMessage(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE) != 0;
  };
  EXPECT_TRUE(keeps(VK_RETURN) && keeps(VK_ESCAPE) && !keeps(VK_TAB));
  input::Focus(other);
  EXPECT_FALSE(keeps(VK_RETURN) || keeps(VK_ESCAPE)) << "closed";
  EXPECT_EQ(parent.log, (Log{"setfocus", "dropdown", "selendcancel", "closeup", "killfocus"}));
  EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
  // Closed by its owner, the list is cancelled as well.
  parent.log.clear();
  Send(CB_SHOWDROPDOWN, TRUE);
  Send(CB_SHOWDROPDOWN, FALSE);
  EXPECT_EQ(parent.log, (Log{"dropdown", "selendcancel", "closeup"}));
  Make(CBS_DROPDOWN);
  Send(CB_SHOWDROPDOWN, TRUE);
  EXPECT_TRUE(keeps(VK_RETURN) && !keeps(VK_TAB));
}

TEST_F(ComboBoxTest, WhatItsFieldAndListAskGoesOnToItsParent) {
  Make(CBS_DROPDOWN);
  parent.recording = true;
  for (UINT question : kQuestions) {
    EXPECT_EQ(Send(question), static_cast<LRESULT>(0x70 + question)) << question;
  }
  EXPECT_EQ(parent.asked, std::vector<UINT>(std::begin(kQuestions), std::end(kQuestions)));
  parent.asked.clear();
  Send(WM_NOTIFY);
  Send(WM_CTLCOLORSTATIC + 1);
  parent.recording = false;
  EXPECT_TRUE(parent.asked.empty()) << "nothing else is passed on";
}

}  // namespace

TEST_F(ComboBoxTest, TheDroppedListShowsUpToItsMinimumVisibleItemsAndScrollsTheRest) {
  // Four items: all of them, no bar, as wide as the combo box with its frame.
  Make(CBS_DROPDOWNLIST | WS_VSCROLL, {"HNI", "RETAIL", "PROPRIETARY", "NCDEX"});
  Send(CB_SHOWDROPDOWN, TRUE);
  RECT rect;
  ::GetWindowRect(list, &rect);
  RECT field;
  ::GetWindowRect(combo, &field);
  EXPECT_EQ(CRect(rect), CRect(field.left, rect.top, field.right, rect.top + 4 * kItem + 2));
  EXPECT_EQ(::GetWindowLong(list, GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
  Send(CB_SHOWDROPDOWN, FALSE);

  for (int i = 0; i < 36; ++i) Send(CB_ADDSTRING, 0, ("item " + std::to_string(i)).c_str());
  EXPECT_EQ(Send(CB_GETMINVISIBLE), 30);
  Send(CB_SHOWDROPDOWN, TRUE);
  ::GetWindowRect(list, &rect);
  EXPECT_EQ(rect.bottom - rect.top, 30 * kItem + 2);
  const auto bar = platform::ShownScrollInfo(list, SB_VERT);
  ASSERT_TRUE(bar.has_value());
  EXPECT_EQ(std::pair(bar->nMax, bar->nPage), std::pair(39, 30u));
  parent.log.clear();

  // Its bar's arrow and track scroll; they neither choose nor close.
  RECT window;
  ::GetWindowRect(list, &window);
  const platform::ScrollBarRects v = platform::ScrollBarGeometry(list, SB_VERT);
  auto client = [&](POINT p) {
    POINT screen{window.left + p.x, window.top + p.y};
    ::ScreenToClient(list, &screen);
    return screen;
  };
  const POINT down{(v.lineDown.left + v.lineDown.right) / 2, (v.lineDown.top + v.lineDown.bottom) / 2};
  ASSERT_TRUE(input::ClickAt(list, client(down)));
  EXPECT_EQ(::SendMessage(list, LB_GETTOPINDEX, 0, 0), 1);
  ASSERT_TRUE(input::ClickAt(list, client(POINT{down.x, v.lineDown.top - 2})));
  EXPECT_EQ(::SendMessage(list, LB_GETTOPINDEX, 0, 0), 10);  // a page on, as far as the last page
  EXPECT_TRUE(Send(CB_GETDROPPEDSTATE));
  EXPECT_EQ(std::pair(parent.log, Send(CB_GETCURSEL)), std::pair(Log{}, LRESULT{CB_ERR}));
  // The items still choose.
  ClickListItem(0);
  EXPECT_EQ(Send(CB_GETCURSEL), 10);
  EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
}
