// Formulas of computed columns: the check refuses what the engine cannot
// evaluate before a column is added.
#include "listview/user_columns/user_formula.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<listview::NamedColumn> kColumns{{"Qty", 1}, {"Rate", 2}, {"Net 2", 7}};

TEST(UserFormula, TheCheckRefusesWhatTheEngineCannotEvaluate) {
  CString stored;
  EXPECT_TRUE(listview::CheckFormula("\"Qty\" * \"Rate\" / \"Qty\"", kColumns, stored));
  EXPECT_EQ(stored, " \"1\" * \"2\" / \"1\"");
  EXPECT_TRUE(listview::CheckFormula("\"Qty\" ^ 2", kColumns, stored));
  EXPECT_FALSE(listview::CheckFormula("\"Qty\" +", kColumns, stored)) << "an operand missing";
  EXPECT_FALSE(listview::CheckFormula("(\"Qty\" + 1", kColumns, stored)) << "unbalanced";
  EXPECT_FALSE(listview::CheckFormula("\"Qty\" \"Rate\"", kColumns, stored)) << "two values";
  EXPECT_FALSE(listview::CheckFormula("\"Qty\" * x", kColumns, stored)) << "not a number";
  EXPECT_FALSE(listview::CheckFormula("\"Qty\"\"Rate\"", kColumns, stored)) << "a reference read as literal text";
}

}  // namespace
