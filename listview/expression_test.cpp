#include "listview/expression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

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

// The operators a formula can use, with their precedence, and what each
// gives, written from the table rather than from the engine: int(x) is x
// truncated to 32 bits, the nearest end when it does not fit, 0 for NaN.
struct Op {
  std::string_view text;
  int precedence;
};
constexpr Op kOps[] = {{"*", 19},  {"/", 19},  {"\\", 19}, {"%", 18},  {"<<", 17}, {">>", 17},
                       {"-", 16},  {"+", 16},  {"^", 15},  {"&", 15},  {"|", 15},  {"&&", 14},
                       {"||", 14}, {"==", 13}, {"<", 13},  {">", 13},  {">=", 13}, {"<=", 13}};

int32_t Int(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int32_t>(std::clamp(std::trunc(x), -2147483648.0, 2147483647.0));
}

std::optional<double> Model(std::string_view op, double a, double b) {
  const int32_t i = Int(a);
  const int32_t j = Int(b);
  if (op == "%") return j == 0 || (i == INT32_MIN && j == -1) ? std::nullopt : std::optional<double>(i % j);
  if (op == "<<") return static_cast<int32_t>(static_cast<uint32_t>(i) << (j & 31));
  const std::pair<std::string_view, double> results[] = {
      {"*", a * b},     {"/", a / b},       {"\\", Int(a / b)}, {">>", i >> (j & 31)},       {"-", a - b},
      {"+", a + b},     {"^", i ^ j},       {"&", i & j},       {"|", i | j},                {"&&", a != 0 && b != 0},
      {"==", a == b},   {"<", a < b},       {">", a > b},       {">=", a >= b},              {"<=", a <= b},
      {"||", a != 0 || b != 0}};
  const auto found = std::ranges::find(results, op, [](const auto& result) { return result.first; });
  if (found != std::end(results)) return found->second;
  ADD_FAILURE() << op;
  return std::nullopt;
}

// A formula as a tree: printed with the parentheses its precedence needs
// (and now and then one more) and valued from the tree; no value when a
// "%" on the way fails.
struct Formula {
  std::string text;
  int precedence;
  std::optional<double> value;
};

// Now and then a leaf at or beyond the ends of the 32 bits, an infinity,
// NaN or a negative number (a difference, which any operator may precede): there int(x) takes the nearest end, keeping the
// sign, and 0 for NaN, the same under every build and sanitizer (a cast of
// such a value would be undefined).
struct Leaf {
  const char* text;
  double value;
};
const Leaf kEdges[] = {{"2147483647.9", 2147483647.9}, {"2147483648", 2147483648.0},
                       {"(0-2147483648.9)", -2147483648.9}, {"(0-2147483649)", -2147483649.0},
                       {"1e300", 1e300},   {"(0-1e300)", -1e300}, {"(1/0)", INFINITY}, {"(0-1/0)", -INFINITY},
                       {"(0/0)", NAN},     {"(0-7)", -7},         {"(0-16.5)", -16.5},  {"33", 33}, {"31", 31}};

Formula Generate(std::mt19937& random, int depth) {
  if (depth == 0 || random() % 4 == 0) {
    if (random() % 5 == 0) {
      const Leaf& edge = kEdges[random() % std::size(kEdges)];
      return {edge.text, 99, edge.value};
    }
    const double number = random() % 2 ? static_cast<double>(random() % 10) : (random() % 100) / 4.0;
    std::ostringstream text;
    text << number;
    return {text.str(), 99, number};
  }
  const Op& op = kOps[random() % std::size(kOps)];
  Formula a = Generate(random, depth - 1);
  Formula b = Generate(random, depth - 1);
  const auto space = [&] { return std::string(random() % 3 == 0 ? 1 : 0, " \t\n\v\f\r"[random() % 6]); };
  if (a.precedence < op.precedence || random() % 6 == 0) a.text = "(" + a.text + space() + ")";
  if (b.precedence <= op.precedence || random() % 6 == 0) b.text = "(" + space() + b.text + ")";
  std::optional<double> value;
  if (a.value && b.value) value = Model(op.text, *a.value, *b.value);
  return {a.text + space() + std::string(op.text) + space() + b.text, op.precedence, value};
}

TEST(Expression, GeneratedFormulasGiveWhatTheOperatorTableSays) {
  std::mt19937 random(7);
  for (int n = 0; n < 3000; ++n) {
    const Formula formula = Generate(random, 1 + n % 5);
    SCOPED_TRACE(formula.text);
    const Outcome o = Eval(formula.text);
    if (!formula.value) {
      EXPECT_EQ(o.status, kNoSingleValue);
    } else if (std::isnan(*formula.value)) {
      EXPECT_TRUE(o.status == kOk && std::isnan(o.value));
    } else {
      EXPECT_EQ(o.status, kOk);
      EXPECT_EQ(o.value, *formula.value);
    }
  }
}

// How a formula is read: spaces, parentheses, signs and numbers, and what
// it cannot be read as.
TEST(Expression, SpacesParenthesesSignsAndNumbersAndFailures) {
  const std::pair<const char*, double> values[] = {
      {" ( ( 1 + 2 ) ) * ( 3 ) ", 9}, {"-12.5+3", -9.5}, {"(-5)", -5},  {"2*(-5)", -10}, {"2 * -5", -10},
      {"2 - +5", -3}, {"0x10+1", 17} /* whatever strtod reads whole */, {"1e3", 1000}};
  for (const auto& [formula, value] : values) {
    EXPECT_EQ(Eval(formula).status, kOk) << formula;
    EXPECT_EQ(Eval(formula).value, value) << formula;
  }
  const struct {
    const char* formula;
    int status;
  } cases[] = {
      {"10--2", kUnbalanced},  // "--" is no operator
      {"2*-5", kUnbalanced},   // nor is "*-"
      {"3!=2", kNotANumber},   // "!" starts an operand
      {"(1+2", kUnbalanced}, {"1+2)", kUnbalanced}, {"1 2", kNoSingleValue}, {"()", kNoSingleValue},
      {"", kNoSingleValue}, {"abc+1", kNotANumber},
      {"1.2.3", kNotANumber},
      {"(0-2147483647-1)%(0-1)", kNoSingleValue},  // INT_MIN % -1 traps
      {"-1e300%(0-1)", kNoSingleValue},            // as does the lowest end's remainder by -1
      {"1+", kUnbalanced}, {"+", kNotANumber},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(c.formula).status, c.status) << c.formula;
  // The table index of the whole operator at a place, from the first place on.
  const std::tuple<const char*, int, int> places[] = {{"<<1", 0, 5}, {"1<=2", 1, 21}, {"1 *-2", 2, -1}, {"<", -1, -1}};
  for (const auto& [text, at, index] : places) EXPECT_EQ(OperatorAt(text, at), index) << text << " at " << at;
}

}  // namespace
