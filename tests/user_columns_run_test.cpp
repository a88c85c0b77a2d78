// Computed columns and the filter pop-up of the View Allowed Group list,
// across runs of the terminal that share one terminal folder (--home) and
// one server store: the columns come back from UserSetting.ini.
#include <gtest/gtest.h>

#include <string>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

constexpr const char* kAdd = "rmsallowedgroups: Add Custom Columns";
constexpr const char* kDelete = "rmsallowedgroups: Delete Custom Columns";

// Three NIFTY options for HNI, strikes 25800, 26000 (calls) and 26100 (put).
constexpr const char* kGroups =
    "hotkey Alt+A\n"
    "select \"Allowed Groups\" Category HNI\n"
    "select \"Allowed Groups\" Exhg-Seg NFO\n"
    "select \"Allowed Groups\" \"Instr Name\" OPTIDX\n"
    "select \"Allowed Groups\" Symbol NIFTY\n"
    "select \"Allowed Groups\" Type CE\n"
    "select \"Allowed Groups\" IDC_STRIKE 25800\n"
    "click \"Allowed Groups\" \"Add Group\"\n"
    "select \"Allowed Groups\" IDC_STRIKE 26000\n"
    "click \"Allowed Groups\" \"Add Group\"\n"
    "select \"Allowed Groups\" Type PE\n"
    "select \"Allowed Groups\" IDC_STRIKE 26100\n"
    "click \"Allowed Groups\" \"Add Group\"\n";

constexpr const char* kView =
    "hotkey Alt+A\n"
    "click \"Allowed Groups\" \"View Group\"\n";

class UserColumnsRun : public SharedFolderRun {
 protected:
  // Adds a computed column through the dialog: its name, a column chosen and
  // an operator button, the rest of the formula typed at the end.
  static std::string AddColumn(const std::string& name, const std::string& column, const std::string& button,
                               const std::string& rest) {
    const std::string window = std::string("\"") + kAdd + "\"";
    return "command \"View Allowed Group\" 20016 33079\n"
           "type " +
           window + " IDC_UC_NAME \"" + name +
           "\"\n"
           "select " +
           window + " IDC_UC_COLUMNS \"" + column +
           "\"\n"
           "click " +
           window + " \"" + button +
           "\"\n"
           "key " +
           window +
           " IDC_UC_FORMULA End\n"
           "type " +
           window + " IDC_UC_FORMULA \"" + rest +
           "\"\n"
           "click " +
           window + " Add\n";
  }
};

constexpr const char* kColumns =
    "COLS: Category\tExhg-Seg\tInstr Name\tSymbol\tOption Type\tStrike Price\tExpiry Date\tProduct Type\t"
    "Transaction Type";

TEST_F(UserColumnsRun, ComputedColumnsAndTheFilterPopUpSurviveARestart) {
  const RunResult first = Run("first", std::string(kGroups) + "click \"Allowed Groups\" \"View Group\"\n" +
                                           AddColumn("Double Strike", "Strike Price", "*", "2") +
                                           AddColumn("Triple Strike", "Strike Price", "*", "3") +
                                           AddColumn("Triple Plus One", "Triple Strike", "+", "1") +
                                           // Two of the three values the pop-up offers for the new column.
                                           "filter-button \"View Allowed Group\" 20016 \"Double Strike\"\n"
                                           "rows \"\" 1032\n"
                                           "select \"\" 1032 51600.00\n"
                                           "select \"\" 1032 52200.00\n"
                                           "key \"\" 1032 Enter\n"
                                           "rows \"View Allowed Group\" 20016\n");
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_NE(first.output.find("ROW: 51600.00\nROW: 52000.00\nROW: 52200.00\n"), std::string::npos) << first.output;
  EXPECT_NE(
      first.output.find(std::string(kColumns) +
                        "\tDouble Strike\tTriple Strike\tTriple Plus One\n"
                        "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tPE\t26100.00\tALL\tALL\tALL\t52200.00\t78300.00\t78301.00\n"
                        "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tCE\t25800.00\tALL\tALL\tALL\t51600.00\t77400.00\t77401.00\n"),
      std::string::npos)
      << "two rows through the filter 51600.00~52200.00\n"
      << first.output;
  EXPECT_EQ(first.output.find("BOX:"), std::string::npos) << first.output;
  EXPECT_NE(Settings().find("[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,80,1,1,80,2,2,80,3,3,80,4,4,80,5,5,80,6,6,80,"
                            "7,7,80,8,8,80,9,9,100,Double Strike# \"5\" * 2#\"Strike Price\" * 2,"
                            "10,10,100,Triple Strike# \"5\" * 3#\"Strike Price\" * 3,"
                            "11,11,100,Triple Plus One# \"10\" + 1#\"Triple Strike\" + 1\r\n"),
            std::string::npos)
      << Settings();

  // The next start builds the same columns from the file, and the delete
  // mode removes the first: the other two stay on the columns they use.
  const std::string window = std::string("\"") + kDelete + "\"";
  const RunResult second = Run("second", std::string(kView) + "rows \"View Allowed Group\" 20016\n" +
                                             "command \"View Allowed Group\" 20016 33080\n"
                                             "select " +
                                             window +
                                             " IDC_UC_COMPUTED \"Double Strike\"\n"
                                             "click " +
                                             window + " Delete\n");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_NE(second.output.find(
                std::string(kColumns) +
                "\tDouble Strike\tTriple Strike\tTriple Plus One\n"
                "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tPE\t26100.00\tALL\tALL\tALL\t52200.00\t78300.00\t78301.00\n"
                "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tCE\t26000.00\tALL\tALL\tALL\t52000.00\t78000.00\t78001.00\n"
                "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tCE\t25800.00\tALL\tALL\tALL\t51600.00\t77400.00\t77401.00\n"),
            std::string::npos)
      << second.output;
  EXPECT_NE(Settings().find("8,8,80,9,9,100,Triple Strike# \"5\" * 3#\"Strike Price\" * 3,"
                            "10,10,100,Triple Plus One# \"9\" + 1#\"Triple Strike\" + 1\r\n"),
            std::string::npos)
      << Settings();

  const RunResult third = Run("third", std::string(kView) + "rows \"View Allowed Group\" 20016\n");
  ASSERT_EQ(third.status, 0) << third.output;
  EXPECT_NE(third.output.find(std::string(kColumns) +
                              "\tTriple Strike\tTriple Plus One\n"
                              "ROW: HNI\tnse_fo\tOPTIDX\tNIFTY\tPE\t26100.00\tALL\tALL\tALL\t78300.00\t78301.00\n"),
            std::string::npos)
      << third.output;
}

}  // namespace
}  // namespace e2e
