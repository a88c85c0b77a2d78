#include "listview/expression.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

using namespace expression_status;

struct Outcome {
  int status;
  double value;
};

// Formulas reach the engine with one leading space, as computed columns
// write them.
Outcome Eval(const std::string& formula) {
  double value = -12345.0;  // a sentinel: left alone unless written
  const int status = EvaluateExpression(CString(" " + formula), value);
  return {status, value};
}

double Value(const std::string& formula) {
  const Outcome o = Eval(formula);
  EXPECT_EQ(o.status, kOk) << formula;
  return o.value;
}

int Status(const std::string& formula) { return Eval(formula).status; }

TEST(Expression, PrecedenceAndAssociativity) {
  EXPECT_EQ(Value("2+3*4"), 14);
  EXPECT_EQ(Value("(2+3)*4"), 20);
  EXPECT_EQ(Value("10-4-3"), 3);
  EXPECT_EQ(Value("64/4/2"), 8);
  EXPECT_EQ(Value("2*3%4"), 2);    // * before %
  EXPECT_EQ(Value("7%3*2"), 1);    // % after *, /, \ even when written first
  EXPECT_EQ(Value("9%5\\2"), 1);
  EXPECT_EQ(Value("7%8/2"), 3);
  EXPECT_EQ(Value("1<<5%3"), 4);   // % before <<
  EXPECT_EQ(Value("1+2<<3"), 17);  // << binds tighter than +
  EXPECT_EQ(Value("1<2+3"), 1);    // + before <
  EXPECT_EQ(Value("1|2&&0"), 0);   // | before &&
  EXPECT_EQ(Value("3>2==1"), 1);   // equal precedence: left to right
  EXPECT_EQ(Value(" ( ( 1 + 2 ) ) * ( 3 ) "), 9);
}

TEST(Expression, EveryRecognisedOperator) {
  EXPECT_EQ(Value("7*2"), 14);
  EXPECT_EQ(Value("7/2"), 3.5);
  EXPECT_EQ(Value("7\\2"), 3);
  EXPECT_EQ(Value("-7\\2"), -3);  // toward zero
  EXPECT_EQ(Value("7%4"), 3);
  EXPECT_EQ(Value("-7%4"), -3);
  EXPECT_EQ(Value("7.9%4.9"), 3);  // of the truncated ints
  EXPECT_EQ(Value("1<<4"), 16);
  EXPECT_EQ(Value("1<<33"), 2);  // count modulo 32
  EXPECT_EQ(Value("1<<31"), INT_MIN);
  EXPECT_EQ(Value("-16>>2"), -4);  // arithmetic
  EXPECT_EQ(Value("5-8"), -3);
  EXPECT_EQ(Value("5+8"), 13);
  EXPECT_EQ(Value("6^2"), 4);  // exclusive or, not a power
  EXPECT_EQ(Value("6&3"), 2);
  EXPECT_EQ(Value("6|3"), 7);
  EXPECT_EQ(Value("1&&0"), 0);
  EXPECT_EQ(Value("2&&0.5"), 1);
  EXPECT_EQ(Value("0||0"), 0);
  EXPECT_EQ(Value("0||0.1"), 1);
  EXPECT_EQ(Value("3==3.0"), 1);
  EXPECT_EQ(Value("3==3.1"), 0);
  EXPECT_EQ(Value("3<2"), 0);
  EXPECT_EQ(Value("3>2"), 1);
  EXPECT_EQ(Value("2>=2"), 1);
  EXPECT_EQ(Value("3<=2"), 0);
  EXPECT_EQ(Value("4294967296|0"), INT_MIN);  // outside 32 bits: the processor's INT_MIN
  EXPECT_TRUE(std::isinf(Value("1/0")));
}

TEST(Expression, SignsAndInsertedZero) {
  EXPECT_EQ(Value("-12.5+3"), -9.5);
  EXPECT_EQ(Value("(-5)"), -5);
  EXPECT_EQ(Value("2*(-5)"), -10);
  EXPECT_EQ(Value("2 * -5"), -10);
  EXPECT_EQ(Value("2 - +5"), -3);
  EXPECT_EQ(Value("0x10+1"), 17);  // whatever strtod reads whole
  EXPECT_EQ(Value("1e3"), 1000);
}

TEST(Expression, Failures) {
  EXPECT_EQ(Status("10--2"), kUnbalanced);  // "--" is no operator
  EXPECT_EQ(Status("2*-5"), kUnbalanced);   // nor is "*-"
  EXPECT_EQ(Status("3!=2"), kNotANumber);   // "!" starts an operand
  EXPECT_EQ(Status("(1+2"), kUnbalanced);
  EXPECT_EQ(Status("1+2)"), kUnbalanced);
  EXPECT_EQ(Status("1 2"), kNoSingleValue);
  EXPECT_EQ(Status("()"), kNoSingleValue);
  EXPECT_EQ(Status(""), kNoSingleValue);
  EXPECT_EQ(Status("abc+1"), kNotANumber);
  EXPECT_EQ(Status("1e-5"), kNotANumber);  // cut at the exponent's sign
  EXPECT_EQ(Status("1.2.3"), kNotANumber);
  EXPECT_EQ(Status("5%0"), kNoSingleValue);
  EXPECT_EQ(Status("5%0.9"), kNoSingleValue);
  EXPECT_EQ(Status("(0-2147483647-1)%(0-1)"), kNoSingleValue);  // INT_MIN % -1 traps
  EXPECT_EQ(Status("1+"), kUnbalanced);
  EXPECT_EQ(Status("+"), kNotANumber);

  // The value is left alone on failure, except the topmost of several.
  EXPECT_EQ(Eval("1+").value, -12345.0);
  EXPECT_EQ(Eval("1 2").value, 2);
}

TEST(Expression, PostfixAndScannerHelpers) {
  CString postfix;
  EXPECT_EQ(ToPostfix(" -12.5+3*(4-1)", postfix), kOk);
  EXPECT_EQ(postfix, " (-12.5) 3 4 1 - * +");
  EXPECT_EQ(ToPostfix("(-5)", postfix), kOk);
  EXPECT_EQ(postfix, " 0 5 -");
  double value = 0;
  EXPECT_EQ(EvaluatePostfix(" 1 2 +", value), kOk);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(EvaluatePostfix(" +", value), kUnbalanced);
  EXPECT_EQ(EvaluatePostfix(" (-x)", value), kNotANumber);

  const CString text("a<<b *- c!=d");
  EXPECT_EQ(OperatorAt(text, 1), 5);   // "<<"
  EXPECT_EQ(OperatorAt(text, 2), 17);  // "<" from the second character on
  EXPECT_EQ(OperatorAt(text, 5), -1);  // "*-" is not in the table
  EXPECT_EQ(OperatorAt(text, 6), 7);
  EXPECT_EQ(OperatorAt(text, 9), -1);   // "!" is not an operator character
  EXPECT_EQ(OperatorAt(text, 10), -1);  // "=" alone is not in the table
  EXPECT_EQ(OperatorAt(text, -1), -1);
  EXPECT_EQ(OperatorAt(text, 99), -1);
  EXPECT_EQ(OperandLength(CString("-12.5e3+1"), 0), 7);
  EXPECT_EQ(OperandLength(CString("++"), 0), 1);
  EXPECT_EQ(OperandLength(CString("x"), 1), 0);
  EXPECT_EQ(OperandLength(CString("x"), -1), 0);
}

}  // namespace
