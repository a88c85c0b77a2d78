#include "listview/formula_pieces.h"

#include <cstdlib>

namespace listview {

std::vector<FormulaPiece> SplitFormula(const CString& formula) {
  std::vector<FormulaPiece> pieces;
  const int length = formula.GetLength();
  bool reference = false;
  for (int i = 0;;) {
    while (i < length && formula[i] == '"') ++i;
    if (i >= length) break;
    const int start = i;
    while (i < length && formula[i] != '"') ++i;
    pieces.push_back({formula.Mid(start, i - start), reference, start});
    reference = !reference;
  }
  return pieces;
}

CString QuotedIndex(int index) {
  CString text;
  text.Format("\"%d\"", index);
  return text;
}

CString FormulaWithoutColumn(const CString& formula, int removed) {
  CString result;
  int copied = 0;  // formula text up to here is in the result
  for (const FormulaPiece& piece : SplitFormula(formula)) {
    if (!piece.reference) continue;
    const int index = std::atoi(piece.text);
    if (index < removed) continue;
    result += formula.Mid(copied, piece.start - copied);
    result.AppendFormat("%d", index == removed ? kNoColumn : index - 1);
    copied = piece.start + piece.text.GetLength();
  }
  result += formula.Mid(copied);
  return result;
}

}  // namespace listview
