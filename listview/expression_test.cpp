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

struct Valued {
  const char* formula;
  double value;
};

void ExpectValues(std::initializer_list<Valued> cases) {
  for (const Valued& c : cases) {
    const Outcome o = Eval(c.formula);
    EXPECT_EQ(o.status, kOk) << c.formula;
    EXPECT_EQ(o.value, c.value) << c.formula;
  }
}

TEST(Expression, PrecedenceAndAssociativity) {
  ExpectValues({{"2+3*4", 14}, {"(2+3)*4", 20}, {"10-4-3", 3}, {"64/4/2", 8},
                {"2*3%4", 2},    // * before %
                {"7%3*2", 1},    // % after *, /, \ even when written first
                {"9%5\\2", 1}, {"7%8/2", 3},
                {"1<<5%3", 4},   // % before <<
                {"1+2<<3", 17},  // << binds tighter than +
                {"1<2+3", 1},    // + before <
                {"1|2&&0", 0},   // | before &&
                {"3>2==1", 1},   // equal precedence: left to right
                {" ( ( 1 + 2 ) ) * ( 3 ) ", 9}});
}

TEST(Expression, EveryRecognisedOperatorAndSign) {
  ExpectValues({{"7*2", 14}, {"7/2", 3.5}, {"7\\2", 3}, {"-7\\2", -3} /* toward zero */, {"7%4", 3}, {"-7%4", -3},
                {"7.9%4.9", 3},  // of the truncated ints
                {"1<<4", 16}, {"1<<33", 2} /* count modulo 32 */, {"1<<31", INT_MIN}, {"-16>>2", -4} /* arithmetic */,
                {"5-8", -3}, {"5+8", 13}, {"6^2", 4} /* exclusive or, not a power */, {"6&3", 2}, {"6|3", 7},
                {"1&&0", 0}, {"2&&0.5", 1}, {"0||0", 0}, {"0||0.1", 1}, {"3==3.0", 1}, {"3==3.1", 0}, {"3<2", 0},
                {"3>2", 1}, {"2>=2", 1}, {"3<=2", 0},
                {"4294967296|0", INT_MIN},  // outside 32 bits: the processor's INT_MIN
                {"1/0", INFINITY},
                // Signs, and the zero put before a leading one.
                {"-12.5+3", -9.5}, {"(-5)", -5}, {"2*(-5)", -10}, {"2 * -5", -10}, {"2 - +5", -3},
                {"0x10+1", 17} /* whatever strtod reads whole */, {"1e3", 1000}});
}

TEST(Expression, Failures) {
  const struct {
    const char* formula;
    int status;
  } cases[] = {
      {"10--2", kUnbalanced},  // "--" is no operator
      {"2*-5", kUnbalanced},   // nor is "*-"
      {"3!=2", kNotANumber},   // "!" starts an operand
      {"(1+2", kUnbalanced}, {"1+2)", kUnbalanced}, {"1 2", kNoSingleValue}, {"()", kNoSingleValue},
      {"", kNoSingleValue}, {"abc+1", kNotANumber},
      {"1e-5", kNotANumber},  // cut at the exponent's sign
      {"1.2.3", kNotANumber}, {"5%0", kNoSingleValue}, {"5%0.9", kNoSingleValue},
      {"(0-2147483647-1)%(0-1)", kNoSingleValue},  // INT_MIN % -1 traps
      {"1+", kUnbalanced}, {"+", kNotANumber},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(c.formula).status, c.status) << c.formula;
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
