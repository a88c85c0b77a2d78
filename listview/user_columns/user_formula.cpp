#include "listview/user_columns/user_formula.h"

#include <algorithm>

#include "listview/expression.h"
#include "listview/formula_pieces.h"

namespace listview {

bool TranslateFormula(const CString& shown, std::span<const NamedColumn> columns, CString& stored, CString& test) {
  stored.Empty();
  test.Empty();
  for (const FormulaPiece& piece : SplitFormula(" " + shown)) {
    if (!piece.reference) {
      stored += piece.text;
      test += piece.text;
      continue;
    }
    const auto named =
        std::find_if(columns.begin(), columns.end(), [&](const NamedColumn& c) { return c.caption == piece.text; });
    if (named == columns.end()) return false;
    stored += QuotedIndex(named->index);
    test.AppendFormat("%d", named->index);
  }
  return true;
}

bool CheckFormula(const CString& shown, std::span<const NamedColumn> columns, CString& stored) {
  CString test;
  if (!TranslateFormula(shown, columns, stored, test)) return false;
  double value = 0;
  return EvaluateExpression(test, value) == expression_status::kOk;
}

}  // namespace listview
