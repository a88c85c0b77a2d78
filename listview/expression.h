// The expression engine of computed columns: evaluates a formula text made
// of numbers, operators, parentheses and spaces to a double.
//
// The infix text is turned into a postfix text (operator precedence, equal
// precedence associating to the left), which a value stack evaluates in
// double precision. Stateless and re-entrant.
//
// Operators and precedences (higher binds tighter); int(x) truncates to a
// signed 32-bit integer toward zero, a value beyond that range becomes the
// nearest end (INT_MAX or INT_MIN, so 1e300 % 7 is INT_MAX % 7 = 1) and NaN
// becomes 0:
//   19  *  /  \ (int of the quotient)      18  % (of the ints)
//   17  << >> (of the ints, shift count modulo 32)
//   16  -  +        15  ^ & | !| !& (bitwise on the ints; ^ is NOT a power)
//   14  && ||       13  == < > >= != <=  (1 or 0)
// A run of operator characters "<>=*/%+-^&|\" is an operator only when the
// whole run is one, so "*-" is none. "!" is not an operator character: the
// table's "!|", "!&" and "!=" are never recognised in input. A "-" or "+"
// with no operand before it is a sign. "/" by zero gives inf or NaN.
//
// Status codes:
//   0 success (value written);
//   1 unbalanced parentheses, or an operator without two operands;
//   3 an operand that is not a number (it must be a whole strtod number);
//   4 no single value: more than one value left (the topmost is still
//     written), no value at all ("()", ""), a "%" whose divisor is 0 (or
//     INT_MIN % -1), or memory exhaustion.
#pragma once

#include "platform/base/cstring.h"

namespace expression_status {
constexpr int kOk = 0;
constexpr int kUnbalanced = 1;
constexpr int kNotANumber = 3;
constexpr int kNoSingleValue = 4;
}  // namespace expression_status

// ToPostfix then EvaluatePostfix; `value` is written only as stated above.
int EvaluateExpression(const CString& text, double& value);
// Infix to postfix: every token preceded by one space; a sign is kept with
// its operand as "(-5)". Returns 0, 1 or 3 (4 only on memory exhaustion).
int ToPostfix(const CString& text, CString& postfix);
// Evaluates a postfix text as ToPostfix writes it. Returns 0, 1, 3 or 4.
int EvaluatePostfix(const CString& postfix, double& value);
// The table index (1 to 21) of the operator starting at `position`, or -1.
int OperatorAt(const CString& text, int position);
