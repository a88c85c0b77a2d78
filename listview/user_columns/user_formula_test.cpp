// Formulas of computed columns: captions to indexes, and the indexes kept
// on their columns when an earlier column goes.
#include "listview/user_columns/user_formula.h"

#include <gtest/gtest.h>

#include <vector>

#include "listview/formula_pieces.h"

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

TEST(FormulaPieces, ReferencesAboveARemovedColumnMoveDownAndThoseToItNameNoColumn) {
  const CString formula = " \"3\"*10+\"5\"/\"12\"-\"4\"";
  EXPECT_EQ(listview::FormulaWithoutColumn(formula, 4), " \"3\"*10+\"4\"/\"11\"-\"-1\"")
      << "below stays, literal digits stay, the removed index names no column";
  EXPECT_EQ(listview::FormulaWithoutColumn(" \"-1\"+\"0\"", 0), " \"-1\"+\"-1\"") << "a lost reference stays lost";
  EXPECT_EQ(listview::FormulaWithoutColumn(formula, 13), formula);
  EXPECT_EQ(listview::FormulaWithoutColumn(" 7", 0), " 7") << "no references";
  EXPECT_EQ(listview::FormulaWithoutColumn("", 0), "");
}

}  // namespace
