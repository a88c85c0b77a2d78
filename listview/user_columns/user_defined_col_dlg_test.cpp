// The custom column dialog on a filter list: building a formula with the
// buttons, every refusal, adding a column, deleting one with the columns
// that use it, and the saved profile read back by a new list.
#include "listview/user_columns/user_defined_col_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/profile/settings_report.h"
#include "listview/testing/dialog_templates.h"
#include "listview/testing/list_test.h"
#include "platform/input/input_driver.h"
#include "platform/user/clipboard.h"
#include "platform/user/message_box.h"

namespace {

namespace ids = user_column_ids;
namespace input = platform::input;

class UserColumns : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  UserColumns() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}
  void SetUp() override {
    ListTest::SetUp();
    listview::testing::RegisterUserColumnTemplate();
  }

  // A list dialog as a fresh start of the program makes it: columns from
  // the records and the stored profile, then the rows (Side, Qty, Price, Kind).
  CFilterListCtrl& OpenList() {
    OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "usercols", {sTarnColInfo("Side", 60, 0, sort_kind::kText), sTarnColInfo("Qty", 60, 1, sort_kind::kInteger),
                     sTarnColInfo("Price", 60, 1, sort_kind::kFloat), sTarnColInfo("Kind", 60, 0, sort_kind::kText8)}));
    m_rows.clear();
    AddRow({"buy", "4", "2.5", "x"});
    AddRow({"sell", "10", "0.5", "y"});
    return TheList();
  }

  // The list's command, as its menu sends it.
  CUserDefinedColDlg& Command(UINT command) {
    TheList().SendMessage(WM_COMMAND, command, 0);
    return TheUserDefinedColDlg();
  }
  HWND Item(int id) const { return ::GetDlgItem(TheUserDefinedColDlg().GetSafeHwnd(), id); }
  void ChooseColumn(const char* caption) {
    const HWND box = Item(ids::kColumns);
    const auto index =
        ::SendMessage(box, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(caption));
    ASSERT_GE(index, 0) << caption;
    RECT rect{};
    ::SendMessage(box, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    ASSERT_TRUE(input::ClickAt(box, POINT{rect.left + 2, (rect.top + rect.bottom) / 2}));
  }
  void Press(int id, unsigned modifiers = input::kNone) { ASSERT_TRUE(input::Click(Item(id), modifiers)); }
  void Type(int id, const char* text) {
    ASSERT_TRUE(input::Focus(Item(id)));
    ASSERT_TRUE(input::PressKey('A', input::kControl));
    ASSERT_TRUE(input::PressKey(VK_DELETE));
    ASSERT_TRUE(input::TypeText(text));
  }
  std::string Text(int id) const { return TextOf(Item(id)); }
  static std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowText(window, text, sizeof(text));
    return text;
  }
  // Adds a column through the dialog as a person does: name, formula, Add.
  void AddColumn(const char* name, const char* formula) {
    Command(list_command::kAddCustomColumn);
    Type(ids::kName, name);
    Type(ids::kFormula, formula);
    Press(IDOK);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : platform::MessageBoxLog()) texts.push_back(box.text);
    return texts;
  }
  std::string Cell(int row, const char* caption) {
    CFilterListCtrl& list = TheList();
    for (int c = 0; c < list.m_arrColumns.GetSize(); ++c) {
      if (CString(list.m_arrColumns[c].szName) == caption) {
        return list.CellText(RowData(static_cast<size_t>(row)), c).GetString();
      }
    }
    return "(no column)";
  }
};

TEST_F(UserColumns, AddModeOffersTheNumericColumnsAndTheButtonsBuildBothFormulas) {
  OpenList();
  CUserDefinedColDlg& dialog = Command(list_command::kAddCustomColumn);
  ASSERT_TRUE(dialog.IsWindowVisible());
  EXPECT_EQ(TextOf(dialog.GetSafeHwnd()), "usercols: Add Custom Columns");
  EXPECT_EQ(Text(IDOK), "Add");
  EXPECT_FALSE(::IsWindowVisible(Item(ids::kComputed)));
  EXPECT_TRUE(::IsWindowVisible(Item(ids::kName)));
  // Only the numeric kinds, each with its column index.
  ASSERT_EQ(::SendMessage(Item(ids::kColumns), LB_GETCOUNT, 0, 0), 2);

  ChooseColumn("Qty");
  ASSERT_TRUE(input::PressKey('C', input::kControl));  // the column list copies its caption
  EXPECT_EQ(platform::ClipboardText(), "Qty");
  Press(ids::kPlus);
  ChooseColumn("Price");
  Press(ids::kColumn);
  EXPECT_EQ(Text(ids::kFormula), "\"Qty\" + \"Price\"");
  EXPECT_EQ(dialog.StoredFormula(), " \"1\"+\"2\"");
  Press(ids::kClear);
  EXPECT_EQ(Text(ids::kFormula), "");
  EXPECT_EQ(dialog.StoredFormula(), "");
  EXPECT_TRUE(Boxes().empty());

  // Chosen again from the list's menu while it shows, it starts afresh
  // with the name to type; with no column chosen, the buttons that need one
  // say so.
  ASSERT_TRUE(input::Focus(Item(ids::kFormula)));
  Command(list_command::kAddCustomColumn);
  EXPECT_EQ(::GetFocus(), Item(ids::kName));
  Type(ids::kFormula, "1");
  Press(ids::kMinus);
  Press(ids::kColumn);
  ASSERT_EQ(Boxes(), (Strings{"Please select a Column Name", "No column is selected"}));
  EXPECT_EQ(platform::MessageBoxLog()[0].owner, dialog.GetSafeHwnd()) << "the dialog's own box";
}

TEST_F(UserColumns, EveryRefusalLeavesTheDialogOpenAndTheListAsItWas) {
  // Kind is hidden by the stored layout: its name is taken all the same.
  m_settings.Write("[usercols]\r\nCOLUMNPROFILE=0,0,60,1,1,60,2,2,60,3,-1,0\r\n");
  CFilterListCtrl& list = OpenList();
  const struct {
    const char* name;
    const char* formula;
    const char* box;
  } cases[] = {
      {"  ", "\"Qty\"", "Please Enter the column Name"},
      {"Net,1", "\"Qty\"", "\"#,\" are not allowed as a custom column name , please choose a different name"},
      {"Net", "", "Column Expression is empty, please enter an expression to add a column"},
      {"Net", "2 \"Side\"", "Invalid Expression, Please check the expression again"},  // not numeric
      // What the engine could not evaluate: an operand missing, two values, a
      // word, and a reference run into the next one, read as literal text.
      {"Net", "\"Qty\" +", "Invalid Expression, Please check the expression again"},
      {"Net", "\"Qty\" \"Price\"", "Invalid Expression, Please check the expression again"},
      {"Net", "\"Qty\" * x", "Invalid Expression, Please check the expression again"},
      {"Net", "\"Qty\"\"Price\"", "Invalid Expression, Please check the expression again"},
      {"Kind", "\"Qty\" * 2", "This column name already present,Please choose different column Name"},
  };
  for (const auto& c : cases) {
    platform::ClearMessageBoxLog();
    AddColumn(c.name, c.formula);
    EXPECT_EQ(Boxes(), Strings{c.box}) << c.name << " / " << c.formula;
    EXPECT_TRUE(TheUserDefinedColDlg().IsWindowVisible()) << c.box;
    EXPECT_EQ(Text(ids::kFormula), c.formula);
  }
  EXPECT_EQ(list.m_arrColumns.GetSize(), 4);
  EXPECT_EQ(Captions(), (Strings{"Side", "Qty", "Price"}));
  EXPECT_FALSE(m_settings.Read().find("Net") != std::string::npos);
}

TEST_F(UserColumns, DeletingAColumnTakesTheColumnsThatQuoteItAndKeepsTheOthersAndTheirFiltersOnTheirColumns) {
  CFilterListCtrl& list = OpenList();
  const std::string a(63, 'A');                         // as long as a name is kept
  AddColumn(("  " + a + "  ").c_str(), "\"Qty\" * 2");  // 4, its name trimmed
  AddColumn("B", "\"Price\" + 1");                      // 5
  AddColumn("C", ("\"" + a + "\" + 1").c_str());        // 6, uses A
  AddColumn("D", "\"B\" * 10");                         // 7, uses B
  AddColumn("E", "\"C\" - \"Price\"");                  // 8, uses A only through C
  ASSERT_TRUE(Boxes().empty());
  EXPECT_EQ(list.HeaderItemOfColumn(9), -1) << "no column past the last has a header item";
  EXPECT_EQ(Cell(0, "E"), "6.50") << "4 x 2 + 1 - 2.5";
  EXPECT_EQ(Cell(0, "D"), "35.00");
  list.SetColumnFilter(7, ">30");  // D: the first row only
  list.Refilter();

  CUserDefinedColDlg& dialog = Command(list_command::kDeleteCustomColumn);
  EXPECT_EQ(Text(IDOK), "Delete");
  EXPECT_TRUE(::IsWindowVisible(Item(ids::kComputed)));
  EXPECT_EQ(::GetFocus(), Item(ids::kComputed));
  EXPECT_FALSE(::IsWindowEnabled(Item(ids::kPlus)) || ::IsWindowEnabled(Item(ids::kColumns)) ||
               ::IsWindowEnabled(Item(ids::kFormula)))
      << "nothing that builds a formula is live while deleting";
  const HWND combo = Item(ids::kComputed);
  ASSERT_EQ(::SendMessage(combo, CB_GETCOUNT, 0, 0), 5);
  Press(IDOK);
  EXPECT_EQ(Boxes(), Strings{"No user defined column selected to delete"});
  EXPECT_TRUE(dialog.IsWindowVisible());

  // Choosing one shows its formula as typed.
  ASSERT_TRUE(input::Focus(combo) && input::PressKey(VK_DOWN));
  EXPECT_EQ(Text(ids::kFormula), "\"Qty\" * 2");
  Press(IDOK);
  EXPECT_FALSE(dialog.IsWindowVisible());
  for (const int notComputed : {3, 7}) list.RemoveComputedColumn(notComputed);  // a built-in one, one past the last

  EXPECT_EQ(Captions(), (Strings{"Side", "Qty", "Price", "Kind", "B", "D", "E"}));
  EXPECT_EQ(list.FilteredColumns(), std::vector<int>{5}) << "D's filter moved with it";
  EXPECT_EQ(list.GetItemCount(), 1);
  ASSERT_EQ(list.m_arrColumns.GetSize(), 7);
  EXPECT_EQ(list.m_arrColumns[5].strExpression, " \"4\" * 10") << "B moved from 5 to 4";
  EXPECT_EQ(list.m_arrColumns[6].strExpression, " \"-1\" - \"2\"") << "C is gone, Price stays";
  EXPECT_EQ(list.GetItemText(0, 5), "35.00") << "the header's sixth column shows D";
  EXPECT_EQ(list.GetItemText(0, 6), "") << "E lost the column it used";

  // A new start of the program reads the same columns back.
  const std::string saved = m_settings.Read();
  EXPECT_NE(saved.find("4,4,100,B# \"2\" + 1#\"Price\" + 1,5,5,100,D# \"4\" * 10#\"B\" * 10,"
                       "6,6,100,E# \"-1\" - \"2\"#\"C\" - \"Price\"\r\n"),
            std::string::npos)
      << saved;
  Close();
  CFilterListCtrl& again = OpenList();
  EXPECT_EQ(Captions(), (Strings{"Side", "Qty", "Price", "Kind", "B", "D", "E"}));
  EXPECT_EQ(again.GetItemText(0, 5), "35.00");
  EXPECT_EQ(again.GetItemText(1, 5), "15.00") << "(0.5 + 1) x 10";
  Command(list_command::kAddCustomColumn);
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kPlus)) && ::IsWindowEnabled(Item(ids::kFormula))) << "live again to add";

  // Deleting a column no filter uses keeps the sort; deleting the filtered one drops its filter: every row shows again.
  ClickHeader(2);  // Price
  const Strings sorted = Shown(0);
  Command(list_command::kDeleteCustomColumn);
  ::SendMessage(Item(ids::kComputed), CB_SETCURSEL, 2, 0);  // E
  Press(IDOK);
  EXPECT_EQ(Shown(0), sorted);
  ClickHeader(2);
  EXPECT_EQ(HeaderImage(2), 1) << "still Price's sort: a second click turns it";
  again.SetColumnFilter(5, ">30");
  again.Refilter();
  Command(list_command::kDeleteCustomColumn);
  ::SendMessage(Item(ids::kComputed), CB_SETCURSEL, 1, 0);  // D
  Press(IDOK);
  EXPECT_TRUE(again.FilteredColumns().empty());
  EXPECT_EQ(again.GetItemCount(), 2);
}

// A file may hold anything: a formula on itself, on a later column, on a
// column that does not exist, or no formula at all, yields no cell; such a
// column is kept as stored, for the person to mend or delete, and told once
// per run. A formula on an earlier computed column takes its value.
TEST_F(UserColumns, FormulasUseOnlyTheColumnsBeforeThemAndTheOthersAreKeptAndToldOnce) {
  listview::ResetSettingsReports();
  m_settings.Write(
      "[usercols]\r\nCOLUMNPROFILE=0,0,60,1,1,60,2,2,60,3,3,60,"
      "4,4,80,Later# \"5\"+1#x,5,5,80,Earlier# \"4\"*2#x,6,6,80,Self# \"6\"+1#x,7,7,80,Fine# \"1\"*2#x,"
      "8,8,80,Chained# \"7\"+\"1\"#x,9,9,80,Gone# \"12\"+1#gone,10,10,80,Words# abc#abc,11,11,80,Junk# \"1x\"+1#x\r\n");
  for (int run = 0; run < 2; ++run) {
    ::testing::internal::CaptureStderr();
    OpenList();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Captions().size(), 12u) << "every column kept";
    // Earlier: its earlier column's cell is empty; Chained: 8 + 4; Junk: a reference is read by its leading
    // digits, 4 + 1.
    for (const auto& [caption, cell] : {std::pair{"Later", ""}, {"Earlier", "0.00"}, {"Self", ""}, {"Fine", "8.00"},
                                        {"Chained", "12.00"}, {"Gone", ""}, {"Junk", "5.00"}}) {
      EXPECT_EQ(Cell(0, caption), cell) << caption;
    }
    EXPECT_EQ(
        said,
        run == 1
            ? ""
            : "tarn settings: " + m_settings.File().string() +
                  ": [usercols] COLUMNPROFILE: damaged (the formula of "
                  "computed column \"Later\" refers to a later column; the formula of computed column \"Self\" refers "
                  "to itself; the formula of computed column \"Gone\" refers to column 12, which does not exist; the "
                  "formula of computed column \"Words\" is no formula); those columns are kept as stored, and their "
                  "cells cannot be computed until the column is deleted and added again\n");
    Close();
    EXPECT_NE(m_settings.Read().find("Words# abc#abc"), std::string::npos) << "saved as it was";
  }
}

// The layout is read back into 4,096 characters: a column that would make
// it longer is refused before anything changes, and every column before it
// stays saved.
TEST_F(UserColumns, AColumnWhoseLayoutWouldNotFitIsRefusedAndTheOthersKept) {
  std::string formula = "\"Qty\"";
  // 15 terms and the first name 3 characters longer: 18 such columns make
  // a layout of exactly 4,095 characters, which fits, 19 of 4,322.
  for (int i = 0; i < 14; ++i) formula += " + \"Qty\"";
  CFilterListCtrl& list = OpenList();
  int added = 0;
  for (int i = 1; i <= 25 && platform::MessageBoxLog().empty(); ++i) {
    const std::string name = "Column " + std::to_string(i) + (i == 1 ? "abc" : "");
    AddColumn(name.c_str(), formula.c_str());
    if (platform::MessageBoxLog().empty()) added = i;
  }
  EXPECT_EQ(added, 18);
  EXPECT_EQ(Boxes(), Strings{kProfileTooLongMessage});
  EXPECT_TRUE(TheUserDefinedColDlg().IsWindowVisible()) << "the dialog stays open with what was typed";
  EXPECT_EQ(Text(ids::kName), "Column 19");
  EXPECT_EQ(list.m_arrColumns.GetSize(), 4 + 18);
  const std::string saved = m_settings.Read();
  const auto value = saved.find("COLUMNPROFILE=") + 14;
  EXPECT_EQ(saved.find_first_of("\r\n", value) - value, 4095u) << "the longest layout that reads back is saved";
  EXPECT_EQ(saved.find("Column 19#"), std::string::npos) << "nothing of the refused column is saved";
}

}  // namespace
