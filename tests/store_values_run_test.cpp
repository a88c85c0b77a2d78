// Groups the store holds with values no form would send (a hand edit,
// another program): every stored group is one row of the list, its odd
// field shown as the server sent it.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

using StoreValuesRun = SharedFolderRun;

TEST_F(StoreValuesRun, GroupsThatDifferOnlyInOddValuesAreOneRowEach) {
  ASSERT_EQ(Run("create", "hotkey Alt+A\n").status, 0);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((folder / "server.db").c_str(), &db), SQLITE_OK);
  const char* insert =
      "INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry) VALUES"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1750000','-999999999'),"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1750000','100000000000000000000'),"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1750000','abc'),"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1234567890123456789012345678901234567890','1482796799'),"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1234567890123456789012345678901234567891','1482796799'),"
      " ('HNI','nse_fo','OPTIDX','NIFTY','CE','1750000','1482796799')";
  ASSERT_EQ(sqlite3_exec(db, insert, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);

  const RunResult run = Run("list",
                            "hotkey Alt+A\n"
                            "click \"Allowed Groups\" \"View Group\"\n"
                            "rows \"View Allowed Group\" 20016\n");
  ASSERT_EQ(run.status, 0) << run.output;
  std::vector<std::string> rows;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("ROW: ", 0) == 0) rows.push_back(line);
  }
  EXPECT_EQ(rows.size(), 6u) << run.output;
  for (const char* shown :
       {"\t-999999999\t", "\t100000000000000000000\t", "\tabc\t", "\t1234567890123456789012345678901234567890\t",
        "\t1234567890123456789012345678901234567891\t", "\t17500.00\t"}) {
    EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n" << run.output;
  }
}

}  // namespace
}  // namespace e2e
