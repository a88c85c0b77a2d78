#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <utility>
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
// messages it gets, and answers WM_MEASUREITEM with `measure` (by default
// 20 pixels, which a list that is not owner-drawn must never ask for).
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0); }
  std::vector<UINT> codes;         // WM_COMMAND codes from the list
  std::vector<std::string> owner;  // "measure 2 'text'", "draw 1 sel", "delete 0 7", "color"
  UINT (*measure)(UINT item) = [](UINT) { return 20u; };
  int wheels = 0;  // WM_MOUSEWHEEL passed on by the list
  HBRUSH background = nullptr;  // the answer to WM_CTLCOLORLISTBOX, when set

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
      if (background != nullptr) {
        *result = reinterpret_cast<LRESULT>(background);
        return TRUE;
      }
    } else if (message == WM_MOUSEWHEEL) {
      ++wheels;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }
  void OnMeasureItem(int, LPMEASUREITEMSTRUCT mis) override {
    char text[64] = "";
    ::SendDlgItemMessage(m_hWnd, static_cast<int>(mis->CtlID), LB_GETTEXT, mis->itemID, reinterpret_cast<LPARAM>(text));
    owner.push_back("measure " + std::to_string(mis->itemID) + " '" + text + "'");
    mis->itemHeight = measure(mis->itemID);
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

  // A list box of 100 x 65 pixels (five items of 13) without an object, in place of the last one made.
  HWND Make(DWORD style, std::vector<const char*> items = {}) {
    if (list != nullptr) ::DestroyWindow(list);
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

  Parent parent;
  HWND list = nullptr;
};

using Strings = std::vector<std::string>;

std::string TextOf(HWND hwnd) {
  char buffer[64] = "";
  ::GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}
using Codes = std::vector<UINT>;

// The items of a list box, and of a combo box's list through the CB_
// messages, against a small model: seeded random adds, inserts, deletes,
// finds, selections and item data, sorted and unsorted, compared after each
// step. A sorted list orders punctuation, then digits, then letters without
// case, then bytes past ASCII; an equal text goes before the items it equals. The caret and the
// anchor stay with their item as others come and go.
struct ItemsModel {
  struct Item {
    std::string text;
    bool selected = false;
    LPARAM data = 0;
  };
  std::vector<Item> items;
  int caret = 0;  // and the anchor, which every step here moves with it
  static int Rank(unsigned char c) { return c >= 0x80 ? 3 : std::isalpha(c) ? 2 : std::isdigit(c) ? 1 : 0; }
  static bool Before(const std::string& a, const std::string& b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
      if (Rank(a[i]) != Rank(b[i])) return Rank(a[i]) < Rank(b[i]);
      if (std::tolower(a[i]) != std::tolower(b[i])) return std::tolower(a[i]) < std::tolower(b[i]);
    }
    return a.size() < b.size();
  }
  int Find(int start, const std::string& wanted, bool exact) const {
    const int count = static_cast<int>(items.size());
    if (count == 0 || wanted.empty()) return LB_ERR;
    const int first = start < 0 || start + 1 >= count ? 0 : start + 1;
    for (int i = 0; i < count; ++i) {
      const std::string& text = items[static_cast<size_t>((first + i) % count)].text;
      if ((!exact || text.size() == wanted.size()) && text.size() >= wanted.size() &&
          ::strncasecmp(text.c_str(), wanted.c_str(), wanted.size()) == 0) {
        return (first + i) % count;
      }
    }
    return LB_ERR;
  }
  int Selected() const {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].selected) return static_cast<int>(i);
    }
    return LB_ERR;
  }
  void Select(int i) {
    for (auto& item : items) item.selected = false;
    if (i >= 0) items[static_cast<size_t>(i)].selected = true;
  }
};

TEST_F(ListBoxTest, ItemsFindsAndTheSelectionFollowAModelInListsAndCombos) {
  for (const bool combo : {false, true}) {
    for (const bool sorted : {false, true}) {
      std::mt19937 random(combo * 2 + sorted + 38);
      if (combo) {
        list = ::CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | (sorted ? CBS_SORT : 0),
                                10, 10, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(kId)), nullptr, nullptr);
      } else {
        Make(sorted ? LBS_SORT : 0);
      }
      const auto message = [&](UINT lb, UINT cb) { return combo ? cb : lb; };
      const auto text = [&] {
        std::string t;
        for (int n = static_cast<int>(random() % 4); n > 0; --n) t += "aB1_b\x80"[random() % 6];
        return t;
      };
      ItemsModel model;
      for (int step = 0; step < 600; ++step) {
        const int count = static_cast<int>(model.items.size());
        const int at = static_cast<int>(random() % static_cast<unsigned>(count + 4)) - 2;
        const std::string t = text();
        const int what = static_cast<int>(random() % 8);
        SCOPED_TRACE(::testing::Message() << (combo ? "combo " : "list ") << (sorted ? "sorted " : "") << "step "
                                          << step << ": " << what << " at " << at << " '" << t << "'");
        if (what == 0 && count < 12) {
          int index = count;
          if (sorted) {
            index = 0;
            while (index < count && ItemsModel::Before(model.items[static_cast<size_t>(index)].text, t)) ++index;
          }
          ASSERT_EQ(Send(message(LB_ADDSTRING, CB_ADDSTRING), 0, t.c_str()), index);
          model.items.insert(model.items.begin() + index, ItemsModel::Item{t});
          model.caret += count > 0 && index <= model.caret;
        } else if (what == 1 && count < 12 && !sorted) {  // an insert by index would unsort the list
          const LRESULT index = Send(message(LB_INSERTSTRING, CB_INSERTSTRING), static_cast<WPARAM>(at), t.c_str());
          ASSERT_EQ(index, at > count ? LB_ERR : at < 0 ? count : at);
          if (index >= 0) model.items.insert(model.items.begin() + index, ItemsModel::Item{t});
          model.caret += index >= 0 && count > 0 && index <= model.caret;
        } else if (what == 2) {
          const bool valid = at >= 0 && at < count;
          ASSERT_EQ(Send(message(LB_DELETESTRING, CB_DELETESTRING), static_cast<WPARAM>(at)), valid ? count - 1 : LB_ERR);
          if (valid) model.items.erase(model.items.begin() + at);
          if (valid) model.caret = std::min(model.caret - (model.caret > at), std::max(0, count - 2));
        } else if (what == 3) {
          const bool exact = random() % 2 == 0;
          const UINT find = exact ? message(LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT) : message(LB_FINDSTRING, CB_FINDSTRING);
          ASSERT_EQ(Send(find, static_cast<WPARAM>(at), t.c_str()), model.Find(at, t, exact));
        } else if (what == 4) {
          const int found = model.Find(at, t, false);
          ASSERT_EQ(Send(message(LB_SELECTSTRING, CB_SELECTSTRING), static_cast<WPARAM>(at), t.c_str()), found);
          if (found >= 0) model.Select(found), model.caret = found;
        } else if (what == 5) {
          const bool valid = at >= -1 && at < count;
          ASSERT_EQ(Send(message(LB_SETCURSEL, CB_SETCURSEL), static_cast<WPARAM>(at)), valid && at >= 0 ? at : LB_ERR);
          if (valid) model.Select(at), model.caret = at >= 0 ? at : model.caret;
        } else if (what == 6) {
          const bool valid = at >= 0 && at < count;
          ASSERT_EQ(Send(message(LB_SETITEMDATA, CB_SETITEMDATA), static_cast<WPARAM>(at), LPARAM{step}),
                    valid ? TRUE : LB_ERR);
          if (valid) model.items[static_cast<size_t>(at)].data = step;
        } else {
          ASSERT_EQ(Send(message(LB_GETTEXTLEN, CB_GETLBTEXTLEN), static_cast<WPARAM>(at)),
                    at >= 0 && at < count ? static_cast<LRESULT>(model.items[static_cast<size_t>(at)].text.size()) : LB_ERR);
        }
        ASSERT_EQ(Send(message(LB_GETCOUNT, CB_GETCOUNT)), static_cast<LRESULT>(model.items.size()));
        ASSERT_EQ(Send(message(LB_GETCURSEL, CB_GETCURSEL)), model.Selected());
        for (size_t i = 0; i < model.items.size(); ++i) {
          char buffer[16];
          std::memset(buffer, '#', sizeof buffer);
          Send(message(LB_GETTEXT, CB_GETLBTEXT), i, reinterpret_cast<LPARAM>(buffer));
          ASSERT_EQ(buffer, model.items[i].text) << i;
          ASSERT_EQ(buffer[model.items[i].text.size() + 1], '#') << "written past its terminator";
          ASSERT_EQ(Send(message(LB_GETITEMDATA, CB_GETITEMDATA), i), model.items[i].data) << i;
        }
        if (!combo) { ASSERT_EQ(std::pair(Send(LB_GETCARETINDEX), Send(LB_GETANCHORINDEX)), std::pair(LRESULT{model.caret}, LRESULT{model.caret})); }
        if (combo) {
          const int selected = model.Selected();
          ASSERT_EQ(TextOf(list), selected >= 0 ? model.items[static_cast<size_t>(selected)].text : "");
        }
      }
      EXPECT_TRUE(parent.codes.empty()) << "a program's calls notify nobody";
      ::DestroyWindow(list);
    }
  }
}

TEST_F(ListBoxTest, OwnerDrawnItemsWithoutStringsAreFoundByTheirData) {
  Make(LBS_OWNERDRAWFIXED);
  for (const LPARAM data : {10, 20, 30}) Send(LB_ADDSTRING, 0, data);
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), LPARAM{20}), 1);
  EXPECT_EQ(Send(LB_FINDSTRING, 1, LPARAM{20}), 1);  // the start item is searched last
  EXPECT_EQ(Send(LB_FINDSTRING, 2, LPARAM{10}), 0);
  EXPECT_EQ(Send(LB_FINDSTRING, 0, LPARAM{40}), LB_ERR);
  // Sorted, the owner compares (this one calls every pair equal, so each new item goes first).
  Make(LBS_OWNERDRAWFIXED | LBS_SORT);
  for (const LPARAM data : {10, 20, 30}) Send(LB_ADDSTRING, 0, data);
  EXPECT_EQ(Send(LB_GETITEMDATA, 0), 30);
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

  // A list without a selection moves only its caret; a click still reports itself, keys do not.
  Make(LBS_NOSEL | LBS_NOTIFY, {"a", "b", "c"});
  ClickItem(0);
  input::PressKey(VK_DOWN);
  EXPECT_EQ(Send(LB_GETCARETINDEX), 1);
  input::TypeText("c");
  EXPECT_EQ(Send(LB_GETCARETINDEX), 2);
  EXPECT_EQ(Send(LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(parent.codes, (Codes{LBN_SETFOCUS, LBN_SELCHANGE}));
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
  input::Advance(1000);              // a second is not a pause yet: "nf"
  input::TypeText("f");
  EXPECT_EQ(Send(LB_GETCURSEL), 1);
  input::Advance(1500);
  input::TypeText("s");
  EXPECT_EQ(Send(LB_GETCURSEL), 1);  // no item starts with "s" alone

  // Here a space belongs to the prefix (a list of several selections toggles with it).
  Make(LBS_NOTIFY, {"NSE CM", "NSE FO"});
  input::Focus(list);
  input::TypeText("nse f");
  EXPECT_EQ(Send(LB_GETCURSEL), 1);
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
  EXPECT_EQ(std::pair(selected[0], selected[1]), std::pair(0, 3));
  EXPECT_EQ(Send(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(selected)), 1);  // never past the caller's count
  EXPECT_EQ(Send(LB_SETCURSEL, 2), LB_ERR);
  EXPECT_EQ(Send(LB_SETSEL, FALSE, LPARAM{0}), LB_OKAY);  // item 0 alone
  EXPECT_EQ(Send(LB_GETSELCOUNT), 1);
  EXPECT_EQ(Send(LB_SETSEL, TRUE, static_cast<LPARAM>(-1)), LB_OKAY);
  EXPECT_EQ(Send(LB_GETSELCOUNT), 4);
  EXPECT_EQ(parent.codes.size(), 6u);  // the focus, three clicks, the arrow and the space
  Send(LB_SETCARETINDEX, 2);           // deleting above the caret moves it with its item
  Send(LB_DELETESTRING, 0);
  EXPECT_EQ(Send(LB_GETCARETINDEX), 1);
  Send(LB_ADDSTRING, 0, "c2");  // typing looks on from the caret, not from the first selected item
  input::TypeText("c");
  EXPECT_EQ(Send(LB_GETCARETINDEX), 3);

  // An extended list: a click selects one, Shift a range from the anchor, Control adds or takes away one.
  Make(LBS_EXTENDEDSEL, {"a", "b", "c", "d"});
  ClickItem(1);
  ClickItem(3, input::kShift);
  ClickItem(2, input::kControl);
  ASSERT_EQ(Send(LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(selected)), 2);
  EXPECT_EQ(std::pair(selected[0], selected[1]), std::pair(1, 3));
  ClickItem(0);  // and the keys: Shift a range from the anchor, Space or an arrow alone the caret's item
  input::PressKey(VK_DOWN, input::kShift);
  EXPECT_EQ(Send(LB_GETSELCOUNT), 2);
  input::PressKey(VK_SPACE);
  EXPECT_EQ(std::pair(Send(LB_GETSELCOUNT), Send(LB_GETSEL, 1)), std::pair(1L, 1L));
  input::PressKey(VK_DOWN);
  EXPECT_EQ(std::pair(Send(LB_GETSELCOUNT), Send(LB_GETSEL, 2)), std::pair(1L, 1L));
  input::PressKey(VK_SPACE, input::kControl);
  EXPECT_EQ(Send(LB_GETSELCOUNT), 0) << "Control and Space take the caret's item away";
  EXPECT_TRUE(parent.codes.empty()) << "without LBS_NOTIFY the clicks and keys select silently";
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
  EXPECT_EQ(std::pair(rect.top, rect.bottom), std::pair(25, 45));  // 10 + 15, and 20 high
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

TEST_F(ListBoxTest, StandardListDrawsItsItemsInTheSystemColours) {
  Make(0, {"alpha", "beta", "gamma", "delta", "epsilon", "zeta"});
  Send(LB_SETCURSEL, 1);
  Send(WM_PAINT);
  using platform::DrawKind;
  const auto ops = platform::WindowDisplayList(list);
  const auto texts = platform::OpsOfKind(ops, DrawKind::Text);
  ASSERT_EQ(texts.size(), 5u);  // the sixth lies just below the list
  EXPECT_EQ(std::tuple(texts[1].text, texts[1].rect.top, texts[1].color, texts[2].color),
            std::tuple("beta", kItem, GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(0, 0, 0)));
  const auto fills = platform::OpsOfKind(ops, DrawKind::FillRect);
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(fills.back().color, GetSysColor(COLOR_HIGHLIGHT));  // behind the selected item
  EXPECT_EQ(fills.back().rect.top, kItem);

  ::EnableWindow(list, FALSE);  // a disabled list greys its texts, as its neighbours do
  Send(WM_PAINT);
  EXPECT_EQ(platform::OpsOfKind(platform::WindowDisplayList(list), DrawKind::Text)[2].color, GetSysColor(COLOR_GRAYTEXT));

  // The parent's brush, when it answers one, is the list's background.
  const HBRUSH own = ::CreateSolidBrush(RGB(1, 2, 3));
  parent.background = own;
  Send(WM_PAINT);
  EXPECT_EQ(platform::OpsOfKind(platform::WindowDisplayList(list), DrawKind::FillRect).front().color, RGB(1, 2, 3));
  parent.background = nullptr;
  ::DeleteObject(own);
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
  for (const char* item : {"a", "b", "c"}) box.AddString(item);
  CRect rect;
  box.GetClientRect(rect);
  EXPECT_EQ(rect.Height(), 40);  // 50 showed two and a half items: whole items only
  CListBox low;  // lower than one item: kept, not shrunk to nothing
  ASSERT_TRUE(low.Create(WS_CHILD | WS_VISIBLE, CRect(0, 60, 80, 70), &parent, kId + 1));
  low.GetClientRect(rect);
  EXPECT_EQ(rect.Height(), 10);
  box.SendMessage(WM_PAINT);
  EXPECT_EQ(box.drawn, (std::vector<UINT>{0, 1}));
  EXPECT_EQ(box.measured.size(), 1u);
  EXPECT_EQ(parent.owner, (Strings{"color"}));  // the subclass consumed the owner-draw messages
  box.DeleteString(1);
  EXPECT_EQ(box.deleted, (std::vector<UINT>{1}));  // the parent sees it first; the subclass frees its item
}

TEST_F(ListBoxTest, ItemFromPointNamesTheNearestItemAndSaysWhenThePointIsOffIt) {
  BOOL outside = FALSE;
  // None, three items in room for five; eight in a box whose last pixel row is the third item's first.
  for (const auto& [count, height] : {std::pair{0, 65}, std::pair{3, 65}, std::pair{8, 2 * kItem + 1}}) {
    CListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 100, height), &parent, kId + 1));
    for (int i = 0; i < count; ++i) box.AddString("item");
    for (const int x : {-4, 0, 99, 100}) {
      for (int y = -3; y <= height + 3; ++y) {
        const int index = std::min(count - 1, std::clamp(y, 0, height - 1) / kItem);
        const bool off = x < 0 || x >= 100 || y < 0 || y >= height || y >= count * kItem;
        EXPECT_EQ(box.ItemFromPoint(CPoint(x, y), outside), static_cast<WORD>(index)) << x << "," << y;
        EXPECT_EQ(outside != FALSE, off) << x << "," << y;
      }
    }
  }
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
  EXPECT_EQ(Send(LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&rect)), 0);  // just above the view
  EXPECT_EQ(std::pair(rect.top, rect.right), std::pair(LONG{-kItem}, LONG{300}));
  Send(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(Send(LB_GETTOPINDEX), 3);  // a page is the rows shown but one
}

TEST_F(ListBoxTest, WheelScrollsThreeItemsANotchAndPassesPartNotchesToTheParent) {
  Make(0, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
  // Each turn, the top item after it and the turns passed on so far: towards the user is down the list, no further
  // than the last page; part of a notch scrolls nothing and goes on to the parent.
  for (const auto& [delta, top, passedOn] :
       {std::tuple{-120, 3, 0}, {-240, 7, 0}, {120, 4, 0}, {119, 4, 1}, {-119, 4, 2}}) {
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)));
    EXPECT_EQ(std::pair(Send(LB_GETTOPINDEX), parent.wheels), std::pair(LRESULT{top}, passedOn)) << delta;
  }
}

}  // namespace
