// Stores made for a test, past the terminal: the terminal makes the tables
// (a run with an empty script), then SQL fills them. "View Group" over such
// a store, "Write to Excel" (Shift+E) of what it lists, and the server's
// answers to the form's adds and deletes as the terminal shows them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "terminal/readout/sheet_reader.h"
#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Kind = terminal::SheetCell::Kind;
using namespace std::chrono_literals;

// SQL that adds `count` groups, each different from every other (category,
// option type, expiry, symbol and strike vary as the digits of a mixed radix
// number), as bench/view_group.sh makes them.
std::string DistinctGroupsSql(int count) {
  return "WITH RECURSIVE i(v) AS (SELECT 0 UNION ALL SELECT v + 1 FROM i WHERE v + 1 < " + std::to_string(count) +
         ")"
         " INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product,"
         " side, added_by)"
         " SELECT CASE v % 4 WHEN 0 THEN 'HNI' WHEN 1 THEN 'RETAIL' WHEN 2 THEN 'PROPRIETARY' ELSE 'INSTITUTION' END,"
         " 'nse_fo', CASE WHEN (v / 96) % 100 < 3 THEN 'OPTIDX' ELSE 'OPTSTK' END, 'SYM' || ((v / 96) % 100),"
         " CASE (v / 4) % 2 WHEN 0 THEN 'CE' ELSE 'PE' END, CAST((v / 9600 + 1) * 5000 AS TEXT),"
         " CAST(1400000000 + ((v / 8) % 12) * 2419200 AS TEXT), CASE v % 3 WHEN 0 THEN 'NRML' ELSE NULL END,"
         " CASE v % 5 WHEN 0 THEN 'B' WHEN 1 THEN 'S' ELSE NULL END, 'admin' FROM i;";
}

constexpr const char* kView = R"(hotkey Alt+A
click "Allowed Groups" "View Group"
)";
constexpr const char* kExport = R"(hotkey Alt+A
click "Allowed Groups" "View Group"
key "View Allowed Group" 20016 Shift+E
)";

class StoredGroupsRun : public SharedFolderRun {
 protected:
  void SetUp() override {
    SharedFolderRun::SetUp();
    ASSERT_EQ(Run("tables", "").status, 0) << "the terminal makes the store's tables";
  }
  std::vector<fs::path> Exports() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder / "Export", ec)) files.push_back(entry.path());
    return files;
  }
  // The list must hold every stored group once, each shown as the store
  // holds it (expect-server-rows compares the whole list with the store).
  void ViewEveryGroup(int count) {
    Sql(DistinctGroupsSql(count));
    const RunResult run = Run("view", std::string(kView) + "expect-server-rows \"View Allowed Group\" 20016\n");
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    EXPECT_EQ(run.output.find("Reindexing"), std::string::npos);
  }
};

TEST_F(StoredGroupsRun, TwentyThousandGroupsShowEachStoredGroupOnce) { ViewEveryGroup(20'000); }

TEST_F(StoredGroupsRun, AMillionGroupsShowEachStoredGroupOnce) {
  const char* big = std::getenv("AG_BIG_TESTS");
  if (big == nullptr || std::string(big) != "1") GTEST_SKIP() << "set AG_BIG_TESTS=1 to run";
  ViewEveryGroup(1'000'000);
}

// The sheet's name, bold captions, numbers in the columns that sort as
// numbers (when a cell reads as one), text elsewhere.
TEST_F(StoredGroupsRun, TheSheetHoldsNumbersWhereTheColumnSortsAsNumbersAndTextElsewhere) {
  // Oldest first: the list shows the newest on top.
  Sql("INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product, side)"
      " VALUES ('HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'CE', '2600050', NULL, 'NRML', 'B'),"
      "        ('2024', 'bse_cm', NULL, '500325', 'A', NULL, NULL, NULL, 'S');");
  const RunResult run = Run("export", std::string(kExport) + "expect-box \"File is generated\"\n" +
                                          "expect-sheet \"View Allowed Group\" 20016\n");
  ASSERT_EQ(run.status, 0) << run.output;
  const auto files = Exports();
  ASSERT_EQ(files.size(), 1u);

  std::string error;
  const auto sheet = terminal::ReadSheet(files[0].string(), error);
  ASSERT_TRUE(sheet) << error;
  EXPECT_EQ(sheet->name, "rmsallowedgroups");
  ASSERT_EQ(sheet->rows.size(), 3u);
  // expect-sheet compared the texts with the list's captions and cells.
  ASSERT_EQ(sheet->rows[0].size(), 9u);
  for (const terminal::SheetCell& caption : sheet->rows[0]) {
    EXPECT_TRUE(caption.bold && caption.kind != Kind::kNumber) << caption.text;
  }
  // Text cells are shared or inline strings alike.
  auto text = [](const terminal::SheetCell& cell) {
    return cell.kind == Kind::kSharedString || cell.kind == Kind::kInlineString;
  };
  const auto& bse = sheet->rows[1];  // newest on top
  const auto& nfo = sheet->rows[2];
  EXPECT_TRUE(text(bse[0]) && bse[0].text == "2024") << "Category sorts as text: a number-like category stays text";
  EXPECT_TRUE(text(nfo[1]) && nfo[1].text == "nse_fo") << "Exhg-Seg sorts as a number, but nse_fo is none";
  // Numbers shown as the list shows them: the text's decimals, none for a whole number.
  EXPECT_EQ(bse[3], (terminal::SheetCell{Kind::kNumber, "500325", false, ""})) << "a number-like symbol";
  EXPECT_EQ(nfo[5], (terminal::SheetCell{Kind::kNumber, "26000.5", false, "0.00"}));

  // Files that expect-sheet must pass over for the export: older but named
  // later, newer but hidden, as new but named earlier. The export holds a
  // group the list no longer shows.
  const auto written = fs::last_write_time(files[0]);
  for (const auto& [name, time] :
       {std::pair{"zz.xlsx", written - 1h}, {".zz.xlsx", written + 1h}, {"0.xlsx", written}}) {
    std::ofstream(folder / "Export" / name) << "no workbook";
    fs::last_write_time(folder / "Export" / name, time);
  }
  Sql("DELETE FROM allowed_groups WHERE symbol = 'NIFTY'");
  const RunResult again = Run("again", std::string(kView) + "expect-sheet \"View Allowed Group\" 20016\n");
  EXPECT_EQ(again.status, 1) << again.output;
  EXPECT_NE(again.output.find(files[0].string() + " row 3 holds \"HNI\tnse_fo\tOPTIDX\tNIFTY\t"), std::string::npos)
      << again.output;
  EXPECT_NE(again.output.find("the list shows \"(nothing)\""), std::string::npos) << again.output;
  // And a list longer than the sheet: NIFTY back below 2024, one more group below it.
  Sql("INSERT INTO allowed_groups(id, category, segment, instrument, symbol, option_type, strike, expiry, product, "
      "side)"
      " VALUES (0, 'HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'CE', '2600050', NULL, 'NRML', 'B'),"
      "        (-1, 'HNI', 'bse_cm', NULL, '500112', 'A', NULL, NULL, NULL, 'S');");
  const RunResult longer = Run("longer", std::string(kView) + "expect-sheet \"View Allowed Group\" 20016\n");
  EXPECT_NE(longer.output.find(" row 4 holds \"(nothing)\", the list shows \"HNI\tbse_cm"), std::string::npos)
      << longer.output;
  // And a list wider than the sheet: a computed column after the nine.
  std::ofstream(folder / "UserSetting.ini") << "[rmsallowedgroups]\nCOLUMNPROFILE=0,0,80,1,1,80,2,2,80,3,3,80,4,4,80,"
                                               "5,5,80,6,6,80,7,7,80,8,8,80,9,9,100,Twice# \"5\" * 2#\"5\" * 2\n";
  const RunResult wider = Run("wider", std::string(kView) + "expect-sheet \"View Allowed Group\" 20016\n");
  EXPECT_NE(wider.output.find("Transaction Type\", the list shows \"Category\t"), std::string::npos) << wider.output;
}

// An export that cannot be written whole says so and leaves no file.
TEST_F(StoredGroupsRun, ADiskThatFillsUpGivesTheFailureAndLeavesNoPartialFile) {
  Sql(DistinctGroupsSql(3000));
  // Files of the terminal may grow to 64 KiB, which the sheet of 3000 rows
  // outgrows: each write past it fails as on a full disk.
  const RunResult run =
      Run("full", std::string(kExport) + "expect-box \"File generation Failed\"\n", {.fileSizeLimit = 64 * 1024});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::is_directory(folder / "Export"));
  EXPECT_TRUE(Exports().empty()) << Exports()[0];
}

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

// Groups as a store may hold them, stored past the terminal: a zero strike
// written several ways, a strike with leading zeros, one kept as text, an
// expiry before the list's dates begin and one that is no midnight, "ALL"
// and empty fields, a BSE group (its instrument the terminal's); and one
// group added from the form three times, held once, each answer after its
// request, and a delete of a group not held. The list shows each; selected
// all and deleted from it, each goes, and the server says so for each.
TEST_F(StoredGroupsRun, EachAnswerFollowsItsRequestAndEveryGroupTheListShowsIsDeletedFromIt) {
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
      "'HNI', 'bse_cm', NULL, 'TCS', 'A', NULL, NULL, NULL, 'S'",
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

// (Its tables made here, as an older server made them.)
using ServerAnswersRun = SharedFolderRun;

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
