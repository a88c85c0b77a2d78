#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/comctl/clistctrl.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/input/input_driver.h"
#include "platform/window/metrics.h"
#include "platform/window/scroll_bar.h"
#include "platform/testing/reset_test.h"

namespace {

namespace input = platform::input;
using Strings = std::vector<std::string>;

constexpr int kId = 40;
constexpr int kRow = 13 + platform::kListRowPadding;      // 17 with the default font
constexpr int kHeader = 13 + platform::kHeaderPadding;    // 20
constexpr UINT kSelFocus = LVIS_SELECTED | LVIS_FOCUSED;  // 3

// The dialog a list lives in: logs the list's notifications.
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, 0); }
  Strings log;
  std::string given;  // the text last handed out for a callback cell

 protected:
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->idFrom != static_cast<UINT_PTR>(kId)) return TRUE;
    const auto* lv = reinterpret_cast<NMLISTVIEW*>(lParam);
    const auto* act = reinterpret_cast<NMITEMACTIVATE*>(lParam);
    const auto states = [&] { return std::to_string(lv->uOldState) + ">" + std::to_string(lv->uNewState); };
    std::string line;
    switch (hdr->code) {
      case LVN_ITEMCHANGING: line = "changing " + std::to_string(lv->iItem) + " " + states(); break;
      case LVN_ITEMCHANGED: line = "changed " + std::to_string(lv->iItem) + " " + states(); break;
      case LVN_BEGINDRAG:
        line = "begindrag " + std::to_string(lv->iItem) + " at " + std::to_string(lv->ptAction.y);
        break;
      case LVN_INSERTITEM: line = "insert " + std::to_string(lv->iItem) + " " + std::to_string(lv->lParam); break;
      case LVN_DELETEITEM: line = "delete " + std::to_string(lv->iItem) + " " + std::to_string(lv->lParam); break;
      case NM_CLICK: line = "click " + std::to_string(act->iItem) + " " + std::to_string(act->iSubItem); break;
      case LVN_GETDISPINFO: {
        // A callback cell reads "cb<sub-item><data>", handed out in the
        // list's buffer or, every other time, as a pointer to our own text.
        LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(lParam)->item;
        if (!(item.mask & LVIF_TEXT)) return TRUE;
        given = "cb" + std::to_string(item.iSubItem) + std::to_string(item.lParam);
        if ((pointTo = !pointTo)) item.pszText = given.data();
        else std::snprintf(item.pszText, static_cast<size_t>(item.cchTextMax), "%s", given.c_str());
        return TRUE;
      }
      case NM_CUSTOMDRAW:
      case NM_SETFOCUS:
      case NM_KILLFOCUS: return TRUE;
      default: line = "other " + std::to_string(static_cast<int>(hdr->code)); break;
    }
    log.push_back(line);
    return TRUE;
  }

 private:
  bool pointTo = false;
};

class ListViewTest : public platform::ResetTest {
 protected:
  void SetUp() override { parent.Open(); }

  // A report list 300 wide showing five whole rows (and `more` pixels) under
  // its header, with columns "Name" (100), "Qty" (60), "Side" (80) and `rows`
  // rows "n<i>" / "q<i>" / "s<i>" with data 100 + i.
  void Make(DWORD style = 0, int rows = 3, int more = 0) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | style,
                            CRect(10, 10, 310, 10 + kHeader + 5 * kRow + more), &parent, kId));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Qty", LVCFMT_RIGHT, 60);
    list.InsertColumn(2, "Side", LVCFMT_LEFT, 80);
    for (int i = 0; i < rows; ++i) AddRow(i);
    parent.log.clear();
  }
  void AddRow(int i) {
    const std::string n = "n" + std::to_string(i);
    const int at = list.InsertItem(LVIF_TEXT | LVIF_PARAM, i, n.c_str(), 0, 0, 0, 100 + i);
    list.SetItemText(at, 1, ("q" + std::to_string(i)).c_str());
    list.SetItemText(at, 2, ("s" + std::to_string(i)).c_str());
  }
  std::string Text(int item, int sub = 0) { return list.GetItemText(item, sub).GetString(); }
  std::string Cells(int item, int count) {  // "a|b|c"
    std::string cells = Text(item);
    for (int sub = 1; sub < count; ++sub) cells += "|" + Text(item, sub);
    return cells;
  }
  static POINT Row(int i, int x = 20) { return POINT{x, kHeader + i * kRow + 5}; }
  // The selected rows top down, or with LVNI_ABOVE bottom up from past the last row.
  std::vector<int> Selected(UINT above = 0) {
    std::vector<int> out;
    const UINT flags = LVNI_SELECTED | above;
    for (int i = list.GetNextItem(above ? list.GetItemCount() : -1, flags); i >= 0; i = list.GetNextItem(i, flags))
      out.push_back(i);
    return out;
  }
  int Focused() { return list.GetNextItem(-1, LVNI_FOCUSED); }
  HWND Header() { return list.GetHeaderCtrl()->m_hWnd; }

  Parent parent;
  CListCtrl list;
};

TEST_F(ListViewTest, ColumnsKeepTheirCellsByIndexWhateverTheDisplayOrder) {
  Make();
  CHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(::GetParent(header->m_hWnd), list.m_hWnd);
  EXPECT_EQ(header->GetItemCount(), 3);

  int order[] = {2, 0, 1};
  ASSERT_TRUE(list.SetColumnOrderArray(3, order));
  int back[3] = {};
  ASSERT_TRUE(list.GetColumnOrderArray(back));
  EXPECT_EQ(std::vector<int>(back, back + 3), (std::vector<int>{2, 0, 1}));
  // Cells stay with their column index; the rectangles follow the display.
  EXPECT_EQ(Text(1, 2), "s1");
  CRect side, qty;
  ASSERT_TRUE(list.GetSubItemRect(1, 2, LVIR_BOUNDS, side) && list.GetSubItemRect(1, 1, LVIR_BOUNDS, qty));
  EXPECT_EQ(std::pair(side, qty), std::pair(CRect(0, kHeader + kRow, 80, kHeader + 2 * kRow),
                                            CRect(180, kHeader + kRow, 240, kHeader + 2 * kRow)));

  // A column inserted in the middle shifts later cells to the next index.
  EXPECT_EQ(list.InsertColumn(1, "Price", LVCFMT_RIGHT, 70), 1);
  EXPECT_EQ(Cells(0, 4), "n0||q0|s0");
  EXPECT_EQ(list.GetColumnWidth(1), 70);
  // Columns past either end are refused, asked or changed.
  for (int c = -1; c <= 4; ++c) {
    const bool valid = c >= 0 && c < 4;
    LVCOLUMN column{.mask = LVCF_FMT | LVCF_WIDTH, .fmt = LVCFMT_CENTER, .cx = 50 + c};
    EXPECT_EQ(list.SetColumn(c, &column), valid) << c;
    LVCOLUMN asked{.mask = LVCF_FMT | LVCF_SUBITEM};
    EXPECT_EQ(list.GetColumn(c, &asked), valid) << c;
    EXPECT_EQ(list.GetColumnWidth(c), valid ? 50 + c : 0) << c;
    EXPECT_EQ(asked.fmt, valid ? LVCFMT_CENTER : 0) << c;
    EXPECT_EQ(asked.iSubItem, valid ? c - (c >= 2) : 0) << c;  // as inserted: "Price" took 1 beside "Qty"
    EXPECT_EQ(list.SetColumnWidth(c, 60), valid) << c;
    char cell[8] = "";
    LVITEM item{.mask = LVIF_TEXT | LVIF_IMAGE, .iSubItem = c, .pszText = cell, .cchTextMax = sizeof cell};
    EXPECT_EQ(list.GetItem(&item), valid) << c;
  }

  // Deleting a column drops its cells and moves the later ones back.
  ASSERT_TRUE(list.DeleteColumn(0));
  EXPECT_EQ(header->GetItemCount(), 3);
  EXPECT_FALSE(list.DeleteColumn(3));
  EXPECT_EQ(Cells(0, 4), "|q0|s0|");  // no fourth column: empty, not a crash
  // Without columns a row still keeps its one cell, emptied, to write into.
  for (int left = 3; left > 0; --left) ASSERT_TRUE(list.DeleteColumn(0));
  EXPECT_EQ(Text(0, 0), "");
  ASSERT_TRUE(list.SetItemText(0, 0, "again"));
  EXPECT_EQ(Text(0, 0), "again");
}

TEST_F(ListViewTest, ClickSelectionNotifiesChangingBeforeChangedWithOldAndNewStates) {
  Make();
  input::ClickAt(list, Row(1));
  EXPECT_EQ(parent.log, (Strings{"changing 1 0>3", "changed 1 0>3", "click 1 0"}));
  EXPECT_EQ(::GetFocus(), list.m_hWnd) << "a click gives the list the focus";
  parent.log.clear();
  input::ClickAt(list, Row(2));
  // The old selection goes first, then the focus, then the new item.
  EXPECT_EQ(parent.log, (Strings{"changing 1 3>1", "changed 1 3>1", "changing 1 1>0", "changed 1 1>0", "changing 2 0>3",
                                 "changed 2 0>3", "click 2 0"}));
  parent.log.clear();
  input::DoubleClickAt(list, Row(2));  // its first release is a click; the second, ending the double click, is none
  EXPECT_EQ(parent.log, (Strings{"click 2 0", "other " + std::to_string(static_cast<int>(NM_DBLCLK))}));
}

// What clicks, keys and the item messages do to the rows, the selection,
// the focus, the mark and the top row, as a user of a five-row page and a
// program filling and editing the list meet them: a small model driven
// beside the list by seeded random steps (indexes past either end
// included) and compared after each one; in a multiple and a single
// selection list, kept ascending and kept descending, and in an owner-data
// list, which keeps states only and whose owner gives every cell.
struct ListModel {
  struct Row {
    std::string text, qty;
    LPARAM data = 0;
    bool selected = false;
    bool callback[2] = {};  // the parent gives the cell's text
    int image = 0;
  };
  std::vector<Row> rows;
  DWORD style = 0;
  int focus = -1, mark = -1, top = 0;
  static constexpr int kPage = 5;

  bool Single() const { return (style & LVS_SINGLESEL) != 0; }
  bool OwnerData() const { return (style & LVS_OWNERDATA) != 0; }
  int Count() const { return static_cast<int>(rows.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  bool Selected(int i) const { return rows[static_cast<size_t>(i)].selected; }
  // What the parent hears of a change to an item's text, data or image: its states stay.
  std::vector<std::string> Announced(int i) const {
    const std::string s = std::to_string((Selected(i) ? LVIS_SELECTED : 0) | (i == focus ? LVIS_FOCUSED : 0));
    return {"changing " + std::to_string(i) + " " + s + ">" + s, "changed " + std::to_string(i) + " " + s + ">" + s};
  }
  std::string Shown(int i, int sub) const {
    const Row& row = rows[static_cast<size_t>(i)];
    if (row.callback[sub]) return "cb" + std::to_string(sub) + std::to_string(row.data);
    return sub == 0 ? row.text : row.qty;
  }
  void Clamp() { top = std::clamp(top, 0, std::max(0, Count() - kPage)); }
  void Show(int i) {
    if (i < top) top = i;
    else if (i >= top + kPage) top = i - kPage + 1;
    Clamp();
  }
  void SelectAll(bool on) {
    for (Row& row : rows) row.selected = on;
  }
  void Set(int i, bool on) {
    if (on && Single()) SelectAll(false);
    rows[static_cast<size_t>(i)].selected = on;
  }
  void Only(int i) {
    SelectAll(false);
    rows[static_cast<size_t>(i)].selected = true;
    focus = mark = i;
  }
  void Range(int to, bool clear) {
    const int from = mark >= 0 ? mark : to;
    for (int i = 0; i < Count(); ++i) {
      const bool inside = i >= std::min(from, to) && i <= std::max(from, to);
      if (inside || clear) rows[static_cast<size_t>(i)].selected = inside;
    }
  }
  void Click(int i, bool control, bool shift, bool right) {
    if (Single()) control = shift = false;
    if (i >= Count()) {
      if (!control && !shift) SelectAll(false);
    } else if (right) {
      if (!Selected(i)) Only(i);
      else focus = i;
    } else if (shift) {
      Range(i, !control);
      focus = i;
    } else if (control) {
      Set(i, !Selected(i));
      focus = mark = i;
    } else {
      Only(i);
    }
  }
  void Key(UINT key, bool control, bool shift) {
    if (Single()) shift = false;
    if (key == 'A') {
      if (!Single()) SelectAll(true);
    } else if (key == VK_SPACE) {
      if (focus < 0) return;
      if (control) {
        Set(focus, !Selected(focus));
        mark = focus;
      } else if (!Selected(focus)) {
        Only(focus);
      }
    } else if (Count() > 0) {
      const int bottom = top + kPage - 1;
      int target = key == VK_HOME ? 0 : key == VK_END ? Count() - 1 : 0;
      if (focus >= 0 && key == VK_UP) target = focus - 1;
      if (focus >= 0 && key == VK_DOWN) target = focus + 1;
      if (focus >= 0 && key == VK_PRIOR) target = focus > top ? top : focus - (kPage - 1);
      if (focus >= 0 && key == VK_NEXT) target = focus < bottom ? bottom : focus + (kPage - 1);
      target = std::clamp(target, 0, Count() - 1);
      if (target == focus && (control || Selected(focus))) return;
      if (control) {
        focus = target;
      } else if (shift) {
        Range(target, true);
        focus = target;
      } else {
        Only(target);
      }
      Show(target);
    }
  }
  // A callback text has no place in the order: it goes where asked.
  int Insert(int at, const char* text, LPARAM data) {
    if (at < 0) return -1;
    at = std::min(at, Count());
    const bool callback = text == LPSTR_TEXTCALLBACK;
    const DWORD sort = style & (LVS_SORTASCENDING | LVS_SORTDESCENDING);
    if (sort != 0 && !callback) {
      at = 0;  // after the equal texts
      while (at < Count() && (sort == LVS_SORTASCENDING ? Shown(at, 0) <= text : Shown(at, 0) >= text)) ++at;
    }
    rows.insert(rows.begin() + at, Row{callback ? "" : text, "", data, false, {callback, OwnerData()}});
    if (focus >= at) ++focus;
    if (mark >= at) ++mark;
    return at;
  }
  // The focus and the mark stay on the index, or go to the new last row.
  bool Delete(int at) {
    if (!Valid(at)) return false;
    rows.erase(rows.begin() + at);
    if (focus > at || (focus == at && focus >= Count())) --focus;
    if (mark > at || (mark == at && mark >= Count())) --mark;
    Clamp();
    return true;
  }
  // An owner-data list's count: a focus or a mark past it goes.
  void Resize(int n) {
    rows.resize(static_cast<size_t>(n), Row{"", "", 0, false, {true, true}});
    focus = focus >= n ? -1 : focus;
    mark = mark >= n ? -1 : mark;
    Clamp();
  }
  // By data, keeping equal rows in order; the focus and the mark go with their rows.
  void SortByData() {
    std::vector<int> order(rows.size());
    for (int i = 0; i < Count(); ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return rows[a].data < rows[b].data; });
    std::vector<Row> sorted;
    int newFocus = -1, newMark = -1;
    for (int i = 0; i < Count(); ++i) {
      const int from = order[static_cast<size_t>(i)];
      if (from == focus) newFocus = i;
      if (from == mark) newMark = i;
      sorted.push_back(rows[static_cast<size_t>(from)]);
    }
    rows = std::move(sorted);
    focus = newFocus;
    mark = newMark;
  }
  int Find(int start, UINT flags, const std::string& wanted, LPARAM data) const {
    const int first = start < 0 ? 0 : start + 1;
    const int steps = (flags & LVFI_WRAP) ? Count() : std::max(0, Count() - first);
    for (int n = 0; n < steps; ++n) {
      const int i = (first + n) % Count();
      std::string text = Shown(i, 0);
      if (flags & LVFI_PARTIAL) text = text.substr(0, wanted.size());
      std::string lower = wanted;
      std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
      if ((flags & LVFI_PARAM) ? rows[static_cast<size_t>(i)].data == data : text == lower) return i;
    }
    return -1;
  }
};

int CompareData(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : a > b ? 1 : 0; }
// The same order by the rows' indexes, as the list stood before the sort.
int CompareIndexes(LPARAM a, LPARAM b, LPARAM list) {
  const auto data = [list](LPARAM i) {
    LVITEM item{.mask = LVIF_PARAM, .iItem = static_cast<int>(i)};
    ::SendMessage(reinterpret_cast<HWND>(list), LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  };
  return CompareData(data(a), data(b), 0);
}

TEST_F(ListViewTest, ClicksKeysAndItemMessagesChangeTheListAsAModelDoes) {
  const char* const texts[] = {"a", "ab", "b", "ba", "bab", "c"};
  const UINT keys[] = {VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_SPACE, 'A'};
  for (const DWORD style :
       {DWORD{0}, DWORD{LVS_SINGLESEL}, DWORD{LVS_SORTASCENDING}, DWORD{LVS_SORTDESCENDING}, DWORD{LVS_OWNERDATA}}) {
    std::mt19937 random(380 + style);
    Make(style, 0);
    input::Focus(list);
    ListModel model;
    model.style = style;
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 1500; ++step) {
      const bool control = pick(3) == 0;
      const bool shift = pick(3) == 0;
      const unsigned modifiers = (control ? input::kControl : 0u) | (shift ? input::kShift : 0u);
      const int at = pick(model.Count() + 3) - 1;  // -1 to count + 1
      const int what = pick(15);
      std::string did = std::to_string(what) + " at " + std::to_string(at);
      parent.log.clear();
      if (what < 4) {
        const int row = pick(5);
        const bool right = what == 3;
        did = (right ? "right click " : "click ") + std::to_string(model.top + row);
        right ? input::RightClickAt(list, Row(row), modifiers) : input::ClickAt(list, Row(row), modifiers);
        model.Click(model.top + row, control, shift, right);
      } else if (what < 8) {
        const UINT key = keys[pick(8)];
        if (key == 'A' && !control) continue;  // a letter alone is not a selection key
        did = "key " + std::to_string(key);
        input::PressKey(key, modifiers);
        model.Key(key, control, shift);
      } else if (what == 8 && model.Count() < 16) {
        const char* text = pick(4) == 0 || model.OwnerData() ? LPSTR_TEXTCALLBACK : texts[pick(6)];
        const LPARAM data = model.OwnerData() ? 0 : pick(5);
        const int expected = model.Insert(at, text, data);
        ASSERT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM, at, text, 0, 0, 0, data), expected) << did;
        if (expected >= 0 && !model.OwnerData()) {
          ASSERT_EQ(parent.log, Strings{"insert " + std::to_string(expected) + " " + std::to_string(data)});
        }
      } else if (what <= 9) {
        // The owner hears of a deleted item with its data, and of nothing else.
        const Strings heard = model.Valid(at) && !model.OwnerData() ? Strings{"delete " + std::to_string(at) + " " +
                                                        std::to_string(model.rows[at].data)}
                                              : Strings{};
        ASSERT_EQ(list.DeleteItem(at), model.Delete(at)) << did;
        ASSERT_EQ(parent.log, heard) << did;
      } else if (what == 10) {
        const int sub = pick(5) - 1;  // -1 to 3, three columns
        const bool callback = pick(4) == 0;
        const char* text = callback ? LPSTR_TEXTCALLBACK : texts[pick(6)];
        const bool ok = model.Valid(at) && sub >= 0 && sub < 3 && !model.OwnerData();
        // Only the first column's text is announced, and only when it changes.
        const bool changes = ok && sub == 0 && model.Shown(at, 0) != (callback ? "cb0" + std::to_string(model.rows[at].data) : text);
        ASSERT_EQ(list.SetItemText(at, sub, text), ok) << did << " sub " << sub;
        ASSERT_EQ(parent.log, changes ? model.Announced(at) : Strings{}) << did << " sub " << sub;
        if (ok && sub < 2) model.rows[at].callback[sub] = callback;
        if (ok && sub < 2) (sub == 0 ? model.rows[at].text : model.rows[at].qty) = callback ? "" : text;
      } else if (what == 11) {
        // Data or an image set: announced when it changes, unheard when it does not.
        const int value = pick(5);
        const bool image = pick(2) == 0, ok = model.Valid(at) && !model.OwnerData();
        const bool changes = ok && (image ? model.rows[at].image != value : model.rows[at].data != value);
        ASSERT_EQ(image ? list.SetItem(at, 0, LVIF_IMAGE, nullptr, value, 0, 0, 0) : list.SetItemData(at, value), ok) << did;
        ASSERT_EQ(parent.log, changes ? model.Announced(at) : Strings{}) << did << (image ? " image" : " data");
        if (ok && image) model.rows[at].image = value;
        if (ok && !image) model.rows[at].data = value;
      } else if (what == 12) {
        // A selection set or cleared, on one item or (-1) on all of them, or
        // the focus given; a single selection list refuses to select all.
        const int how = pick(3);
        if (how == 2) {
          ASSERT_EQ(list.SetItemState(at, LVIS_FOCUSED, LVIS_FOCUSED), model.Valid(at) || at < 0) << did;
          if (model.Valid(at)) model.focus = at;
        } else {
          const bool on = how == 0;
          const bool refused = at < 0 && on && model.Single();
          ASSERT_EQ(list.SetItemState(at, on ? LVIS_SELECTED : 0, LVIS_SELECTED), at < model.Count() && !refused) << did;
          if (model.Valid(at)) model.Set(at, on);
          if (at < 0 && !refused) model.SelectAll(on);
        }
      } else if (what >= 13 && model.OwnerData()) {  // finding and sorting are the owner's; the count is set
        const int count = pick(16);
        ASSERT_TRUE(list.SetItemCount(count));
        model.Resize(count);
      } else if (what == 13) {
        const UINT flags = (pick(2) ? LVFI_WRAP : 0u) | (pick(3) == 0 ? LVFI_PARAM : pick(2) ? LVFI_PARTIAL : LVFI_STRING);
        std::string wanted = texts[pick(6)];
        if (flags & LVFI_PARTIAL) wanted.resize(1);
        if (pick(2)) wanted[0] = static_cast<char>(std::toupper(wanted[0]));
        LVFINDINFO find{.flags = flags, .psz = wanted.c_str(), .lParam = pick(5), .pt = {}};
        ASSERT_EQ(list.FindItem(&find, at), model.Find(at, flags, wanted, find.lParam))
            << did << " find " << flags << " " << wanted << " " << find.lParam;
      } else if (what == 14) {
        const bool byIndex = pick(2);
        ASSERT_TRUE(byIndex ? list.SendMessage(LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(list.m_hWnd),
                                               reinterpret_cast<LPARAM>(&CompareIndexes))
                            : list.SortItems(CompareData, 0));
        model.SortByData();
      }
      SCOPED_TRACE(::testing::Message() << "style " << style << ", step " << step << ": " << did
                                        << (control ? " +control" : "") << (shift ? " +shift" : ""));
      ASSERT_EQ(list.GetItemCount(), model.Count());
      std::vector<int> selected;
      for (int i = 0; i < model.Count(); ++i) {
        const ListModel::Row& row = model.rows[static_cast<size_t>(i)];
        ASSERT_EQ(Cells(i, 2), model.Shown(i, 0) + "|" + model.Shown(i, 1)) << i;
        ASSERT_EQ(list.GetItemData(i), static_cast<DWORD_PTR>(row.data)) << i;
        ASSERT_EQ(list.GetItemState(i, kSelFocus), (row.selected ? LVIS_SELECTED : 0u) | (i == model.focus ? LVIS_FOCUSED : 0u))
            << i;
        if (row.selected) selected.push_back(i);
      }
      ASSERT_EQ(Selected(), selected);
      ASSERT_EQ(Selected(LVNI_ABOVE), std::vector<int>(selected.rbegin(), selected.rend()));
      ASSERT_EQ(std::tuple(list.GetSelectedCount(), Focused(), list.GetSelectionMark(), list.GetTopIndex()),
                std::tuple(static_cast<UINT>(selected.size()), model.focus, model.mark, model.top));
      ASSERT_EQ(std::pair(::GetCapture(), Text(model.Count())), std::pair(HWND{}, std::string()));
      LVITEM past{.mask = LVIF_TEXT | LVIF_PARAM, .iItem = at < 0 ? -1 : model.Count()};
      ASSERT_FALSE(list.GetItem(&past));
    }
    list.DestroyWindow();
  }
}

// What a paint records, against the rows' states: per cell the fill behind
// a selection (the first label, or the row with full-row selection; the
// highlight with the focus, the face without), the check box and its mark,
// the text between margins in its colours; the focus frame; grid lines.
TEST_F(ListViewTest, PaintedRowsShowTheirCellsSelectionChecksFocusAndGrid) {
  Make(0, 9);
  std::mt19937 random(384);  // the first round starts unfocused
  const int columns[] = {0, 100, 160, 240};
  for (int round = 0; round < 60; ++round) {
    const DWORD ex = (random() % 2 ? LVS_EX_FULLROWSELECT : 0) | (random() % 2 ? LVS_EX_CHECKBOXES : 0) |
                     (random() % 2 ? LVS_EX_GRIDLINES : 0);
    list.SetExtendedStyle(ex);
    const bool always = random() % 2 == 0;
    list.ModifyStyle(always ? 0 : LVS_SHOWSELALWAYS, always ? LVS_SHOWSELALWAYS : 0);
    const bool focus = random() % 2 == 0;
    ::SetFocus(focus ? list.m_hWnd : parent.m_hWnd);
    const COLORREF ink = random() % 2 ? RGB(0, 0, 0) : RGB(0, 0, 200);
    list.SetTextColor(ink);
    for (int i = 0; i < 9; ++i) {
      list.SetItemState(i, random() % 3 == 0 ? LVIS_SELECTED : 0, LVIS_SELECTED);
      if (ex & LVS_EX_CHECKBOXES) list.SetCheck(i, random() % 2 == 0);
    }
    const int focused = static_cast<int>(random() % 9);
    list.SetItemState(focused, LVIS_FOCUSED, LVIS_FOCUSED);
    list.EnsureVisible(static_cast<int>(random() % 9), FALSE);
    list.Invalidate();
    list.UpdateWindow();

    const auto op = [](platform::DrawKind kind, RECT r, COLORREF color, std::string text = "") {
      platform::DrawOp o;
      o.kind = kind;
      o.rect = r;
      o.color = color;
      o.text = std::move(text);
      return platform::Describe(o);
    };
    const bool full = (ex & LVS_EX_FULLROWSELECT) != 0;
    const int box = (ex & LVS_EX_CHECKBOXES) ? platform::kListStateIconWidth : 0;
    const int top = list.GetTopIndex();
    Strings expected{op(platform::DrawKind::FillRect, RECT{0, 0, 300 - GetSystemMetrics(SM_CXVSCROLL), 5 * kRow + kHeader},
                        RGB(255, 255, 255))};
    for (int i = top; i < std::min(9, top + 6); ++i) {
      const int y = kHeader + (i - top) * kRow;
      const bool shown = (list.GetItemState(i, LVIS_SELECTED) != 0) && (focus || always);
      for (int c = 0; c < 3; ++c) {
        const RECT cell{columns[c], y, columns[c + 1], y + kRow};
        const RECT label{c == 0 ? box : cell.left, y, cell.right, y + kRow};
        const bool lit = shown && (full || c == 0);
        if (lit) {
          expected.push_back(op(platform::DrawKind::FillRect, full ? cell : label,
                                GetSysColor(focus ? COLOR_HIGHLIGHT : COLOR_BTNFACE)));
        }
        if (c == 0 && box != 0) {
          const RECT frame{1, y + 2, 14, y + 15};
          expected.push_back(op(platform::DrawKind::FrameRect, frame, GetSysColor(COLOR_WINDOWTEXT)));
          if (list.GetCheck(i)) {
            expected.push_back(op(platform::DrawKind::FillRect, RECT{4, y + 5, 11, y + 12}, GetSysColor(COLOR_WINDOWTEXT)));
          }
        }
        const RECT text{label.left + platform::kListLabelMargin, y, label.right - platform::kListLabelMargin, y + kRow};
        expected.push_back(op(platform::DrawKind::Text, text,
                              lit ? GetSysColor(focus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT) : ink, Text(i, c)) +
                           (c == 1 ? " right" : ""));  // "Qty" is the right-aligned column
      }
      if (focus && i == focused) {
        expected.push_back(op(platform::DrawKind::FocusRect, RECT{full ? 0 : box, y, full ? 240 : 100, y + kRow}, 0));
      }
    }
    if (ex & LVS_EX_GRIDLINES) {
      for (int c = 1; c <= 3; ++c) {
        expected.push_back(op(platform::DrawKind::FillRect, RECT{columns[c] - 1, kHeader, columns[c], kHeader + 5 * kRow},
                              GetSysColor(COLOR_BTNFACE)));
      }
      for (int y = kHeader + kRow; y <= kHeader + 5 * kRow; y += kRow) {
        expected.push_back(op(platform::DrawKind::FillRect, RECT{0, y - 1, 240, y}, GetSysColor(COLOR_BTNFACE)));
      }
    }
    Strings drawn;
    for (platform::DrawOp o : platform::WindowDisplayList(list)) {
      if (o.kind == platform::DrawKind::FocusRect) o.color = 0;
      drawn.push_back(platform::Describe(o) + (o.format & DT_RIGHT ? " right" : "") +
                      (o.format & DT_CENTER ? " centre" : ""));
    }
    ASSERT_EQ(drawn, expected) << "round " << round << " ex " << ex << (focus ? " focus" : "") << (always ? " always" : "");
  }
}

// Outside: the sides passed; past the rows or columns: nothing; on a row its
// item, which without full-row selection is the first column unless a
// sub-item hit test asks (it names the column, wherever it was dragged).
TEST_F(ListViewTest, HitTestsNameTheItemAndColumnUnderEachPoint) {
  Make();
  const int height = kHeader + 5 * kRow;
  for (const bool fullRow : {false, true}) {
    list.SetExtendedStyle(fullRow ? LVS_EX_FULLROWSELECT : 0);
    for (const bool reversed : {true, false}) {  // columns 80, 60 and 100 wide, or 100, 60 and 80
      int order[] = {reversed ? 2 : 0, 1, reversed ? 0 : 2};
      ASSERT_TRUE(list.SetColumnOrderArray(3, order));
      for (int y = kHeader - 1; y <= height; ++y) {
        for (int x = -1; x <= 300; ++x) {
          const UINT outside = (y < kHeader ? LVHT_ABOVE : 0) | (y >= height ? LVHT_BELOW : 0) |
                               (x < 0 ? LVHT_TOLEFT : 0) | (x >= 300 ? LVHT_TORIGHT : 0);
          const int row = (y - kHeader) / kRow;
          const int column = reversed ? (x < 80 ? 2 : x < 140 ? 1 : 0) : (x < 100 ? 0 : x < 160 ? 1 : 2);
          const bool onRow = outside == 0 && row < 3 && x < 240;
          for (const bool sub : {false, true}) {
            SCOPED_TRACE(::testing::Message() << x << "," << y << (fullRow ? " full row" : "") << (sub ? " sub" : "")
                                              << (reversed ? " reversed" : ""));
            LVHITTESTINFO hit{.pt = POINT{x, y}};
            const bool isItem = onRow && (column == 0 || fullRow || sub);
            ASSERT_EQ(sub ? list.SubItemHitTest(&hit) : list.HitTest(&hit), isItem ? row : -1);
            ASSERT_EQ(hit.flags, outside != 0 ? outside : isItem ? LVHT_ONITEMLABEL : LVHT_NOWHERE);
            ASSERT_EQ(sub ? hit.iSubItem : 0, sub && isItem ? column : 0);
          }
        }
      }
    }
  }
  // A click where the hit test finds no item selects nothing; a full row's click names the cell.
  list.SetExtendedStyle(0);
  input::ClickAt(list, Row(1, 130));
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  input::ClickAt(list, Row(0, 200));
  EXPECT_EQ(parent.log.back(), "click 0 2");
}

TEST_F(ListViewTest, RowGeometryScrollingAndColumnWidths) {
  Make(0, 12);
  CRect r;
  ASSERT_TRUE(list.GetSubItemRect(2, 0, LVIR_BOUNDS, r));  // the first column's are the row's
  EXPECT_EQ(r, CRect(0, kHeader + 2 * kRow, 240, kHeader + 3 * kRow));
  for (const auto& [part, right] : {std::pair{LVIR_ICON, 0}, std::pair{LVIR_LABEL, 100}, std::pair{LVIR_SELECTBOUNDS, 100}}) {
    ASSERT_TRUE(list.GetItemRect(2, &r, part));
    EXPECT_EQ(r, CRect(0, kHeader + 2 * kRow, right, kHeader + 3 * kRow)) << part;
  }
  EXPECT_FALSE(list.GetItemRect(12, &r, LVIR_BOUNDS));
  // A cell's icon takes room only when cells have icons and a small image list gives them.
  CRect cell, label;
  list.SetExtendedStyle(LVS_EX_SUBITEMIMAGES);
  ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_BOUNDS, cell));
  ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_LABEL, label));
  EXPECT_EQ(label.left, cell.left);
  const HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR, 0, 1);
  for (const int kind : {LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE, LVSIL_STATE + 1}) {  // the last is no list's
    ::SendMessage(list, LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(icons));
    EXPECT_EQ(::SendMessage(list, LVM_GETIMAGELIST, kind, 0), kind <= LVSIL_STATE ? reinterpret_cast<LRESULT>(icons) : 0);
  }
  ::SendMessage(list, LVM_SETIMAGELIST, LVSIL_STATE, 0);
  ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_LABEL, label));
  EXPECT_EQ(label.left, cell.left + platform::kListSmallIconWidth);
  ::SendMessage(list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  ::SendMessage(list, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
  ImageList_Destroy(icons);
  list.SetExtendedStyle(0);
  EXPECT_EQ(list.GetCountPerPage(), 5);
  list.Scroll(CSize(0, 5 * kRow));
  ASSERT_TRUE(list.GetItemRect(9, &r, LVIR_BOUNDS));
  EXPECT_EQ(r.top, kHeader + 4 * kRow);
  list.Scroll(CSize(0, -3 * kRow));
  EXPECT_EQ(list.GetTopIndex(), 2);
  list.Scroll(CSize(0, 100 * kRow));
  EXPECT_EQ(list.GetTopIndex(), 7);  // the last page stays full
  list.Scroll(CSize(500, 0));        // sideways as far as the columns reach
  ASSERT_TRUE(list.GetItemRect(7, &r, LVIR_BOUNDS));
  EXPECT_EQ(r.left, 0);  // 240 wide in a 300 client: nothing to scroll
  list.SetColumnWidth(2, 200);
  list.Scroll(CSize(500, 0));
  ASSERT_TRUE(list.GetItemRect(7, &r, LVIR_BOUNDS));
  EXPECT_EQ(r.left, -(360 - (300 - GetSystemMetrics(SM_CXVSCROLL))));  // the vertical bar narrows the client

  // A double click on the divider after "Qty" fits it to its cells.
  list.Scroll(CSize(-500, 0));
  input::DoubleClickAt(Header(), POINT{list.GetColumnWidth(0) + 60, 5});
  EXPECT_EQ(list.GetColumnWidth(1), list.GetStringWidth("q10") + 2 * platform::kListLabelMargin);

  // Auto-size: the widest cell plus margins; with the header, the last column fills the client.
  list.SetColumnWidth(0, LVSCW_AUTOSIZE);
  EXPECT_EQ(list.GetColumnWidth(0), list.GetStringWidth("n10") + 2 * platform::kListLabelMargin);
  list.Scroll(CSize(-500, 0));
  list.SetColumnWidth(1, 10);
  list.SetColumnWidth(2, LVSCW_AUTOSIZE_USEHEADER);
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(list.GetColumnWidth(2), client.Width() - list.GetColumnWidth(0) - 10);
}

TEST_F(ListViewTest, APressOnAMultipleSelectionKeepsItForADragAndSelectsOneOnRelease) {
  Make(0, 4);
  input::ClickAt(list, Row(1));
  input::ClickAt(list, Row(3), input::kControl);
  ASSERT_EQ(Selected(), (std::vector<int>{1, 3}));
  const int far = platform::kListDragThreshold;
  for (const POINT to : {POINT{Row(3).x, Row(3).y + far}, POINT{Row(3).x + far, Row(3).y}}) {  // as far down or across
    parent.log.clear();
    ASSERT_TRUE(input::ButtonDown(list, Row(3)));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3})) << "the press alone changes nothing";
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 3);
    input::MouseMove(list, POINT{Row(3).x + far - 1, Row(3).y + far - 1});
    EXPECT_EQ(parent.log, Strings{}) << "not far enough for a drag";
    input::MouseMove(list, to);
    EXPECT_EQ(parent.log, Strings{"begindrag 3 at " + std::to_string(Row(3).y)});
    EXPECT_EQ(::GetCapture(), nullptr) << "whoever handles the drag takes the mouse";
    input::ButtonUp(list, to);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3})) << "a drag's release selects nothing";
  }

  // Released without a drag, the press selects its item alone.
  ASSERT_TRUE(input::ButtonDown(list, Row(1)));
  input::ButtonUp(list, Row(1));
  EXPECT_EQ(Selected(), (std::vector<int>{1}));
  EXPECT_EQ(parent.log.back(), "click 1 0");
}

}  // namespace

// ---- Scroll bars ----

namespace {

std::optional<SCROLLINFO> Bar(HWND list, int bar) { return platform::ShownScrollInfo(list, bar); }

POINT CentreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A window point of the list as the input driver's client point.
POINT ClientOf(HWND list, POINT window) {
  RECT r;
  ::GetWindowRect(list, &r);
  POINT p{r.left + window.x, r.top + window.y};
  ::ScreenToClient(list, &p);
  return p;
}

}  // namespace

TEST_F(ListViewTest, ScrollBarsComeWithRowsAndColumnsThatDoNotFitAndCountRowsAndPixels) {
  Make(0, 5);
  EXPECT_FALSE(Bar(list, SB_VERT).has_value() || Bar(list, SB_HORZ).has_value());
  AddRow(5);
  auto v = Bar(list, SB_VERT);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(std::pair(v->nMax, v->nPage), std::pair(5, 5u));
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300 - GetSystemMetrics(SM_CXVSCROLL));

  // Wider columns than the client: a horizontal bar in pixels, which takes
  // a row's room from the page.
  list.SetColumnWidth(2, 200);
  const auto h = Bar(list, SB_HORZ);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(std::pair(h->nMax, static_cast<int>(h->nPage)), std::pair(100 + 60 + 200 - 1, client.Width()));
  EXPECT_EQ(std::pair(list.GetCountPerPage(), Bar(list, SB_VERT)->nPage), std::pair(4, 4u));

  // The bar follows every way of scrolling.
  list.EnsureVisible(5, FALSE);
  EXPECT_EQ(std::pair(list.GetTopIndex(), Bar(list, SB_VERT)->nPos), std::pair(2, 2));
  list.Scroll(CSize(25, 0));
  EXPECT_EQ(Bar(list, SB_HORZ)->nPos, 25);

  // Rows deleted until all fit: the vertical bar goes and the top returns.
  while (list.GetItemCount() > 3) list.DeleteItem(list.GetItemCount() - 1);
  EXPECT_TRUE(!Bar(list, SB_VERT).has_value() && list.GetTopIndex() == 0);
}

TEST_F(ListViewTest, EnsureVisibleOfTheLastRowShowsItWholeAboveAPartialRow) {
  Make(0, 40, kRow / 2);  // five and a half rows of room
  EXPECT_EQ(list.GetCountPerPage(), 5);
  ASSERT_TRUE(list.EnsureVisible(39, FALSE));
  EXPECT_EQ(list.GetTopIndex(), 35);
  CRect row, client;
  list.GetItemRect(39, &row, LVIR_BOUNDS);
  list.GetClientRect(&client);
  EXPECT_TRUE(row.bottom <= client.bottom && row.top >= kHeader);
  // The bar's own "bottom" says the same.
  list.SendMessage(WM_VSCROLL, SB_TOP);
  list.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(list.GetTopIndex(), 35);
}

TEST_F(ListViewTest, TheHeaderMovesWithTheColumnsWhenScrolledSideways) {
  Make(0, 12);
  list.SetColumnWidth(2, 300);  // 460 wide in a 283-pixel client
  list.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 70));
  CRect cell;
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell));
  EXPECT_EQ(cell.left, 100 - 70);
  CRect item;
  ::SendMessage(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  ::MapWindowPoints(Header(), list, reinterpret_cast<POINT*>(&item), 2);
  EXPECT_EQ(std::pair(item.left, item.right), std::pair(cell.left, cell.right));
  // At the right end the last column ends at the client's right edge.
  list.SendMessage(WM_HSCROLL, SB_RIGHT);
  CRect client;
  list.GetClientRect(&client);
  ::SendMessage(Header(), HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  ::MapWindowPoints(Header(), list, reinterpret_cast<POINT*>(&item), 2);
  EXPECT_EQ(std::pair(item.right, Bar(list, SB_HORZ)->nPos), std::pair(client.right, 460 - client.Width()));

  // Told to show no header, the list hides it and its rows start at the top.
  list.ModifyStyle(0, LVS_NOCOLUMNHEADER);
  EXPECT_FALSE(::IsWindowVisible(Header()));
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell));
  EXPECT_EQ(cell.top, 0);
  list.ModifyStyle(LVS_NOCOLUMNHEADER, 0);
  EXPECT_TRUE(::IsWindowVisible(Header()));
}

TEST_F(ListViewTest, WheelsScrollRowsAndShiftOrATiltScrollsSideways) {
  Make(0, 30);
  list.SetColumnWidth(2, 300);
  const POINT inside = Row(1);
  input::WheelAt(list, inside, -120);
  EXPECT_EQ(list.GetTopIndex(), 3);
  input::HorizontalWheelAt(list, inside, 120);
  const int right = Bar(list, SB_HORZ)->nPos;
  EXPECT_GT(right, 0);
  // Shift and the wheel turned towards the user: further right; away: back left.
  input::KeyDown(VK_SHIFT);
  input::WheelAt(list, inside, -120);
  EXPECT_EQ(Bar(list, SB_HORZ)->nPos, 2 * right);
  input::WheelAt(list, inside, 240);
  input::KeyUp(VK_SHIFT);
  EXPECT_EQ(Bar(list, SB_HORZ)->nPos, 0);
  EXPECT_EQ(list.GetTopIndex(), 3);
}

TEST_F(ListViewTest, PressesOnTheBarsScrollWithoutTouchingTheSelection) {
  Make(0, 30);
  list.SetItemState(0, kSelFocus, kSelFocus);
  parent.log.clear();
  const platform::ScrollBarRects v = platform::ScrollBarGeometry(list, SB_VERT);
  ASSERT_TRUE(input::ClickAt(list, ClientOf(list, CentreOf(v.lineDown))));
  EXPECT_EQ(list.GetTopIndex(), 1);
  // Below the thumb: a page.
  ASSERT_TRUE(input::ClickAt(list, ClientOf(list, POINT{CentreOf(v.track).x, v.track.bottom - 2})));
  EXPECT_EQ(list.GetTopIndex(), 1 + list.GetCountPerPage());
  // The thumb dragged to the bottom shows the last row last.
  const platform::ScrollBarRects now = platform::ScrollBarGeometry(list, SB_VERT);
  ASSERT_TRUE(input::ButtonDown(list, ClientOf(list, CentreOf(now.thumb))));
  input::MouseMove(list, ClientOf(list, POINT{CentreOf(now.thumb).x, now.bar.bottom + 50}));
  input::ButtonUp(list, ClientOf(list, POINT{CentreOf(now.thumb).x, now.bar.bottom + 50}));
  EXPECT_EQ(list.GetTopIndex(), 30 - list.GetCountPerPage());
  EXPECT_EQ(std::tuple(Selected(), parent.log, ::GetCapture()), std::tuple(std::vector<int>{0}, Strings{}, HWND{}));
}
