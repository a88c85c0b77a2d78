// The filter text pop-up of a filter list's header: the texts it offers and
// the filter it writes.
#include "listview/filter/filter_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/dialog_templates.h"
#include "listview/testing/list_test.h"
#include "platform/input/input_driver.h"

namespace {

namespace input = platform::input;
using Strings = std::vector<std::string>;

class FilterText : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  FilterText() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}
  void SetUp() override {
    ListTest::SetUp();
    listview::testing::RegisterFilterTextTemplate();
    OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "filtertext", {sTarnColInfo("Exchange", 80, 0, sort_kind::kText), sTarnColInfo("Side", 60, 0, sort_kind::kText)}));
    // SE is in the last visible row only, NSE_FO in the first only.
    for (const Strings& cells : {Strings{"NSE_FO", "buy"}, Strings{"NSE", "buy"}, Strings{"NSE", "buy"},
                                 Strings{"", "buy"}, Strings{"SE", "buy"}, Strings{"MCX", "sell"}}) {
      AddRow(cells);
    }
    // The MCX row is filtered away: the pop-up offers visible rows only.
    List().SetColumnFilter(1, "buy");
    List().Refilter();
  }

  CFilterListCtrl& List() { return TheList(); }
  HWND Texts() { return TheFilterText().Texts().GetSafeHwnd(); }

  // A click on the filter button at the right of the header's filter box.
  void PressFilterButton(int position) {
    CHeaderCtrl* header = List().GetHeaderCtrl();
    RECT rect{};
    header->GetItemRect(position, &rect);
    ASSERT_TRUE(input::ClickAt(header->GetSafeHwnd(), POINT{rect.right - 3, rect.bottom - 3}));
    ASSERT_TRUE(TheFilterText().IsWindowVisible());
  }
  Strings Entries() {
    Strings entries;
    for (LRESULT i = 0, n = ::SendMessage(Texts(), LB_GETCOUNT, 0, 0); i < n; ++i) {
      char text[64] = {};
      ::SendMessage(Texts(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  void ClickEntry(const char* text, bool twice = false) {
    const auto index =
        ::SendMessage(Texts(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    ASSERT_GE(index, 0) << text;
    RECT rect{};
    ::SendMessage(Texts(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    const POINT at{rect.left + 3, (rect.top + rect.bottom) / 2};
    ASSERT_TRUE(twice ? input::DoubleClickAt(Texts(), at) : input::ClickAt(Texts(), at));
  }
  std::string HeaderFilter(int position) {
    char text[256] = {};
    HD_TEXTFILTER filter;
    filter.pszText = text;
    filter.cchTextMax = sizeof(text);
    HDITEM item;
    item.mask = HDI_FILTER;
    item.type = HDFT_ISSTRING;
    item.pvFilter = &filter;
    List().GetHeaderCtrl()->GetItem(position, &item);
    return text;
  }
  // The header's notifications the owner heard (painting left out).
  std::vector<UINT> Heard() {
    std::vector<UINT> heard;
    for (const UINT code : m_dialog->notifications) {
      if (code == HDN_FILTERBTNCLICK || code == HDN_FILTERCHANGE) heard.push_back(code);
    }
    return heard;
  }
};

TEST_F(FilterText, OffersTheColumnsDistinctVisibleTextsAndWritesTheChosenOnesAsOneFilter) {
  PressFilterButton(0);
  EXPECT_EQ(Entries(), (Strings{"NSE", "NSE_FO", "SE"})) << "sorted, once each, no empty text, no MCX";
  EXPECT_EQ(Heard(), std::vector<UINT>{HDN_FILTERBTNCLICK}) << "the owner hears of the press";

  ClickEntry("SE");
  ClickEntry("NSE");
  ASSERT_TRUE(input::PressKey(VK_RETURN));
  EXPECT_EQ(HeaderFilter(0), "NSE~SE") << "in list order, each chosen text, also one inside another";
  EXPECT_EQ(Heard(), (std::vector<UINT>{HDN_FILTERBTNCLICK, HDN_FILTERCHANGE}));
  EXPECT_FALSE(TheFilterText().IsWindowVisible()) << "the list took the activation back";

  // Enter with nothing chosen changes nothing; losing the activation closes.
  PressFilterButton(1);
  ASSERT_TRUE(input::PressKey(VK_RETURN));
  EXPECT_EQ(HeaderFilter(1), "");
  EXPECT_EQ(Heard(), (std::vector<UINT>{HDN_FILTERBTNCLICK, HDN_FILTERCHANGE, HDN_FILTERBTNCLICK})) << "no filter change";
  EXPECT_TRUE(TheFilterText().IsWindowVisible());
  ASSERT_TRUE(input::Click(m_dialog->GetSafeHwnd()));
  EXPECT_FALSE(TheFilterText().IsWindowVisible());

  // Opening again starts from the rows as they are now.
  m_rows[1]->cells[0] = "CDE";
  PressFilterButton(0);
  EXPECT_EQ(Entries(), (Strings{"CDE", "NSE", "NSE_FO", "SE"}));
}

}  // namespace
