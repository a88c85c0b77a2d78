// Rows appended to a filter list in a burst (CFilterListCtrl::AppendRow):
// the platform list hears of them once, and shows what rows inserted one
// at a time would: newest on top, the filtered ones left out, and every
// selected or focused record still so wherever it now shows.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"
#include "platform/testing/list_text.h"

namespace {

using listview::testing::TextRow;

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

class FilterListAppend : public listview::testing::ListTest<CountingList> {
 protected:
  FilterListAppend() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}
  CountingList& Open() {
    return OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "appendtest", {sTarnColInfo("Name", 60, 0, sort_kind::kText)}, true));
  }
  void Append(const std::string& name) {
    m_rows.push_back(std::make_unique<TextRow>(TextRow{{name}}));
    TheList().AppendRow(reinterpret_cast<DWORD_PTR>(m_rows.back().get()));
  }
  std::set<std::string> Selected() {
    std::set<std::string> out;
    for (int i = TheList().GetNextItem(-1, LVNI_SELECTED); i >= 0; i = TheList().GetNextItem(i, LVNI_SELECTED)) {
      out.insert(platform::testing::ListCellText(TheList().m_hWnd, i, 0));
    }
    return out;
  }
  std::string Focused() {
    const int row = TheList().GetNextItem(-1, LVNI_FOCUSED);
    return row < 0 ? "(none)" : platform::testing::ListCellText(TheList().m_hWnd, row, 0);
  }
};

TEST_F(FilterListAppend, ABurstOfRowsChangesThePlatformListsItemsOnce) {
  CountingList& list = Open();
  for (int i = 0; i < 100; ++i) Append("r" + std::to_string(i));
  ASSERT_EQ(list.GetItemCount(), 100);
  list.itemChanges = 0;
  for (int i = 100; i < 1100; ++i) Append("r" + std::to_string(i));
  Strings expected;
  for (int i = 1099; i >= 0; --i) expected.push_back("r" + std::to_string(i));
  EXPECT_EQ(Shown(), expected);
  EXPECT_LE(list.itemChanges, 2) << "a thousand rows, one change of the item count";
}

// Rows appended over a selection, a focus and a filter, in bursts between
// which the list is read, against what the rows must show: the model keeps
// the names shown, newest first, and which of them are selected and focused.
TEST_F(FilterListAppend, SelectedAndFocusedRowsKeepTheirMarksAsRowsComeOnTop) {
  CountingList& list = Open();
  list.SetColumnFilter(0, "a");  // names holding an "a" show
  list.Refilter();
  Strings model;
  int added = 0;
  auto burst = [&](int rows) {
    for (int i = 0; i < rows; ++i, ++added) {
      const std::string name = (added % 3 == 0 ? "b" : "a") + std::to_string(added);
      Append(name);
      if (name[0] == 'a') model.insert(model.begin(), name);
    }
  };
  burst(40);
  ASSERT_EQ(Shown(), model);
  std::set<std::string> selected;
  for (const int row : {0, 3, 17}) {
    list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    selected.insert(model[static_cast<size_t>(row)]);
  }
  list.SetItemState(5, LVIS_FOCUSED, LVIS_FOCUSED);
  const std::string focused = model[5];
  for (const int rows : {1, 7, 60, 2}) {
    burst(rows);
    EXPECT_EQ(Shown(), model) << rows;
    EXPECT_EQ(Selected(), selected) << rows;
    EXPECT_EQ(Focused(), focused) << rows;
  }
  // With nothing marked, new rows leave no mark behind on the old ones' places.
  list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ASSERT_EQ(Focused(), "(none)");
  burst(50);
  EXPECT_EQ(Shown(), model);
  EXPECT_TRUE(Selected().empty());
  EXPECT_EQ(Focused(), "(none)");
}

}  // namespace
