// A person shapes the View Allowed Group list in one run of the terminal: a
// computed column over "Strike Price", a column moved and one hidden in the
// column profile dialog, colours and a keyword for "Transaction Type", two
// values chosen in a filter pop-up. A second run in the same terminal folder
// must show that list again, read back from UserSetting.ini alone.
#include <gtest/gtest.h>

#include <string>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

// Three NIFTY options for HNI: 25800 and 26000 calls, a 26100 put.
constexpr const char* kGroups = R"(hotkey Alt+A
select "Allowed Groups" Category HNI
select "Allowed Groups" Exhg-Seg NFO
select "Allowed Groups" "Instr Name" OPTIDX
select "Allowed Groups" Symbol NIFTY
select "Allowed Groups" Type CE
select "Allowed Groups" IDC_STRIKE 25800
click "Allowed Groups" "Add Group"
select "Allowed Groups" IDC_STRIKE 26000
click "Allowed Groups" "Add Group"
select "Allowed Groups" Type PE
select "Allowed Groups" IDC_STRIKE 26100
click "Allowed Groups" "Add Group"
click "Allowed Groups" "View Group"
)";

constexpr const char* kShape = R"(command "View Allowed Group" IDC_GROUP_LIST 33079
type "rmsallowedgroups: Add Custom Columns" IDC_UC_NAME "Double Strike"
select "rmsallowedgroups: Add Custom Columns" IDC_UC_COLUMNS "Strike Price"
click "rmsallowedgroups: Add Custom Columns" "*"
key "rmsallowedgroups: Add Custom Columns" IDC_UC_FORMULA End
type "rmsallowedgroups: Add Custom Columns" IDC_UC_FORMULA "2"
click "rmsallowedgroups: Add Custom Columns" Add
command "View Allowed Group" IDC_GROUP_LIST 4004
drag " Column Profile" 10008 Symbol Category
drag " Column Profile" 10008 "Product Type" " Column Profile" 10007 "#0"
click " Column Profile" 10005
command "View Allowed Group" IDC_GROUP_LIST 4009
answer-color 000080
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
select "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_PROPERTY "Text"
click "Customize Appearance :rmsallowedgroups" "..."
select "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_COLUMN "Transaction Type"
answer-color 00FF00
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
type "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_EDIT "ALL"
click "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_ADD
answer-color FFFF00
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_APPLY
filter-button "View Allowed Group" IDC_GROUP_LIST "Strike Price"
select "" 1032 25800.00
select "" 1032 26100.00
key "" 1032 Enter
rows "View Allowed Group" IDC_GROUP_LIST
)";

// Symbol moved after Category, "Product Type" hidden, the computed column last.
constexpr const char* kLayout =
    "COLS: Category\tSymbol\tExhg-Seg\tInstr Name\tOption Type\tStrike Price\tExpiry Date\tTransaction Type\t"
    "Double Strike\n";

class ListLayoutRun : public SharedFolderRun {};

TEST_F(ListLayoutRun, TheShapedListComesBackFromTheSettingsFile) {
  const RunResult first = Run("shape", std::string(kGroups) + kShape);
  ASSERT_EQ(first.status, 0) << first.output;
  // The two strikes chosen in the pop-up leave two rows.
  const size_t shown = first.output.rfind("COLS: ");
  ASSERT_NE(shown, std::string::npos) << first.output;
  const std::string filtered = std::string(kLayout) +
                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tPE\t26100.00\tALL\tALL\t52200.00\n"
                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t25800.00\tALL\tALL\t51600.00\n";
  EXPECT_EQ(first.output.substr(shown, filtered.size()), filtered);
  EXPECT_EQ(first.output.find("ROW:", shown + filtered.size()), std::string::npos) << "two rows only\n" << first.output;

  // Each column as index, position (-1: hidden) and width; the computed
  // column with its name, its stored formula (columns by index) and the
  // formula as typed. Then the look: navy background, yellow text, the
  // font, keyword column 8 ("Transaction Type") with "all" in green.
  const std::string settings = Settings();
  EXPECT_EQ(settings,
            "[rmsallowedgroups]\r\n"
            "COLUMNPROFILE=0,0,80,1,2,80,2,3,80,3,1,80,4,4,80,5,5,80,6,6,80,7,-1,0,8,7,80,"
            "9,8,100,Double Strike# \"5\" * 2#\"Strike Price\" * 2\r\n"
            "[CUSTOMIZE_LISTS]\r\n"
            "rmsallowedgroups-20016=800000,FFFF,MS Shell Dlg 2,8,8,all,FF00,\r\n");

  const RunResult again = Run("again",
                              "hotkey Alt+A\n"
                              "click \"Allowed Groups\" \"View Group\"\n"
                              "rows \"View Allowed Group\" IDC_GROUP_LIST\n"
                              "command \"View Allowed Group\" IDC_GROUP_LIST 4009\n"
                              "select \"Customize Appearance :rmsallowedgroups\" IDC_APPEARANCE_PROPERTY Text\n"
                              "rows \"Customize Appearance :rmsallowedgroups\" IDC_KEYWORD_LIST\n");
  ASSERT_EQ(again.status, 0) << again.output;
  // Filters are not kept: all three rows, in the saved layout.
  EXPECT_NE(
      again.output.find(std::string(kLayout) + "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tPE\t26100.00\tALL\tALL\t52200.00\n"
                                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t26000.00\tALL\tALL\t52000.00\n"
                                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t25800.00\tALL\tALL\t51600.00\n"),
      std::string::npos)
      << again.output;
  EXPECT_NE(again.output.find("ROW: all\t"), std::string::npos) << "the keyword read back\n" << again.output;
  EXPECT_EQ(Settings(), settings) << "reading the layout back writes nothing new";
}

}  // namespace
}  // namespace e2e
