// CFilterListCtrl's store and view when a row goes into the middle of a
// filtered list: the store keeps its order, the view entries after the new
// row follow their records, and the new row stays shown only if it passes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"

namespace {

using listview::testing::TextRow;

class FilterListRows : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  FilterListRows() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}
  CFilterListCtrl& Open() {
    return OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "rowstest", {sTarnColInfo("Side", 60, 0, sort_kind::kText)}, true));
  }
  // The store, oldest first, by each record's own text.
  Strings Stored() {
    Strings out;
    for (int i = 0; i < TheList().StoreSize(); ++i) {
      const auto* row = reinterpret_cast<const TextRow*>(TheList().StoreItemData(i));
      out.push_back(row != nullptr ? row->cells[0] : "(no data)");
    }
    return out;
  }
};

TEST_F(FilterListRows, ARowInsertedInTheMiddleOfAFilteredList) {
  struct Case {
    const char* side;
    Strings shown;  // after its data is set, newest first
  };
  // The view before: store indexes 0, 2, 3 (buy, hold, BUYER); the new row
  // goes to store index 2 and view position 2, after which hold and BUYER
  // are at 3 and 4: the view reads 0, 3, 2, 4, shown from the end.
  const Case cases[] = {{"Buy", {"BUYER", "Buy", "hold", "buy"}}, {"sell", {"BUYER", "hold", "buy"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    m_dialog.reset();
    m_rows.clear();
    CFilterListCtrl& list = Open();
    for (const char* side : {"buy", "Sell", "hold", "BUYER"}) AddRow({side});
    list.SetColumnFilter(0, "buy~hold");
    list.Refilter();
    ASSERT_EQ(Shown(), (Strings{"BUYER", "hold", "buy"}));

    m_rows.push_back(std::make_unique<TextRow>(TextRow{{c.side}}));
    EXPECT_EQ(list.InsertItem(2, ""), 2);
    EXPECT_EQ(list.GetItemCount(), 4) << "shown until its data is set, whatever the filters";
    ASSERT_TRUE(list.SetItemData(2, reinterpret_cast<DWORD_PTR>(m_rows.back().get())));
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(Stored(), (Strings{"buy", "Sell", c.side, "hold", "BUYER"}));
    list.ClearFilters();
    list.Refilter();
    EXPECT_EQ(Shown(), (Strings{"BUYER", "hold", c.side, "Sell", "buy"}));
  }
}

}  // namespace
