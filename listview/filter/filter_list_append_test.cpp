// Rows appended to a filter list in a burst (CFilterListCtrl::AppendRow):
// the platform list hears of them once. (What bursts show, and the marks
// they keep: filter_list_selection_test.cpp.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"

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

}  // namespace
