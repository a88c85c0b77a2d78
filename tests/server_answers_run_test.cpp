// The server's answers as the terminal shows them: each add and delete is
// answered with what the server did and the group, after the plug-in's own
// line; the store holds each group once; every group the list shows can be
// deleted from it; a store with copies of a group merges them at start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

// Where the first of `lines` starts, each whole, one after the other (others
// may come between); npos when one is missing or out of order.
size_t InOrder(const std::string& output, const std::vector<std::string>& lines) {
  size_t at = 0, first = std::string::npos;
  for (const std::string& line : lines) {
    const size_t found = output.find("\n" + line + "\n", at == 0 ? 0 : at - 1);
    if (found == std::string::npos) return std::string::npos;
    if (first == std::string::npos) first = found;
    at = found + line.size() + 2;
  }
  return first;
}

constexpr const char* kSent = "LOG: ks_add_allowed_group request sent successfully";
constexpr const char* kNifty = "HNI nse_fo OPTIDX NIFTY ALL ALL ALL ALL ALL";

using ServerAnswersRun = SharedFolderRun;

// Groups as a store may hold them, stored past the terminal: a zero strike
// written several ways, a strike with leading zeros, one kept as text, an
// expiry before the list's dates begin and one that is no midnight, "ALL"
// and empty fields; and one group added from the form three times, held
// once, each answer after its request, and a delete of a group not held.
// The list shows each; selected all and deleted from it, each goes, and
// the server says so for each.
TEST_F(ServerAnswersRun, EachAnswerFollowsItsRequestAndEveryGroupTheListShowsIsDeletedFromIt) {
  ASSERT_EQ(Run("tables", "").status, 0);
  const std::vector<std::string> rows{
      "'HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'CE', '0', NULL, NULL, NULL",
      "'HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'PE', '00', NULL, 'NRML', NULL",
      "'HNI', 'nse_fo', 'OPTIDX', 'BANKNIFTY', 'CE', '-0', NULL, NULL, 'B'",
      "'HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'CE', '0002600000', NULL, NULL, NULL",
      "'HNI', 'nse_fo', 'OPTSTK', 'INFY', 'CE', '99999999999999999999999', NULL, NULL, NULL",
      "'HNI', 'nse_fo', 'OPTSTK', 'INFY', 'PE', '150000.5', NULL, NULL, NULL",
      "'RETAIL', 'nse_fo', 'FUTIDX', 'NIFTY', NULL, NULL, '-2', NULL, NULL",
      "'RETAIL', 'nse_fo', 'FUTIDX', 'BANKNIFTY', NULL, NULL, '1400000000', NULL, NULL",
      "'RETAIL', 'mcx_fo', 'FUTCOM', 'GOLD', NULL, NULL, '1797600000', NULL, 'S'",
      "'RETAIL', 'mcx_fo', 'FUTCOM', 'SILVER', 'ALL', 'ALL', 'ALL', 'ALL', 'ALL'",
      "'HNI', 'nse_cm', 'EQ', 'TCS', '', '', '', '', ''",
  };
  for (const std::string& row : rows) {
    ASSERT_EQ(Sql("INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry,"
                  " product, side) VALUES (" +
                  row + "); SELECT 0"),
              0)
        << row;
  }
  const RunResult run = Run("delete",
                            "hotkey Alt+A\n"
                            "select \"Allowed Groups\" Category HNI\n"
                            "select \"Allowed Groups\" Exhg-Seg NFO\n"
                            "select \"Allowed Groups\" \"Instr Name\" OPTIDX\n"
                            "select \"Allowed Groups\" Symbol NIFTY\n"
                            "click \"Allowed Groups\" \"Add Group\"\n"
                            "click \"Allowed Groups\" \"Add Group\"\n"
                            "click \"Allowed Groups\" \"Add Group\"\n"
                            "select \"Allowed Groups\" Symbol BANKNIFTY\n"
                            "click \"Allowed Groups\" \"Delete Group\"\n"
                            "click \"Allowed Groups\" \"View Group\"\n"
                            "expect-server-rows \"View Allowed Group\" IDC_GROUP_LIST\n"
                            "key \"View Allowed Group\" IDC_GROUP_LIST Ctrl+A\n"
                            "click \"View Allowed Group\" \"Delete Group\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
  const std::string already = std::string("SERVER: ks_add_allowed_group already held: ") + kNifty;
  EXPECT_NE(InOrder(run.output, {kSent, std::string("SERVER: ks_add_allowed_group stored: ") + kNifty, kSent, already,
                                 kSent, already, "LOG: ks_delete_group request sent successfully",
                                 "SERVER: ks_delete_allowed_group failed (status 4): no such group: HNI nse_fo "
                                 "OPTIDX BANKNIFTY ALL ALL ALL ALL ALL",
                                 std::string("SERVER: ks_delete_allowed_group removed: ") + kNifty}),
            std::string::npos)
      << run.output;
  EXPECT_EQ(Count(run.output, "SERVER: ks_delete_allowed_group removed: "), rows.size() + 1) << run.output;
  EXPECT_EQ(Count(run.output, "SERVER: ks_"), rows.size() + 5) << run.output;
  EXPECT_NE(run.output.find("SERVER: ks_delete_allowed_group removed: HNI nse_fo OPTIDX NIFTY CE ALL ALL ALL ALL\n"),
            std::string::npos)
      << "the zero strike left out of the delete: " << run.output;
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups"), 0);
}

// A store kept from before the server held a set: the copies merge into
// the oldest at the first start, which says how many, and only then.
TEST_F(ServerAnswersRun, AStoreWithCopiesOfAGroupMergesThemAtStartAndSaysSo) {
  std::ofstream(folder / "server.db").close();  // an empty file is an empty store
  ASSERT_EQ(Sql("CREATE TABLE categories(name TEXT PRIMARY KEY);"
                "CREATE TABLE allowed_groups(id INTEGER PRIMARY KEY, category TEXT NOT NULL, segment TEXT NOT NULL,"
                " instrument TEXT, symbol TEXT, option_type TEXT, strike TEXT, expiry TEXT, product TEXT, side TEXT,"
                " added_by TEXT);"
                "INSERT INTO categories VALUES ('HNI'), ('RETAIL');"
                "INSERT INTO allowed_groups(category, segment, instrument, symbol, strike, added_by) VALUES"
                " ('HNI', 'nse_fo', 'OPTIDX', 'NIFTY', NULL, 'oldest'), ('HNI', 'nse_fo', 'OPTIDX', 'NIFTY', '0', 'b'),"
                " ('RETAIL', 'nse_fo', 'OPTIDX', 'NIFTY', NULL, 'c'), ('HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'ALL', 'd');"
                "SELECT 0"),
            0);
  const RunResult first = Run("view",
                              "hotkey Alt+A\n"
                              "click \"Allowed Groups\" \"View Group\"\n"
                              "expect-server-rows \"View Allowed Group\" IDC_GROUP_LIST\n");
  EXPECT_EQ(first.status, 0) << first.output;
  EXPECT_EQ(
      Count(first.output, "SERVER: merged 2 stored group(s) that repeated an older one; the oldest of each is kept\n"),
      1u)
      << first.output;
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups"), 2);
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups WHERE added_by IN ('oldest', 'c')"), 2);
  const RunResult second = Run("again", "");
  EXPECT_EQ(second.status, 0) << second.output;
  EXPECT_EQ(Count(second.output, "merged"), 0u) << second.output;
}

}  // namespace
}  // namespace e2e
