// The text of a computed column's cell: its formula with every column
// reference replaced by that column's cell, evaluated by the expression
// engine (listview/expression.h).
//
// A formula alternates literal text and column indexes in double quotes,
// starting with literal text (formulas begin with a space): ` "0"*"5"/100`.
// A referenced cell that reads as 0 (atof; so also empty or non-numeric
// text) enters as "0". Results:
//   - a divisor part (after the first "/") that fails to evaluate: the text
//     of the last referenced cell; one that evaluates to 0: "Divided by ZERO
//     error";
//   - status 4 for the whole: the message "Invalid Expression,while
//     calculating value" and the last referenced cell's text (with a
//     FormulaErrorBox, the message shows once until the box is re-armed);
//   - otherwise the value with two decimals (0.00 when evaluation stopped early).
#pragma once

#include <functional>

#include "platform/base/cstring.h"

namespace listview {

// The cell of column index `column` into `text`; false when it has none.
using CellSource = std::function<bool(int column, CString& text)>;

// The "Invalid Expression,while calculating value" box of one list. Cells
// are computed row by row, and a formula that fails (a "% 0") fails for
// every row: one modal box per cell would be thousands of boxes, and each
// repaint behind a box would ask again, locking the person out. So the box
// shows once, and again only after Rearm, which the list calls when it
// rebuilds its rows (new rows from the server, a filter, a sort, a column).
class FormulaErrorBox {
 public:
  void Show();
  void Rearm() { m_bShown = false; }

 private:
  bool m_bShown = false;
};

// false (text unchanged) when a referenced cell cannot be produced. Without
// `errorBox` every failing cell shows the message.
bool ComputeCell(const CString& formula, const CellSource& cellOf, CString& text, FormulaErrorBox* errorBox = nullptr);

}  // namespace listview
