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
//     calculating value" and the last referenced cell's text;
//   - otherwise the value with two decimals (0.00 when evaluation stopped early).
#pragma once

#include <functional>

#include "platform/base/cstring.h"

namespace listview {

// The cell of column index `column` into `text`; false when it has none.
using CellSource = std::function<bool(int column, CString& text)>;

// false (text unchanged) when a referenced cell cannot be produced.
bool ComputeCell(const CString& formula, const CellSource& cellOf, CString& text);

}  // namespace listview
