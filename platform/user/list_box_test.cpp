#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <array>
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
// messages it gets, and answers WM_MEASUREITEM with `measure`.
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0); }
  std::vector<UINT> codes;         // WM_COMMAND codes from the list
  std::vector<std::string> owner;  // "measure 2 'text'", "draw 1 sel", "delete 0 7", "color"
  UINT (*measure)(UINT item) = nullptr;
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
// case, then other bytes; an equal text goes before the items it equals. The
// caret and the anchor stay with their item as others come and go.
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
      const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
      if (Rank(x) != Rank(y)) return Rank(x) < Rank(y);
      if (std::tolower(x) != std::tolower(y)) return std::tolower(x) < std::tolower(y);
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
          const bool valid = at >= -1 && at < count;  // -1 clears the selection
          ASSERT_EQ(Send(message(LB_SETCURSEL, CB_SETCURSEL), static_cast<WPARAM>(at)), valid && at >= 0 ? at : LB_ERR);
          if (valid) model.Select(at);
          if (valid && at >= 0) model.caret = at;
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
        const int selected = model.Selected();
        ASSERT_EQ(combo ? TextOf(list) : std::to_string(Send(LB_GETCARETINDEX)) + " " + std::to_string(Send(LB_GETANCHORINDEX)),
                  combo ? (selected >= 0 ? model.items[static_cast<size_t>(selected)].text : "")
                        : std::to_string(model.caret) + " " + std::to_string(model.caret));
      }
      EXPECT_TRUE(parent.codes.empty()) << "a program's calls notify nobody";
      ::DestroyWindow(list);
    }
  }
}

// What a person's clicks, drags, keys, typing and wheel and a program's
// selection and scroll calls do to the selection, the caret, the anchor and
// the top item, in every selection mode, against a small model; each step's
// notifications too.
struct UserModel {
  int mode = 0;  // 0 single, 1 multiple, 2 extended, 3 none
  int count = 9, rows = 5, caret = 0, anchor = 0, top = 0;
  std::vector<bool> sel = std::vector<bool>(9, false);
  std::string typed;  // the prefix typed so far
  static constexpr const char* kItems[] = {"apple", "Avocado", "banana", "Blueberry", "blue", "date", "elder", "fig", "grape"};
  bool Multi() const { return mode == 1 || mode == 2; }
  int CurSel() const {
    const auto it = std::find(sel.begin(), sel.end(), true);
    return it == sel.end() ? -1 : static_cast<int>(it - sel.begin());
  }
  bool Only(int i) {
    std::vector<bool> next(sel.size(), false);
    if (i >= 0) next[static_cast<size_t>(i)] = true;
    return std::exchange(sel, next) != next;
  }
  void Range(int a, int b, bool on) {
    for (int i = std::max(0, std::min(a, b)); i <= std::min(count - 1, std::max(a, b)); ++i) sel[static_cast<size_t>(i)] = on;
  }
  void Toggle(int i) { sel[static_cast<size_t>(i)] = !sel[static_cast<size_t>(i)]; }
  void SetTop(int t) { top = std::clamp(t, 0, count - rows); }
  // The caret moved by a key or typing; true when the list reports it.
  bool MoveTo(int target, bool shift, bool ctrl) {
    bool changed = mode != 3;
    if (mode == 0 || (mode == 2 && !shift && !ctrl)) {
      changed = Only(target) || mode == 2;
      anchor = target;
    } else if (mode == 2 && shift) {
      Only(-1);
      Range(anchor, target, true);
    }
    caret = target;
    SetTop(target < top ? target : std::max(top, target - rows + 1));
    return changed;
  }
  void Click(int i, bool shift, bool ctrl) {
    if (mode == 0 || (mode == 2 && !shift && !ctrl)) Only(i);
    if (mode == 1 || (mode == 2 && ctrl && !shift)) Toggle(i);
    if (mode == 2 && shift) {
      if (!ctrl) Only(-1);
      Range(anchor, i, true);
    } else if (mode != 3) {
      anchor = i;
    }
    caret = i;
  }
  // The next item after `start` (round the end) that starts with the prefix, whatever the case.
  int Find(int start, const std::string& prefix) const {
    for (int k = 0; k < count; ++k) {
      const int at = ((start < 0 || start + 1 >= count ? 0 : start + 1) + k) % count;
      if (::strncasecmp(kItems[at], prefix.c_str(), prefix.size()) == 0) return at;
    }
    return -1;
  }
  // A longer prefix may stay on the current item; one character moves on.
  bool Type(char ch) {
    typed += ch;
    const int current = mode == 0 ? CurSel() : caret;
    int found = typed.size() > 1 ? Find(current - 1, typed) : -1;
    if (found < 0) typed = std::string(1, ch), found = Find(current, typed);
    if (found < 0) return false;
    const std::vector<bool> before = sel;
    MoveTo(found, false, false);
    return mode == 1 || sel != before;
  }
  bool Key(UINT key, bool shift, bool ctrl) {
    if (key == VK_SPACE) {
      if (mode == 0 || mode == 3) return false;
      mode == 1 || ctrl ? Toggle(caret) : void(Only(caret));
      anchor = caret;
      return true;
    }
    int target = key == VK_HOME ? 0 : key == VK_END ? count - 1 : caret;
    if (!(mode == 0 && CurSel() < 0) && key != VK_HOME && key != VK_END) {  // the first arrow selects the caret item
      target += key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? 1 - rows : rows - 1;
    }
    return MoveTo(std::clamp(target, 0, count - 1), shift, ctrl);
  }
};

TEST_F(ListBoxTest, UserAndProgramSelectionFollowAModelInEverySelectionMode) {
  const std::vector<const char*> items(std::begin(UserModel::kItems), std::end(UserModel::kItems));
  // Extended wins over multiple; the extended list has a horizontal bar, which leaves it three whole rows; the
  // list without a selection does not notify.
  const DWORD styles[] = {LBS_NOTIFY, LBS_MULTIPLESEL | LBS_NOTIFY, LBS_EXTENDEDSEL | LBS_MULTIPLESEL | LBS_NOTIFY | WS_HSCROLL,
                          LBS_NOSEL};
  for (int mode = 0; mode < 4; ++mode) {
    Make(styles[mode], items);
    input::Focus(list);
    ASSERT_EQ(parent.codes, mode == 3 ? Codes{} : Codes{LBN_SETFOCUS});
    parent.codes.clear();
    Send(LB_SETHORIZONTALEXTENT, 300);  // the width of an item with the horizontal bar
    RECT client;
    ::GetClientRect(list, &client);
    UserModel m;
    m.mode = mode;
    m.rows = static_cast<int>(client.bottom / kItem);
    ASSERT_EQ(m.rows, mode == 2 ? 3 : 5);
    std::mt19937 random(static_cast<unsigned>(mode) + 7);
    for (int step = 0; step < 1000; ++step) {
      const int what = static_cast<int>(random() % 12), row = static_cast<int>(random() % static_cast<unsigned>(m.rows));
      const int i = static_cast<int>(random() % 11) - 1, last = static_cast<int>(random() % 11) - 1;
      const unsigned mods = random() % 4;
      const bool shift = mods & input::kShift, ctrl = mods & input::kControl;
      SCOPED_TRACE(::testing::Message() << "mode " << mode << " step " << step << ": " << what << " row " << row
                                        << " i " << i << " last " << last << " mods " << mods);
      bool notifies = what <= 1, doubled = false;
      LRESULT answer = 0, want = 0;
      if (what == 0) {  // a click on a shown row
        ClickItem(row, mods);
        m.Click(m.top + row, shift, ctrl);
      } else if (what == 1 && mods == 3) {  // a double click
        input::DoubleClickAt(list, At(row));
        m.Click(m.top + row, false, false);
        doubled = true;
      } else if (what == 1 && mods == 2) {  // a press whose mouse something else takes is no click
        input::ButtonDown(list, At(row));
        ::SetCapture(parent);
        ::ReleaseCapture();
        input::ButtonUp(list, At(row));
        m.Click(m.top + row, false, false);
        notifies = false;
      } else if (what == 1) {  // press on a row, drag to another, release: a single selection follows
        const int to = std::min(last / 2, m.rows - 1);
        input::ButtonDown(list, At(row));
        input::MouseMove(list, At(to));
        input::ButtonUp(list, At(to));
        m.Click(m.top + row, false, false);
        if (mode == 0) m.Click(m.top + to, false, false);
      } else if (what <= 4) {
        const UINT key = std::array{VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_SPACE}[random() % 7];
        input::PressKey(key, mods);
        notifies = m.Key(key, shift, ctrl);
        if (key == VK_SPACE) input::Advance(1500), m.typed.clear();  // a space may be typed too
      } else if (what == 5) {  // typing; a pause starts a new prefix
        const char ch = "ablugx"[random() % 6];
        if (shift) input::Advance(ctrl ? 1000 : 1001), m.typed.resize(ctrl ? m.typed.size() : 0);  // not a pause yet; a pause
        input::TypeText(std::string(1, ch));
        notifies = m.Type(ch);
      } else if (what == 6) {
        answer = Send(LB_SETSEL, shift, i);
        want = !m.Multi() || i >= m.count ? LB_ERR : LB_OKAY;
        if (want == LB_OKAY && i < 0) m.Range(0, m.count - 1, shift);
        if (want == LB_OKAY && i >= 0) m.sel[static_cast<size_t>(i)] = shift, m.anchor = shift ? i : m.anchor;
      } else if (what == 7) {
        answer = ctrl ? Send(LB_SELITEMRANGEEX, static_cast<WPARAM>(i), last)
                      : Send(LB_SELITEMRANGE, shift, MAKELPARAM(std::max(i, 0), std::max(last, 0)));
        want = m.Multi() ? LB_OKAY : LB_ERR;
        if (m.Multi()) ctrl ? m.Range(i, last, last >= i) : m.Range(std::max(i, 0), std::max(last, 0), shift);
      } else if (what <= 9) {
        const UINT message = what == 9 ? (ctrl ? LB_SETCURSEL : LB_SETTOPINDEX) : shift ? LB_SETANCHORINDEX : LB_SETCARETINDEX;
        answer = Send(message, static_cast<WPARAM>(i));
        want = i >= 0 && i < m.count ? LB_OKAY : LB_ERR;
        if (message == LB_SETCURSEL && (m.Multi() || i < 0)) want = LB_ERR;  // single selection only
        if (message == LB_SETCURSEL && want == LB_OKAY) want = i, m.Only(i), m.anchor = i;
        if (message == LB_SETCURSEL && !m.Multi() && i == -1) m.Only(-1);
        if (want == LB_OKAY && message == LB_SETTOPINDEX) m.SetTop(i);
        if (want == LB_OKAY && message == LB_SETANCHORINDEX) m.anchor = i;
        if (want >= 0 && (message == LB_SETCARETINDEX || message == LB_SETCURSEL)) m.caret = i, m.SetTop(i < m.top ? i : std::max(m.top, i - m.rows + 1));
      } else if (what == 10) {
        const int codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK, SB_TOP, SB_BOTTOM, SB_ENDSCROLL};
        const int k = static_cast<int>(random() % 8);
        const int tops[] = {m.top - 1, m.top + 1, m.top - m.rows + 1, m.top + m.rows - 1, i, 0, m.count, m.top};
        Send(WM_VSCROLL, MAKEWPARAM(codes[k], i));
        m.SetTop(tops[k]);
      } else {  // the wheel: three items a notch; part of a notch goes on to the parent
        const int delta = std::array{-240, -120, 120, 119, -119}[random() % 5], wheels = parent.wheels;
        Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)));
        m.SetTop(m.top - 3 * (delta / 120));
        ASSERT_EQ(parent.wheels - wheels, delta % 120 != 0);
      }
      ASSERT_EQ(answer, want);
      Codes expected = notifies ? Codes{LBN_SELCHANGE} : Codes{};
      if (doubled) expected.push_back(LBN_DBLCLK);
      ASSERT_EQ(parent.codes, mode == 3 ? Codes{} : expected);
      parent.codes.clear();
      for (int k = 0; k < m.count; ++k) ASSERT_EQ(Send(LB_GETSEL, k), m.sel[static_cast<size_t>(k)] ? 1 : 0) << k;
      ASSERT_EQ(Send(LB_GETCARETINDEX), m.caret);
      ASSERT_EQ(Send(LB_GETANCHORINDEX), m.anchor);
      ASSERT_EQ(Send(LB_GETTOPINDEX), m.top);
      const int shown = static_cast<int>(random() % 9) - m.top;  // an item's place from the top item
      RECT r;
      ASSERT_EQ(Send(LB_GETITEMRECT, m.top + shown, reinterpret_cast<LPARAM>(&r)), shown >= 0 && shown < m.rows) << shown;
      ASSERT_EQ(CRect(r), CRect(0, shown * kItem, mode == 2 ? 300 : client.right, (shown + 1) * kItem)) << shown;
      ASSERT_EQ(Send(LB_GETCURSEL), m.Multi() ? m.caret : m.CurSel());
      ASSERT_EQ(Send(LB_GETSELCOUNT), m.Multi() ? std::count(m.sel.begin(), m.sel.end(), true) : LB_ERR);
      std::vector<int> listed(10, -1), first;  // the first `max` selected items, never more
      const int max = static_cast<int>(random() % 10);
      for (int k = 0; k < m.count; ++k) if (m.sel[static_cast<size_t>(k)] && static_cast<int>(first.size()) < max) first.push_back(k);
      first.resize(m.Multi() ? first.size() : 0);
      ASSERT_EQ(Send(LB_GETSELITEMS, max, reinterpret_cast<LPARAM>(listed.data())), m.Multi() ? static_cast<LRESULT>(first.size()) : LB_ERR);
      first.resize(10, -1);
      ASSERT_EQ(listed, first);
    }
    ::DestroyWindow(list);
  }
}

TEST_F(ListBoxTest, OwnerDrawnItemsWithoutStringsAreFoundByTheirData) {
  Make(LBS_OWNERDRAWFIXED);
  for (const LPARAM data : {10, 20, 30}) Send(LB_ADDSTRING, 0, data);
  EXPECT_EQ(Send(LB_FINDSTRING, static_cast<WPARAM>(-1), LPARAM{20}), 1);
  EXPECT_EQ(Send(LB_FINDSTRING, 1, LPARAM{20}), 1);  // the start item is searched last
  EXPECT_EQ(Send(LB_FINDSTRING, 2, LPARAM{10}), 0);
  EXPECT_EQ(Send(LB_FINDSTRING, 0, LPARAM{40}), LB_ERR);
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

TEST_F(ListBoxTest, StandardListDrawsItsItemsInTheSystemColours) {
  Make(0, {"alpha", "beta", "gamma"});
  Send(LB_SETCURSEL, 1);
  Send(WM_PAINT);
  using platform::DrawKind;
  const auto ops = platform::WindowDisplayList(list);
  const auto texts = platform::OpsOfKind(ops, DrawKind::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].text, "beta");
  EXPECT_EQ(texts[1].rect.top, kItem);
  EXPECT_EQ(texts[1].color, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(texts[2].color, RGB(0, 0, 0));
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
  box.AddString("a");
  box.AddString("b");
  box.AddString("c");
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
  CListBox empty;
  ASSERT_TRUE(empty.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 65), &parent, kId));
  BOOL outside = FALSE;
  empty.ItemFromPoint(CPoint(5, 5), outside);
  EXPECT_TRUE(outside);  // no items at all
  // Three items in room for five; eight in a box whose last pixel row is the third item's first.
  for (const auto& [count, height] : {std::pair{3, 65}, std::pair{8, 2 * kItem + 1}}) {
    CListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 100, height), &parent, kId + 1));
    for (int i = 0; i < count; ++i) box.AddString("item");
    for (const int x : {-4, 0, 99, 100}) {
      for (int y = -3; y <= height + 3; ++y) {
        const int index = std::min(count - 1, std::clamp(y, 0, height - 1) / kItem);
        const bool off = x < 0 || x >= 100 || y < 0 || y >= height || y >= count * kItem;
        EXPECT_EQ(box.ItemFromPoint(CPoint(x, y), outside), static_cast<UINT>(index)) << x << "," << y;
        EXPECT_EQ(outside != FALSE, off) << x << "," << y;
      }
    }
  }
}

}  // namespace
