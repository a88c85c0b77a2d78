#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/clistbox.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/input/input_driver.h"
#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_test.h"

namespace {

namespace input = platform::input;

constexpr int kId = 100;
constexpr int kItem = 13;  // item height with the default font

// The dialog a list box lives in: records the notifications and owner-draw
// messages it gets, and answers WM_MEASUREITEM with `measure`.
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0); }
  std::vector<UINT> codes;         // WM_COMMAND codes from the list
  std::vector<std::string> owner;  // "measure 2 'text'", "draw 1 sel", "delete 0 7", "color"
  UINT (*measure)(UINT item) = nullptr;
  int wheels = 0;  // WM_MOUSEWHEEL passed on by the list

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == kId) codes.push_back(HIWORD(wParam));
    return TRUE;
  }
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == WM_DELETEITEM) {
      const auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
      owner.push_back("delete " + std::to_string(d->itemID) + " " + std::to_string(d->itemData));
    } else if (message == WM_CTLCOLORLISTBOX) {
      owner.push_back("color");
    } else if (message == WM_MOUSEWHEEL) {
      ++wheels;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }
  void OnMeasureItem(int, LPMEASUREITEMSTRUCT mis) override {
    char text[64] = "";
    ::SendDlgItemMessage(m_hWnd, static_cast<int>(mis->CtlID), LB_GETTEXT, mis->itemID, reinterpret_cast<LPARAM>(text));
    owner.push_back("measure " + std::to_string(mis->itemID) + " '" + text + "'");
    if (measure != nullptr) mis->itemHeight = measure(mis->itemID);
  }
  void OnDrawItem(int, LPDRAWITEMSTRUCT dis) override {
    owner.push_back("draw " + std::to_string(dis->itemID) + ((dis->itemState & ODS_SELECTED) ? " sel" : "") +
                    ((dis->itemState & ODS_FOCUS) ? " focus" : "") + " @" +
                    std::to_string(dis->rcItem.top) + (dis->CtlType == ODT_LISTBOX ? "" : " ?type") +
                    (dis->hDC != nullptr ? "" : " ?dc"));
  }
};

class ListBoxTest : public platform::ResetTest {
 protected:
  void SetUp() override { parent.Open(); }

  // A list box of 100 x 65 pixels (five items of 13) without an object.
  HWND Make(DWORD style, std::vector<const char*> items = {}) {
    list = ::CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, 100, 5 * kItem, parent,
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(kId)), nullptr, nullptr);
    for (const char* item : items) ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    parent.codes.clear();
    parent.owner.clear();
    return list;
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessage(list, message, wParam, lParam);
  }
  LRESULT Send(UINT message, WPARAM wParam, const char* text) {
    return ::SendMessage(list, message, wParam, reinterpret_cast<LPARAM>(text));
  }
  static POINT At(int index) { return POINT{5, index * kItem + 3}; }
  void ClickItem(int index, unsigned modifiers = input::kNone) { input::ClickAt(list, At(index), modifiers); }
  std::string Text(int index) {
    char buffer[64] = "";
    Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (int i = 0; i < Send(LB_GETCOUNT); ++i) out.push_back(Text(i));
    return out;
  }

  Parent parent;
  HWND list = nullptr;
};

using Strings = std::vector<std::string>;
using Codes = std::vector<UINT>;

TEST_F(ListBoxTest, SortedListOrdersWithoutCaseAndPunctuationFirst) {
  Make(LBS_SORT | LBS_NOTIFY, {"beta", "Alpha", "alpha2", "_x", "10", "[a]"});
  // An equal text goes before the items it equals; the index is where it landed.
  EXPECT_EQ(Send(LB_ADDSTRING, 0, "ALPHA"), 3);
  EXPECT_EQ(Texts(), (Strings{"[a]", "_x", "10", "ALPHA", "Alpha", "alpha2", "beta"}));
  EXPECT_TRUE(parent.codes.empty());
}

TEST_F(ListBoxTest, PrefixSearchWrapsFromTheStartIndexAndIgnoresCase) {
  Make(0, {"apple", "Banana", "apricot", "cherry"});
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), "AP"), 0);
  EXPECT_EQ(Send(LB_FINDSTRING, 0, "ap"), 2);
  EXPECT_EQ(Send(LB_FINDSTRING, 2, "ap"), 0);  // wraps round
  EXPECT_EQ(Send(LB_FINDSTRING, 3, "ap"), 0);
  EXPECT_EQ(Send(LB_FINDSTRING, 2, "apricot"), 2);  // the start item is searched last
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), ""), LB_ERR);
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), "appleX"), LB_ERR);
  EXPECT_EQ(Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "BANANA"), 1);
  EXPECT_EQ(Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "Ban"), LB_ERR);
  EXPECT_EQ(Send(LB_GETCURSEL), LB_ERR);  // finding selects nothing

  EXPECT_EQ(Send(LB_SELECTSTRING, 0, "ap"), 2);
  EXPECT_EQ(Send(LB_GETCURSEL), 2);
  EXPECT_EQ(Send(LB_SELECTSTRING, static_cast<WPARAM>(-1), "zz"), LB_ERR);
  EXPECT_EQ(Send(LB_GETCURSEL), 2);  // a failed select keeps the selection
  EXPECT_TRUE(parent.codes.empty());

  // Owner-drawn items without strings are found by their data, the same way round.
  Make(LBS_OWNERDRAWFIXED);
  for (const LPARAM data : {10, 20, 30}) Send(LB_ADDSTRING, 0, data);
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), LPARAM{20}), 1);
  EXPECT_EQ(Send(LB_FINDSTRING, 1, LPARAM{20}), 1);  // the start item is searched last
  EXPECT_EQ(Send(LB_FINDSTRING, 2, LPARAM{10}), 0);
  EXPECT_EQ(Send(LB_FINDSTRING, 0, LPARAM{40}), LB_ERR);
}

TEST_F(ListBoxTest, ProgramSelectionNotifiesNobodyAndRefusesBadIndexes) {
  Make(LBS_NOTIFY, {"a", "b", "c"});
  EXPECT_EQ(Send(LB_SETCURSEL, 1), 1);
  EXPECT_EQ(Send(LB_SETCURSEL, 3), LB_ERR);
  EXPECT_EQ(Send(LB_GETCURSEL), 1);
  EXPECT_EQ(Send(LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);  // clears, and says LB_ERR
  EXPECT_EQ(Send(LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(Send(LB_SETSEL, TRUE, LPARAM{0}), LB_ERR);  // single selection has no LB_SETSEL
  EXPECT_EQ(Send(LB_GETSELCOUNT), LB_ERR);
  EXPECT_EQ(Send(LB_GETTEXTLEN, 5), LB_ERR);
  EXPECT_EQ(Send(LB_SETITEMDATA, 2, 77), TRUE);
  EXPECT_EQ(Send(LB_GETITEMDATA, 2), 77);
  EXPECT_EQ(Send(LB_GETITEMDATA, 3), LB_ERR);
  EXPECT_TRUE(parent.codes.empty());
}

TEST_F(ListBoxTest, UserClicksAndKeysNotify) {
  Make(LBS_NOTIFY, {"a", "b", "c", "d", "e", "f", "g"});
  ClickItem(2);
  EXPECT_EQ(Send(LB_GETCURSEL), 2);
  EXPECT_EQ(::GetFocus(), list);
  ClickItem(2);  // the same item again still reports the click
  input::DoubleClickAt(list, At(0));
  EXPECT_EQ(parent.codes, (Codes{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK}));
  EXPECT_EQ(Send(LB_GETCURSEL), 0);

  parent.codes.clear();
  input::PressKey(VK_DOWN);
  input::PressKey(VK_END);
  input::PressKey(VK_DOWN);  // already last: no change, no notification
  EXPECT_EQ(Send(LB_GETCURSEL), 6);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 2);  // scrolled so the last item shows
  input::TypeText("B");
  EXPECT_EQ(Send(LB_GETCURSEL), 1);
  EXPECT_EQ(parent.codes, (Codes{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));

  // Without LBS_NOTIFY the same actions select silently.
  ::DestroyWindow(list);
  Make(0, {"a", "b"});
  ClickItem(1);
  EXPECT_EQ(Send(LB_GETCURSEL), 1);
  EXPECT_TRUE(parent.codes.empty());
  EXPECT_EQ(::GetFocus(), list);
}

TEST_F(ListBoxTest, FirstArrowSelectsTheCaretItemAndTypingExtendsThePrefix) {
  Make(LBS_NOTIFY, {"NCDEX", "NFO", "NSE", "MCX"});
  input::Focus(list);
  input::PressKey(VK_DOWN);
  EXPECT_EQ(Send(LB_GETCURSEL), 0);
  input::TypeText("n");
  EXPECT_EQ(Send(LB_GETCURSEL), 1);  // one character moves on to the next match
  input::TypeText("s");
  EXPECT_EQ(Send(LB_GETCURSEL), 2);  // "ns"
  input::TypeText("x");              // "nsx" matches nothing: restart with "x", which matches nothing either
  EXPECT_EQ(Send(LB_GETCURSEL), 2);
  input::Advance(1500);  // a pause starts a new search
  input::TypeText("n");
  EXPECT_EQ(Send(LB_GETCURSEL), 0);  // round to "NCDEX"
  input::Advance(1500);
  input::TypeText("s");
  EXPECT_EQ(Send(LB_GETCURSEL), 0);  // no item starts with "s" alone
}

TEST_F(ListBoxTest, MultipleSelectionTogglesAndListsTheSelection) {
  Make(LBS_MULTIPLESEL | LBS_NOTIFY, {"a", "b", "c", "d"});
  ClickItem(1);
  ClickItem(3);
  ClickItem(1);
  input::ClickAt(list, POINT{5, 60});  // below the last item: nothing
  EXPECT_EQ(Send(LB_GETSELCOUNT), 1);
  input::PressKey(VK_UP);  // moves the caret only
  input::PressKey(VK_SPACE);
  int selected[8] = {};
  ASSERT_EQ(Send(LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(selected)), 2);
  EXPECT_EQ(selected[0], 0);
  EXPECT_EQ(selected[1], 3);
  EXPECT_EQ(Send(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(selected)), 1);  // never past the caller's count
  EXPECT_EQ(Send(LB_SETCURSEL, 2), LB_ERR);
  EXPECT_EQ(Send(LB_SETSEL, TRUE, static_cast<LPARAM>(-1)), LB_OKAY);
  EXPECT_EQ(Send(LB_GETSELCOUNT), 4);
  EXPECT_EQ(parent.codes.size(), 6u);  // the focus, three clicks, the arrow and the space
}

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresEachInsertedItemAndDrawsVisibleOnes) {
  parent.measure = [](UINT item) { return static_cast<UINT>(10 + 5 * item); };
  Make(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY, {"zero", "one", "two", "three"});
  // The item is in the list when its owner measures it.
  Send(LB_ADDSTRING, 0, "four");
  EXPECT_EQ(parent.owner, (Strings{"measure 4 'four'"}));
  EXPECT_EQ(Send(LB_GETITEMHEIGHT, 2), 20);
  RECT rect;
  ASSERT_EQ(Send(LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect)), 1);
  EXPECT_EQ(rect.top, 25);  // 10 + 15
  EXPECT_EQ(rect.bottom, 45);
  EXPECT_EQ(Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 30)), 2);

  parent.owner.clear();
  Send(LB_SETCURSEL, 1);
  Send(WM_PAINT);
  // 65 pixels show items 0 (10), 1 (15), 2 (20) and 3 (25, partly).
  EXPECT_EQ(parent.owner, (Strings{"color", "draw 0 @0", "draw 1 sel @10", "draw 2 @25", "draw 3 @45"}));
  // With the focus only the caret item is drawn focused.
  ::SetFocus(list);
  parent.owner.clear();
  Send(WM_PAINT);
  EXPECT_EQ(parent.owner, (Strings{"color", "draw 0 @0", "draw 1 sel focus @10", "draw 2 @25", "draw 3 @45"}));

  parent.owner.clear();
  Send(LB_DELETESTRING, 0);  // owner-drawn items are announced even without data
  EXPECT_EQ(parent.owner, (Strings{"delete 0 0"}));
}

TEST_F(ListBoxTest, OwnerDrawReachesTheSubclassThroughReflection) {
  struct Drawn : CListBox {
    std::vector<UINT> measured, drawn, deleted;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override { measured.push_back(mis->itemID), mis->itemHeight = 20; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
    void DeleteItem(LPDELETEITEMSTRUCT dis) override { deleted.push_back(dis->itemID); }
  } box;
  ASSERT_TRUE(
      box.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 80, 50), &parent, kId));
  EXPECT_EQ(box.measured, (std::vector<UINT>{0}));  // fixed: once, at creation
  EXPECT_EQ(box.GetItemHeight(0), 20);
  box.AddString("a");
  box.AddString("b");
  box.AddString("c");
  CRect rect;
  box.GetClientRect(rect);
  EXPECT_EQ(rect.Height(), 40);  // 50 showed two and a half items: whole items only
  box.SendMessage(WM_PAINT);
  EXPECT_EQ(box.drawn, (std::vector<UINT>{0, 1}));
  EXPECT_EQ(box.measured.size(), 1u);
  EXPECT_EQ(parent.owner, (Strings{"color"}));  // the subclass consumed the owner-draw messages
  box.DeleteString(1);
  EXPECT_EQ(box.deleted, (std::vector<UINT>{1}));  // the parent sees it first; the subclass frees its item
}

TEST_F(ListBoxTest, ItemFromPointSaysWhenThePointIsOffTheItems) {
  CListBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 65), &parent, kId));
  BOOL outside = FALSE;
  box.ItemFromPoint(CPoint(5, 5), outside);
  EXPECT_TRUE(outside);  // no items at all
  for (const char* s : {"a", "b", "c"}) box.AddString(s);
  EXPECT_EQ(box.ItemFromPoint(CPoint(5, 14), outside), 1u);
  EXPECT_FALSE(outside);
  EXPECT_EQ(box.ItemFromPoint(CPoint(5, 60), outside), 2u);  // below the last item: the last, outside
  EXPECT_TRUE(outside);
  EXPECT_EQ(box.ItemFromPoint(CPoint(-4, 14), outside), 1u);  // left of the client area
  EXPECT_TRUE(outside);
  EXPECT_EQ(box.ItemFromPoint(CPoint(5, -20), outside), 0u);
  EXPECT_TRUE(outside);
}

TEST_F(ListBoxTest, ItemsWithDataAreAnnouncedWhenDeleted) {
  Make(0, {"a", "b", "c"});
  Send(LB_SETITEMDATA, 1, 7);
  Send(LB_DELETESTRING, 0);  // no data: nothing to announce
  EXPECT_EQ(Send(LB_DELETESTRING, 5), LB_ERR);
  EXPECT_EQ(Send(LB_RESETCONTENT), LB_OKAY);
  EXPECT_EQ(parent.owner, (Strings{"delete 0 7"}));  // "b" had moved to index 0
  EXPECT_EQ(Send(LB_GETCOUNT), 0);
}

TEST_F(ListBoxTest, ScrollingKeepsTheLastPageFullAndHonoursTheExtent) {
  Make(WS_HSCROLL, {"0", "1", "2", "3", "4", "5", "6", "7"});
  EXPECT_EQ(Send(LB_SETTOPINDEX, 3), LB_OKAY);
  EXPECT_EQ(Send(LB_SETTOPINDEX, 7), LB_OKAY);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 5);  // the scroll bar leaves three rows: items 5..7 fill them
  EXPECT_EQ(Send(LB_SETTOPINDEX, 9), LB_ERR);
  Send(LB_SETHORIZONTALEXTENT, 300);
  EXPECT_EQ(Send(LB_GETHORIZONTALEXTENT), 300);
  RECT rect;
  EXPECT_EQ(Send(LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect)), 0);  // above the view
  EXPECT_EQ(rect.top, -5 * kItem);
  EXPECT_EQ(rect.right, 300);
}

TEST_F(ListBoxTest, WheelScrollsThreeItemsANotchAndPassesPartNotchesToTheParent) {
  Make(0, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
  const auto wheel = [&](int delta) { Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta))); };
  wheel(-120);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 3) << "turned towards the user: down the list";
  wheel(-240);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 7) << "no further than the last page";
  wheel(120);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 4);
  EXPECT_EQ(parent.wheels, 0);
  wheel(119);
  wheel(-119);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 4) << "part of a notch";
  EXPECT_EQ(parent.wheels, 2);
}

}  // namespace
