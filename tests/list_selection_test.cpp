// "Delete Group" deletes the groups the administrator picked, whatever the
// list did to its rows in between (sorted, filtered, filters reset), and keys
// typed in a filter box are the box's: six stored groups, the real plug-in,
// and what the server holds afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/comctl/list_view.h"
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
    Strings all = {"HNI\tmcx_fo",         "HNI\tnse_fo",    "INSTITUTION\tnse_fo",
                   "PROPRIETARY\tnse_fo", "RETAIL\tbse_cm", "RETAIL\tnse_fo"};
    std::erase(all, group);
    return all;
  }
  // Picks the row showing `group` with the mouse (`verb` "select-more":
  // with Ctrl held, adding it to the selection); its row.
  int Pick(const std::string& group, const char* verb = "select") {
    const Strings rows = Shown();
    const auto at = std::find(rows.begin(), rows.end(), group);
    EXPECT_NE(at, rows.end()) << group;
    const int row = static_cast<int>(at - rows.begin());
    Do(std::string(verb) + " " + kList + "\"#" + std::to_string(row) + "\"");
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

// Sorting twice with a group picked and "Delete Group" is the desktop
// test's; Ctrl+A in a filter box and rows followed through every sort and
// filter, the filter list's model test.
TEST_F(ListSelection, AFilterKeepsThePickedGroupThroughResetAndAHiddenOneIsNoLongerPicked) {
  namespace fs = std::filesystem;
  const fs::path exports = fs::path(PluginHarness::BinaryFolder()) / "Export";
  const auto files = [&] {
    std::error_code ec;
    size_t n = 0;
    for (fs::directory_iterator at(exports, ec), end; !ec && at != end; at.increment(ec)) ++n;
    return n;
  };
  const size_t before = files();
  // Sorted first, so that the group's row is not the one it returns to.
  Do(std::string("sort ") + kList + "\"Category\"");
  const std::string picked = "INSTITUTION\tnse_fo";
  Pick(picked);
  // Capitals typed in the box are its text, not the list's Shift+E export.
  Do(std::string("filter ") + kList + "\"Category\" \"INST\"");
  ASSERT_EQ(Shown(), Strings{picked});
  EXPECT_EQ(SelectedCount(), 1u);
  EXPECT_EQ(terminal.Boxes(), Strings{}) << "no export, no message";
  EXPECT_EQ(files(), before);
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

  // Two groups picked, the second with Ctrl held: one deletion takes both.
  Pick("HNI\tmcx_fo");
  Pick("RETAIL\tbse_cm", "select-more");
  EXPECT_EQ(SelectedCount(), 2u);
  Do("click \"View Allowed Group\" \"Delete Group\"");
  EXPECT_EQ(Held(), (Strings{"HNI\tnse_fo", "PROPRIETARY\tnse_fo", "RETAIL\tnse_fo"}));
}

}  // namespace
}  // namespace e2e
