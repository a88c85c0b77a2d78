// "View Group" over a big store: the list must hold every stored group once,
// each shown as the store holds it (expect-server-rows compares the whole
// list with the store). 20,000 groups always; a million when AG_BIG_TESTS=1.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "tests/group_store.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

class BigView : public SharedFolderRun {
 protected:
  void ViewEveryGroup(int count) {
    ASSERT_EQ(Run("tables", "").status, 0) << "the terminal makes the store's tables";
    ASSERT_EQ(ExecuteOnStore((folder / "server.db").string(), DistinctGroupsSql(count)), "");
    const auto start = std::chrono::steady_clock::now();
    const RunResult run = Run("view", R"(hotkey Alt+A
click "Allowed Groups" "View Group"
expect-server-rows "View Allowed Group" 20016
)");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    EXPECT_EQ(run.output.find("Reindexing"), std::string::npos);
    RecordProperty("seconds", std::to_string(seconds));
  }
};

TEST_F(BigView, TwentyThousandGroupsShowEachStoredGroupOnce) { ViewEveryGroup(20'000); }

TEST_F(BigView, AMillionGroupsShowEachStoredGroupOnce) {
  const char* big = std::getenv("AG_BIG_TESTS");
  if (big == nullptr || std::string(big) != "1") GTEST_SKIP() << "set AG_BIG_TESTS=1 to run";
  ViewEveryGroup(1'000'000);
}

}  // namespace
}  // namespace e2e
