// A filter list's selection belongs to its rows' records, and the keys typed
// in its filter boxes are the boxes' text.
//
// The model test drives the real control as a person does, in random but
// seeded sequences (clicks, Ctrl+ and Shift+clicks, sorting by a caption,
// filters typed into the header's box, Reset Filters, Ctrl+A in the list and
// in a filter box, the newest-first setting, rows arriving, the selection
// deleted as "Delete Group" does), and after each step compares the selected
// records, the focused one and the one under the selection mark with a small
// model that knows nothing of places in the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/user/clipboard.h"
#include "platform/user/message_box.h"
#include "platform/window/message_queue.h"

namespace {

namespace input = platform::input;
using listview::testing::TextRow;
using Records = std::set<const TextRow*>;

// Refilters on every filter change, as the list's owners do.
class Owner : public listview::testing::CListDialog<CFilterListCtrl> {
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

bool Shows(const TextRow& row, const std::string& filter) {
  if (filter.size() > row.cells[0].size()) return false;
  return std::equal(filter.begin(), filter.end(), row.cells[0].begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

class FilterListSelection : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  FilterListSelection() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}

  CFilterListCtrl& Open() {
    m_dialog = std::make_unique<Owner>([](CFilterListCtrl& list) {
      listview::testing::AddColumns(list, "selectiontest",
                                    {sTarnColInfo("Side", 60, 0, sort_kind::kText),
                                     sTarnColInfo("Qty", 60, 1, sort_kind::kInteger),
                                     sTarnColInfo("Price", 60, 1, sort_kind::kFloat)});
      list.ApplyColumnProfile();
      list.EnableFilterMode(true);
      list.SetNewestFirst(true);
      list.SetDataDescriptor(&listview::testing::FormatTextRow);
    });
    EXPECT_TRUE(m_dialog->Create(listview::testing::kListDialogId));
    return TheList();
  }
  const TextRow* Record(int row) { return reinterpret_cast<const TextRow*>(TheList().GetItemData(row)); }
  std::vector<const TextRow*> Shown() {
    std::vector<const TextRow*> out;
    for (int row = 0; row < TheList().GetItemCount(); ++row) out.push_back(Record(row));
    return out;
  }
  Records Selected() {
    Records out;
    for (int row = TheList().GetNextItem(-1, LVNI_SELECTED); row >= 0; row = TheList().GetNextItem(row, LVNI_SELECTED))
      out.insert(Record(row));
    return out;
  }
  const TextRow* Focused() {
    const int row = TheList().GetNextItem(-1, LVNI_FOCUSED);
    return row >= 0 ? Record(row) : nullptr;
  }
  const TextRow* Anchor() {
    const int row = TheList().GetSelectionMark();
    return row >= 0 ? Record(row) : nullptr;
  }
  bool ClickRow(int row, unsigned modifiers) {
    TheList().EnsureVisible(row, FALSE);
    RECT rect{};
    TheList().GetItemRect(row, &rect, LVIR_BOUNDS);
    return input::ClickAt(TheList().m_hWnd, POINT{rect.left + 8, (rect.top + rect.bottom) / 2}, modifiers);
  }
  // Opens column 0's filter box; its edit field, which has the focus.
  HWND OpenFilterBox() {
    const HWND header = TheList().GetHeaderCtrl()->GetSafeHwnd();
    ::SendMessage(header, HDM_EDITFILTER, 0, FALSE);
    platform::PumpMessages();
    const HWND edit = ::GetFocus();
    EXPECT_TRUE(edit != nullptr && ::GetParent(edit) == header);
    return edit;
  }
  // The box's text typed over with `text` and applied with Enter.
  void TypeFilter(const std::string& text) {
    OpenFilterBox();
    ASSERT_TRUE(input::PressKey('A', input::kControl) && input::PressKey(VK_DELETE));
    if (!text.empty()) {
      ASSERT_TRUE(input::TypeText(text));
    }
    ASSERT_TRUE(input::PressKey(VK_RETURN));
  }
  // "Delete Group": the selected rows, highest first.
  void DeleteSelected() {
    std::vector<int> rows;
    for (int row = TheList().GetNextItem(-1, LVNI_SELECTED); row >= 0; row = TheList().GetNextItem(row, LVNI_SELECTED))
      rows.push_back(row);
    for (auto at = rows.rbegin(); at != rows.rend(); ++at) ASSERT_TRUE(TheList().DeleteItem(*at));
  }
};

// What the list should hold: its records, the filter of column 0, and the
// marks, known while no deletion has moved the focus and the mark by place.
struct Model {
  std::vector<const TextRow*> stored;
  std::string filter;
  Records selected;
  const TextRow* focused = nullptr;
  const TextRow* anchor = nullptr;
  bool marksKnown = true;

  Records Visible() const {
    Records out;
    for (const TextRow* row : stored) {
      if (Shows(*row, filter)) out.insert(row);
    }
    return out;
  }
  // A filter hides rows: they lose their marks.
  void Hide() {
    const Records visible = Visible();
    std::erase_if(selected, [&](const TextRow* row) { return !visible.contains(row); });
    if (focused != nullptr && !visible.contains(focused)) focused = nullptr;
    if (anchor != nullptr && !visible.contains(anchor)) anchor = nullptr;
  }
};

TEST_F(FilterListSelection, TheSelectionFollowsTheRecordsThroughWhatAPersonDoes) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    m_dialog.reset();  // before the rows it reads
    m_rows.clear();
    CFilterListCtrl& list = Open();
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Model model;
    std::vector<std::string> steps;
    const auto addRow = [&] {
      AddRow({kSides[pick(3)], std::to_string(pick(50)), std::to_string(pick(1000)) + ".5"});
      model.stored.push_back(m_rows.back().get());
      steps.push_back("add " + m_rows.back()->cells[0]);
    };
    for (int i = 0; i < 8; ++i) addRow();

    for (int step = 0; step < 70 && !HasFatalFailure(); ++step) {
      const std::vector<const TextRow*> shown = Shown();
      const int count = static_cast<int>(shown.size());
      switch (pick(11)) {
        case 0:
          if (model.stored.size() < 24) addRow();
          break;
        case 1:
        case 2:
          if (count == 0) break;
          {
            const int row = pick(count);
            steps.push_back("click #" + std::to_string(row));
            ASSERT_TRUE(ClickRow(row, input::kNone));
            model.selected = {shown[static_cast<size_t>(row)]};
            model.focused = model.anchor = shown[static_cast<size_t>(row)];
            model.marksKnown = true;
          }
          break;
        case 3: {
          // Ctrl+click on a row not yet selected: it joins.
          std::vector<int> free;
          for (int row = 0; row < count; ++row) {
            if (!model.selected.contains(shown[static_cast<size_t>(row)])) free.push_back(row);
          }
          if (free.empty()) break;
          const int row = free[static_cast<size_t>(pick(static_cast<int>(free.size())))];
          steps.push_back("ctrl+click #" + std::to_string(row));
          ASSERT_TRUE(ClickRow(row, input::kControl));
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
          break;
        }
        case 6: {
          // A side in capitals, or nothing.
          std::string text = pick(4) == 0 ? std::string() : kSides[pick(3)];
          for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          steps.push_back("filter \"" + text + "\"");
          TypeFilter(text);
          model.filter = text;
          model.Hide();
          break;
        }
        case 7:
          steps.push_back("reset filters");
          list.SendMessage(WM_COMMAND, list_command::kResetFilters);
          model.filter.clear();
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
            if (wasSelected && *at < static_cast<int>(rows.size())) model.selected.insert(rows[static_cast<size_t>(*at)]);
          }
          model.marksKnown = chosen.empty() && model.marksKnown;
          break;
        }
        default:
          steps.push_back(list.IsNewestFirst() ? "oldest first" : "newest first");
          list.SetNewestFirst(!list.IsNewestFirst());
          break;
      }
      std::string trace;
      for (const std::string& s : steps) trace += s + "; ";
      const std::vector<const TextRow*> now = Shown();
      ASSERT_EQ(Records(now.begin(), now.end()), model.Visible()) << "seed " << seed << ": " << trace;
      ASSERT_EQ(Selected(), model.selected) << "seed " << seed << ": " << trace;
      if (model.marksKnown) {
        ASSERT_EQ(Focused(), model.focused) << "seed " << seed << ": " << trace;
        ASSERT_EQ(Anchor(), model.anchor) << "seed " << seed << ": " << trace;
      }
    }
  }
}

TEST_F(FilterListSelection, KeysTypedInAFilterBoxAreItsText) {
  CFilterListCtrl& list = Open();
  for (const char* side : kSides) AddRow({side, "1", "2"});
  ASSERT_TRUE(ClickRow(0, input::kNone));
  const DWORD style = list.GetExtendedStyle();
  const size_t boxes = platform::MessageBoxLog().size();

  // Capitals carry Shift+E (the export) and Shift+G (grid lines).
  const HWND edit = OpenFilterBox();
  ASSERT_TRUE(input::TypeText("HEDGE"));
  char text[16] = {};
  ::GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "HEDGE");
  EXPECT_EQ(platform::MessageBoxLog().size(), boxes) << "no export ran";
  EXPECT_EQ(list.GetExtendedStyle(), style) << "the grid lines stay as they were";

  // Ctrl+C with nothing chosen in the box copies nothing, the rows least of all.
  ASSERT_TRUE(input::PressKey(VK_END));
  const DWORD copies = ::GetClipboardSequenceNumber();
  ASSERT_TRUE(input::PressKey('C', input::kControl));
  EXPECT_EQ(::GetClipboardSequenceNumber(), copies);
  // Ctrl+A chooses the box's whole text, not the rows; Ctrl+C copies it.
  ASSERT_TRUE(input::PressKey('A', input::kControl));
  DWORD from = 1, to = 0;
  ::SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 5u);
  EXPECT_EQ(list.GetSelectedCount(), 1u);
  ASSERT_TRUE(input::PressKey('C', input::kControl));
  EXPECT_EQ(platform::ClipboardText(), "HEDGE");
  ASSERT_TRUE(input::PressKey(VK_RETURN));
  EXPECT_EQ(list.GetItemCount(), 1) << "the typed filter applies";

  // In the list itself the same keys are the list's.
  ASSERT_TRUE(input::Focus(list.m_hWnd));
  ASSERT_TRUE(input::PressKey('G', input::kShift));
  EXPECT_NE(list.GetExtendedStyle(), style);
}

}  // namespace
