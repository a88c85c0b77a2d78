// A filter list's selection belongs to its rows' records, and the keys typed
// in its filter boxes are the boxes' text.
//
// The model test drives the real control as a person and its owner do, in
// random but seeded sequences (clicks, Ctrl+ and Shift+clicks, sorting by a
// caption, filters typed into the header's boxes, Reset Filters, Ctrl+A in
// the list and in a filter box, the newest-first setting, rows arriving one
// at a time or appended in bursts, a row put into the middle of the store,
// new data for a shown row, the selection deleted as "Delete Group" does,
// the owner clearing the selection and setting the mark alone),
// and after each step compares the records stored, the rows shown top first,
// the selected records, the focused one and the one under the selection mark
// with a small model that knows nothing of the list's store and view; a
// burst appended while the scroll bar shows reaches the platform list once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"

namespace {

namespace input = platform::input;
using listview::testing::TextRow;
using Records = std::set<const TextRow*>;

// Counts the messages that change the platform list's items.
class CountingList : public CFilterListCtrl {
 public:
  int itemChanges = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == LVM_INSERTITEM || message == LVM_SETITEMCOUNT) ++itemChanges;
    return CFilterListCtrl::WindowProc(message, wParam, lParam);
  }
};

// Refilters on every filter change, as the list's owners do.
class Owner : public listview::testing::CListDialog<CountingList> {
 public:
  using CListDialog::CListDialog;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == static_cast<UINT_PTR>(listview::testing::kListId) && header->code == HDN_FILTERCHANGE) {
      list.Refilter();
    }
    return CListDialog::OnNotify(wParam, lParam, result);
  }
};

// The sides are words no other begins with, so that a filter (which matches
// cells beginning with it, in any case) shows exactly the rows of its side.
// Typed in capitals, they carry the list's Shift shortcuts' letters.
const char* const kSides[] = {"buy", "sell", "hedge"};

// A filter passes the cells that begin with it, in any case.
bool Begins(const std::string& cell, const std::string& filter) {
  if (filter.size() > cell.size()) return false;
  return std::equal(filter.begin(), filter.end(), cell.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// The columns' orders, ascending: Side byte-wise, Qty and Price as numbers.
int Ascending(const TextRow& a, const TextRow& b, int column) {
  const std::string& x = a.cells[static_cast<size_t>(column)];
  const std::string& y = b.cells[static_cast<size_t>(column)];
  if (column == 0) return (x > y) - (x < y);
  const double u = std::stod(x), v = std::stod(y);
  return (u > v) - (u < v);
}

class FilterListSelection : public listview::testing::ListTest<CountingList> {
 protected:
  FilterListSelection() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}

  CountingList& Open() {
    m_dialog = std::make_unique<Owner>(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "selectiontest",
        {sTarnColInfo("Side", 60, 0, sort_kind::kText), sTarnColInfo("Qty", 60, 1, sort_kind::kInteger),
         sTarnColInfo("Price", 60, 1, sort_kind::kFloat)},
        true));
    EXPECT_TRUE(m_dialog->Create(listview::testing::kListDialogId));
    return TheList();
  }
  // The record on row `row`; none for row -1.
  const TextRow* Record(int row) {
    return row >= 0 ? reinterpret_cast<const TextRow*>(TheList().GetItemData(row)) : nullptr;
  }
  // A record no row shows yet, kept alive for the list's life.
  const TextRow* NewRecord(std::vector<std::string> cells) {
    m_rows.push_back(std::make_unique<TextRow>(TextRow{std::move(cells)}));
    return m_rows.back().get();
  }
  std::vector<const TextRow*> Stored() {
    std::vector<const TextRow*> out;
    for (int i = 0; i < TheList().StoreSize(); ++i) {
      out.push_back(reinterpret_cast<const TextRow*>(TheList().StoreItemData(i)));
    }
    return out;
  }
  std::vector<const TextRow*> Shown() {
    std::vector<const TextRow*> out;
    for (int row = 0; row < TheList().GetItemCount(); ++row) out.push_back(Record(row));
    return out;
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int row = TheList().GetNextItem(-1, LVNI_SELECTED); row >= 0; row = TheList().GetNextItem(row, LVNI_SELECTED))
      rows.push_back(row);
    return rows;
  }
  Records Selected() {
    Records out;
    for (const int row : SelectedRows()) out.insert(Record(row));
    return out;
  }
  bool ClickRow(int row, unsigned modifiers) {
    TheList().EnsureVisible(row, FALSE);
    RECT rect{};
    TheList().GetItemRect(row, &rect, LVIR_BOUNDS);
    return input::ClickAt(TheList().m_hWnd, POINT{rect.left + 8, (rect.top + rect.bottom) / 2}, modifiers);
  }
  // Opens the filter box of header item `item`; its edit field, which has the focus.
  HWND OpenFilterBox(int item = 0) {
    const HWND header = TheList().GetHeaderCtrl()->GetSafeHwnd();
    ::SendMessage(header, HDM_EDITFILTER, static_cast<WPARAM>(item), FALSE);
    platform::PumpMessages();
    const HWND edit = ::GetFocus();
    EXPECT_TRUE(edit != nullptr && ::GetParent(edit) == header);
    return edit;
  }
  // The box's text typed over with `text` and applied with Enter.
  void TypeFilter(int item, const std::string& text) {
    OpenFilterBox(item);
    ASSERT_TRUE(input::PressKey('A', input::kControl) && input::PressKey(VK_DELETE));
    ASSERT_TRUE(input::TypeText(text));
    ASSERT_TRUE(input::PressKey(VK_RETURN));
  }
  // "Delete Group": the selected rows, highest first.
  void DeleteSelected() {
    const std::vector<int> rows = SelectedRows();
    for (auto at = rows.rbegin(); at != rows.rend(); ++at) ASSERT_TRUE(TheList().DeleteItem(*at));
    EXPECT_FALSE(TheList().DeleteItem(TheList().GetItemCount())) << "no such row";
  }
};

// What the list should hold: its records, the rows shown top first, the
// filters of columns 0 and 1, the sort, and the marks, known while no
// deletion has moved the focus and the mark by place.
struct Model {
  std::vector<const TextRow*> stored;
  std::vector<const TextRow*> shown;
  std::string filters[2];
  bool newestFirst = true;
  int sorted = 0;      // the column a click sorts the other way; -1 none
  int direction = -1;  // -1 ascending
  Records selected;
  const TextRow* focused = nullptr;
  const TextRow* anchor = nullptr;
  bool marksKnown = true;

  bool Passes(const TextRow& row) const { return Begins(row.cells[0], filters[0]) && Begins(row.cells[1], filters[1]); }
  Records Visible() const { return Records(shown.begin(), shown.end()); }
  void Add(const TextRow* row) {
    stored.push_back(row);
    if (Passes(*row)) shown.insert(newestFirst ? shown.begin() : shown.end(), row);
  }
  // A row put at store index `index` (inside the store) takes view entry
  // `index` among the rows shown, and stays only if it passes.
  void Insert(int index, const TextRow* row) {
    stored.insert(stored.begin() + index, row);
    const int count = static_cast<int>(shown.size());
    if (Passes(*row)) shown.insert(shown.begin() + (newestFirst ? count - index : index), row);
  }
  // A record takes the place of another in the store and on its row, with
  // its marks; it stays shown only if it passes, and when its row goes the
  // focus and the mark are known no more by record.
  void Replace(const TextRow* old, const TextRow* row) {
    std::replace(stored.begin(), stored.end(), old, row);
    std::replace(shown.begin(), shown.end(), old, row);
    if (selected.erase(old) > 0) selected.insert(row);
    if (focused == old) focused = row;
    if (anchor == old) anchor = row;
    if (!Passes(*row)) {
      std::erase(shown, row);
      selected.erase(row);
      marksKnown = false;
    }
  }
  // The filters changed: the rows that pass, in the order they came, and
  // the hidden ones lose their marks.
  void Refilter() {
    shown.clear();
    for (const TextRow* row : stored) {
      if (Passes(*row)) shown.push_back(row);
    }
    if (newestFirst) std::reverse(shown.begin(), shown.end());
    const Records visible = Visible();
    std::erase_if(selected, [&](const TextRow* row) { return !visible.contains(row); });
    if (focused != nullptr && !visible.contains(focused)) focused = nullptr;
    if (anchor != nullptr && !visible.contains(anchor)) anchor = nullptr;
  }
  // A click on a caption: ascending, or the other way on the column sorted
  // last; on an empty list nothing, not even the direction, changes.
  void Sort(int column) {
    if (shown.empty()) return;
    direction = column == sorted ? -direction : -1;
    sorted = column;
    std::stable_sort(shown.begin(), shown.end(),
                     [&](const TextRow* a, const TextRow* b) { return -direction * Ascending(*a, *b, column) < 0; });
  }
};

TEST_F(FilterListSelection, TheSelectionFollowsTheRecordsThroughWhatAPersonDoes) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    m_dialog.reset();  // before the rows it reads
    m_rows.clear();
    CountingList& list = Open();
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Model model;
    std::vector<std::string> steps;
    const auto cells = [&]() -> std::vector<std::string> {
      return {kSides[pick(3)], std::to_string(pick(50)), std::to_string(pick(1000)) + ".5"};
    };
    const auto addRow = [&] {
      AddRow(cells());
      model.Add(m_rows.back().get());
      steps.push_back("add " + m_rows.back()->cells[0]);
    };
    for (int i = 0; i < 8; ++i) addRow();

    for (int step = 0; step < 100 && !HasFatalFailure(); ++step) {
      bool burst = false;  // rows appended while the scroll bar shows
      const std::vector<const TextRow*> shown = Shown();
      const int count = static_cast<int>(shown.size());
      const int size = static_cast<int>(model.stored.size());
      const int choice = pick(15);
      switch (choice) {
        case 0:
          if (size < 24) addRow();
          break;
        case 11: {
          // A burst, now and then one long enough to bring the scroll bar.
          if (size > 60) break;
          const int rows = 1 + (pick(4) == 0 ? pick(30) : pick(3));
          steps.push_back("append " + std::to_string(rows));
          // (On top of a selection, a focus or a mark, the rows go in one by one to move them down.)
          burst =
              (list.GetStyle() & WS_VSCROLL) != 0 &&
              (!model.newestFirst || (model.marksKnown && model.selected.empty() && !model.focused && !model.anchor));
          list.itemChanges = 0;
          for (int i = 0; i < rows; ++i) {
            const TextRow* row = NewRecord(cells());
            list.AppendRow(reinterpret_cast<DWORD_PTR>(row));
            model.Add(row);
          }
          break;
        }
        case 12: {
          // The row shows until its data is set, whatever the filters.
          if (size < 2 || count < 1) break;
          const int index = 1 + pick(std::min(size - 1, count));
          steps.push_back("insert at " + std::to_string(index));
          const TextRow* row = NewRecord(cells());
          ASSERT_EQ(list.InsertItem(index, ""), index);
          ASSERT_EQ(list.GetItemCount(), count + 1);
          ASSERT_TRUE(list.SetItemData(index, reinterpret_cast<DWORD_PTR>(row)));
          model.Insert(index, row);
          break;
        }
        case 13: {
          if (count == 0) break;
          const int row = pick(count);
          const TextRow* record = NewRecord(cells());
          steps.push_back("new data for #" + std::to_string(row) + " " + record->cells[0]);
          ASSERT_TRUE(list.SetItemData(row, reinterpret_cast<DWORD_PTR>(record)));
          model.Replace(shown[static_cast<size_t>(row)], record);
          break;
        }
        case 1:
        case 2:
        case 3: {
          // A click selects its row alone; a Ctrl+click on a row not yet selected adds it.
          const bool ctrl = choice == 3;
          std::vector<int> free;
          for (int row = 0; row < count; ++row) {
            if (!ctrl || !model.selected.contains(shown[static_cast<size_t>(row)])) free.push_back(row);
          }
          if (free.empty()) break;
          const int row = free[static_cast<size_t>(pick(static_cast<int>(free.size())))];
          steps.push_back((ctrl ? "ctrl+click #" : "click #") + std::to_string(row));
          ASSERT_TRUE(ClickRow(row, ctrl ? input::kControl : input::kNone));
          if (!ctrl) model.selected.clear();
          model.selected.insert(shown[static_cast<size_t>(row)]);
          model.focused = model.anchor = shown[static_cast<size_t>(row)];
          model.marksKnown = true;
          break;
        }
        case 4: {
          // Shift+click: the rows from the mark's to this one, as they show now.
          if (count == 0 || !model.marksKnown || model.anchor == nullptr) break;
          const int row = pick(count);
          const int from = static_cast<int>(std::find(shown.begin(), shown.end(), model.anchor) - shown.begin());
          ASSERT_LT(from, count) << "the mark's record shows";
          steps.push_back("shift+click #" + std::to_string(row));
          ASSERT_TRUE(ClickRow(row, input::kShift));
          model.selected.clear();
          for (int r = std::min(from, row); r <= std::max(from, row); ++r) {
            model.selected.insert(shown[static_cast<size_t>(r)]);
          }
          model.focused = shown[static_cast<size_t>(row)];
          break;
        }
        case 5: {
          const int item = pick(3);
          steps.push_back("sort " + std::to_string(item));
          ClickHeader(item);
          model.Sort(item);
          // Only the sorted column's caption shows the sort: 0 ascending, 1 descending.
          for (int c = 0; c < 3 && !model.shown.empty(); ++c)
            EXPECT_EQ(HeaderImage(c), c != item ? -1 : model.direction == -1 ? 0 : 1) << c << " seed " << seed;
          break;
        }
        case 6: {
          // A side in capitals or the first digit of a quantity, or nothing.
          const int column = pick(2);
          std::string text = pick(4) == 0 ? std::string() : column == 0 ? kSides[pick(3)] : std::to_string(pick(5));
          for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          steps.push_back("filter " + std::to_string(column) + " \"" + text + "\"");
          TypeFilter(column, text);
          // The header tells of a box whose text changed, and only then is the list filtered again.
          if (std::exchange(model.filters[column], text) != text) model.Refilter();
          break;
        }
        case 7:
          steps.push_back("reset filters");
          list.SendMessage(WM_COMMAND, list_command::kResetFilters);
          model.filters[0].clear();
          model.filters[1].clear();
          model.Refilter();
          break;
        case 8:
          if (pick(2) == 0) {
            steps.push_back("ctrl+a in the list");
            ASSERT_TRUE(input::Focus(list.m_hWnd));
            ASSERT_TRUE(input::PressKey('A', input::kControl));
            model.selected = model.Visible();
          } else {
            steps.push_back("ctrl+a in a filter box");
            OpenFilterBox();
            ASSERT_TRUE(input::PressKey('A', input::kControl));
            ASSERT_TRUE(input::PressKey(VK_ESCAPE));
          }
          break;
        case 9: {
          steps.push_back("delete the selection");
          // Each deleted row that was selected hands its selection to the
          // row that follows it.
          std::vector<const TextRow*> rows = shown;
          std::vector<int> chosen;
          for (int row = 0; row < count; ++row) {
            if (model.selected.contains(shown[static_cast<size_t>(row)])) chosen.push_back(row);
          }
          DeleteSelected();
          for (auto at = chosen.rbegin(); at != chosen.rend(); ++at) {
            const TextRow* gone = rows[static_cast<size_t>(*at)];
            const bool wasSelected = model.selected.erase(gone) > 0;
            rows.erase(rows.begin() + *at);
            std::erase(model.stored, gone);
            std::erase(model.shown, gone);
            if (wasSelected && *at < static_cast<int>(rows.size()))
              model.selected.insert(rows[static_cast<size_t>(*at)]);
          }
          model.marksKnown = chosen.empty() && model.marksKnown;
          if (!chosen.empty()) model.sorted = -1;  // the next click sorts ascending
          break;
        }
        case 14: {
          // The owner drops the selection and the focus; the mark stays, or goes
          // to the oldest record, the first in the store, when it shows.
          steps.push_back("owner clears the selection");
          list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
          model.selected.clear();
          model.focused = nullptr;
          const auto oldest = std::find(shown.begin(), shown.end(), model.stored.empty() ? nullptr : model.stored[0]);
          if (pick(2) == 0 && oldest != shown.end()) {
            steps.push_back("mark #" + std::to_string(oldest - shown.begin()));
            list.SetSelectionMark(static_cast<int>(oldest - shown.begin()));
            model.anchor = *oldest;
            model.marksKnown = true;
          }
          break;
        }
        default:
          steps.push_back(list.IsNewestFirst() ? "oldest first" : "newest first");
          list.SetNewestFirst(!list.IsNewestFirst());
          model.newestFirst = !model.newestFirst;
          std::reverse(model.shown.begin(), model.shown.end());
          break;
      }
      std::string trace;
      for (const std::string& s : steps) trace += s + "; ";
      ASSERT_EQ(Stored(), model.stored) << "seed " << seed << ": " << trace;
      ASSERT_EQ(Shown(), model.shown) << "seed " << seed << ": " << trace;
      ASSERT_EQ(list.SendMessage(LVM_GETITEMCOUNT), static_cast<LRESULT>(model.shown.size())) << "the platform list's";
      ASSERT_EQ(Selected(), model.selected) << "seed " << seed << ": " << trace;
      if (model.marksKnown) {
        ASSERT_EQ(Record(list.GetNextItem(-1, LVNI_FOCUSED)), model.focused) << "seed " << seed << ": " << trace;
        ASSERT_EQ(Record(list.GetSelectionMark()), model.anchor) << "seed " << seed << ": " << trace;
      }
      // However long the burst, the platform list hears of it once.
      if (burst) {
        ASSERT_LE(list.itemChanges, 2) << "seed " << seed << ": " << trace;
      }
    }
  }
}

}  // namespace
