#include "listview/filter/computed_cell.h"

#include <cstdlib>

#include "listview/expression.h"
#include "listview/formula_pieces.h"
#include "platform/user/message_box.h"

namespace listview {

void FormulaErrorBox::Show() {
  if (m_bShown) return;
  m_bShown = true;  // before the box: it is modal, and the list repaints behind it
  AfxMessageBox("Invalid Expression,while calculating value");
}

bool ComputeCell(const CString& formula, const CellSource& cellOf, CString& text, FormulaErrorBox* errorBox) {
  CString work;
  CString lastReferenced;
  for (const FormulaPiece& piece : SplitFormula(formula)) {
    if (!piece.reference) {
      work += piece.text;
    } else {
      CString cell;
      if (!cellOf(std::atoi(piece.text), cell)) return false;
      lastReferenced = cell;
      work += std::atof(cell) == 0 ? CString("0") : cell;
    }
  }

  double value = 0;
  const int slash = work.Find('/');
  if (slash >= 0) {
    double divisor = 0;
    if (EvaluateExpression(work.Mid(slash + 1), divisor) >= expression_status::kNotANumber) {
      text = lastReferenced;
      return true;
    }
    if (divisor == 0) {
      text = "Divided by ZERO error";
      return true;
    }
  }
  value = 0;
  if (EvaluateExpression(work, value) == expression_status::kNoSingleValue) {
    if (errorBox != nullptr) {
      errorBox->Show();
    } else {
      AfxMessageBox("Invalid Expression,while calculating value");
    }
    text = lastReferenced;
    return true;
  }
  text.Format("%.*lf", 2, value);
  return true;
}

}  // namespace listview
