// "Delete Group" deletes the groups the administrator picked, whatever the
// list did to its rows in between (sorted, filtered, filters reset), and keys
// typed in a filter box are the box's: six stored groups, the real plug-in,
// and what the server holds afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"
#include "terminal/server/server_standin.h"
#include "tests/plugin_harness.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

constexpr char kList[] = "\"View Allowed Group\" 20016 ";

class ListSelection : public ::testing::Test {
 protected:
  // HNI, INSTITUTION, PROPRIETARY and RETAIL on NFO, HNI on MCX and RETAIL
  // on BSE: six groups, two categories twice.
  void SetUp() override {
    terminal.Init("admin", &terminal.Host().MainWindow());
    terminal.Do({"hotkey Alt+A", "select \"Allowed Groups\" 20000 \"HNI\"", "select \"Allowed Groups\" 20001 \"NFO\"",
                 "check \"Allowed Groups\" \"Apply for all categories\" on", "click \"Allowed Groups\" \"Add Group\"",
                 "check \"Allowed Groups\" \"Apply for all categories\" off", "select \"Allowed Groups\" 20001 \"MCX\"",
                 "click \"Allowed Groups\" \"Add Group\"", "select \"Allowed Groups\" 20000 \"RETAIL\"",
                 "select \"Allowed Groups\" 20001 \"BSE\"", "click \"Allowed Groups\" \"Add Group\"",
                 "click \"Allowed Groups\" \"View Group\""});
    ASSERT_EQ(Held().size(), 6u);
    ASSERT_EQ(Shown().size(), 6u);
  }

  void Do(const std::string& line) { terminal.Do({line}); }
  HWND List() const { return ::GetDlgItem(terminal::FindTopLevelWindow("View Allowed Group"), 20016); }
  // Each group as category and segment code, top row first.
  Strings Shown() const {
    Strings rows;
    for (LRESULT row = 0, n = ::SendMessage(List(), LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
      rows.push_back(terminal::ListCell(List(), row, 0) + "\t" + terminal::ListCell(List(), row, 1));
    }
    return rows;
  }
  Strings Held() {
    Strings groups;
    for (const std::string& row : terminal.Host().Server().Groups()) {
      const size_t second = row.find('\t', row.find('\t') + 1);
      groups.push_back(row.substr(0, second));
    }
    std::sort(groups.begin(), groups.end());
    return groups;
  }
  Strings HeldWithout(const std::string& group) {
    Strings all = {"HNI\tmcx_fo",        "HNI\tnse_fo",    "INSTITUTION\tnse_fo",
                   "PROPRIETARY\tnse_fo", "RETAIL\tbse_cm", "RETAIL\tnse_fo"};
    std::erase(all, group);
    return all;
  }
  // Picks the row showing `group` with the mouse; its row.
  int Pick(const std::string& group) {
    const Strings rows = Shown();
    const auto at = std::find(rows.begin(), rows.end(), group);
    EXPECT_NE(at, rows.end()) << group;
    const int row = static_cast<int>(at - rows.begin());
    Do(std::string("select ") + kList + "\"#" + std::to_string(row) + "\"");
    return row;
  }
  size_t SelectedCount() const { return static_cast<size_t>(::SendMessage(List(), LVM_GETSELECTEDCOUNT, 0, 0)); }
  void ResetFilters() {
    Do("menu \"Reset Filters\"");
    Do(std::string("right-click ") + kList + "\"Symbol\"");
    Do("menu \"\"");
  }

  PluginHarness terminal;
};

TEST_F(ListSelection, SortingTwiceMovesThePickedGroupAndDeleteGroupDeletesIt) {
  const std::string picked = "INSTITUTION\tnse_fo";
  const int before = Pick(picked);
  Do(std::string("sort ") + kList + "\"Category\"");
  Do(std::string("sort ") + kList + "\"Category\"");
  const Strings sorted = Shown();
  ASSERT_NE(sorted[static_cast<size_t>(before)], picked) << "the group has moved to another row";
  Do("click \"View Allowed Group\" \"Delete Group\"");
  EXPECT_EQ(Held(), HeldWithout(picked));
}

TEST_F(ListSelection, AFilterAndResetFiltersKeepThePickedGroupAndAHiddenOneIsNoLongerPicked) {
  // Sorted first, so that the group's row is not the one it returns to.
  Do(std::string("sort ") + kList + "\"Category\"");
  const std::string picked = "INSTITUTION\tnse_fo";
  Pick(picked);
  Do(std::string("filter ") + kList + "\"Category\" \"INST\"");
  ASSERT_EQ(Shown(), Strings{picked});
  EXPECT_EQ(SelectedCount(), 1u);
  ResetFilters();
  ASSERT_EQ(Shown().size(), 6u);
  Do("click \"View Allowed Group\" \"Delete Group\"");
  EXPECT_EQ(Held(), HeldWithout(picked));

  // A filter that hides the picked group takes it out of the selection.
  Pick("RETAIL\tbse_cm");
  Do(std::string("filter ") + kList + "\"Category\" \"HNI\"");
  EXPECT_EQ(SelectedCount(), 0u);
  ResetFilters();
  Do("click \"View Allowed Group\" \"Delete Group\"");
  ASSERT_FALSE(terminal.Boxes().empty());
  EXPECT_EQ(terminal.Boxes().back(), "Please select a group to delete");
  EXPECT_EQ(Held().size(), 5u);
}

// Ctrl+A typed in a filter box chooses the box's text, not every row, which
// "Delete Group" would delete once the filter is reset.
TEST_F(ListSelection, CtrlAInAFilterBoxSelectsItsTextAndNoRow) {
  const std::string picked = "HNI\tmcx_fo";
  Pick(picked);
  const HWND header = reinterpret_cast<HWND>(::SendMessage(List(), LVM_GETHEADER, 0, 0));
  ::SendMessage(header, HDM_EDITFILTER, static_cast<WPARAM>(terminal::HeaderItemByCaption(header, "Category")), FALSE);
  platform::PumpMessages();
  const HWND box = ::GetFocus();
  ASSERT_EQ(::GetParent(box), header);
  ASSERT_TRUE(platform::input::TypeText("HNI") && platform::input::PressKey(VK_HOME));
  ASSERT_TRUE(platform::input::PressKey('A', platform::input::kControl));
  DWORD from = 1, to = 0;
  ::SendMessage(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(to - from, 3u);
  EXPECT_EQ(SelectedCount(), 1u);
  ASSERT_TRUE(platform::input::PressKey(VK_RETURN));
  ASSERT_EQ(Shown().size(), 2u);
  ResetFilters();
  Do("click \"View Allowed Group\" \"Delete Group\"");
  EXPECT_EQ(Held(), HeldWithout(picked));
}

TEST_F(ListSelection, CapitalsTypedInAFilterBoxFilterAndWriteNoSpreadsheet) {
  namespace fs = std::filesystem;
  const fs::path exports = fs::path(PluginHarness::BinaryFolder()) / "Export";
  const auto files = [&] {
    std::error_code ec;
    size_t n = 0;
    for (fs::directory_iterator at(exports, ec), end; !ec && at != end; at.increment(ec)) ++n;
    return n;
  };
  const size_t before = files();
  Do(std::string("filter ") + kList + "\"Category\" \"RETAIL\"");
  Strings shown = Shown();
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (Strings{"RETAIL\tbse_cm", "RETAIL\tnse_fo"}));
  EXPECT_EQ(terminal.Boxes(), Strings{}) << "no export, no message";
  EXPECT_EQ(files(), before);
}

}  // namespace
}  // namespace e2e
