#include "listview/expression.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace expression_status;

struct Operator {
  std::string_view text;
  int precedence;
};

// Index 1 to 21 as OperatorAt reports them; slot 0 is unused. "!|", "!&"
// and "!=" keep their indices but are never read: "!" is no operator
// character, so Apply has no case for 12, 15 or 20.
constexpr std::array<Operator, 22> kOperators = {{
    {"", 0},    {"*", 19}, {"/", 19}, {"\\", 19}, {"%", 18},  {"<<", 17}, {">>", 17}, {"-", 16},
    {"+", 16},  {"^", 15}, {"&", 15}, {"|", 15},  {"!|", 15}, {"&&", 14}, {"||", 14}, {"!&", 15},
    {"==", 13}, {"<", 13}, {">", 13}, {">=", 13}, {"!=", 13}, {"<=", 13},
}};

constexpr std::string_view kOperatorChars = "<>=*/%+-^&|\\";

bool IsOperatorChar(char c) { return kOperatorChars.find(c) != std::string_view::npos; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// ASCII letters and digits: the program never leaves the "C" locale.
bool IsOperandChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.'; }

constexpr int kNoOperator = -1;

// Table index of a whole operator text, or kNoOperator.
int FindOperator(std::string_view text) {
  for (size_t i = 1; i < kOperators.size(); ++i) {
    if (kOperators[i].text == text) {
      return static_cast<int>(i);
    }
  }
  return kNoOperator;
}

int OperatorIndexAt(std::string_view text, size_t pos) {
  size_t end = pos;
  while (end < text.size() && IsOperatorChar(text[end])) {
    ++end;
  }
  return end == pos ? kNoOperator : FindOperator(text.substr(pos, end - pos));
}

// The operand starting at `pos` (< text.size()): its first character, a
// sign maybe, and the letters, digits and points after it.
size_t OperandSpan(std::string_view text, size_t pos) {
  size_t end = pos + 1;
  while (end < text.size() && IsOperandChar(text[end])) {
    ++end;
  }
  return end - pos;
}

// A stack entry that is not in the table ranks lowest but one.
int Precedence(std::string_view text) {
  const int op = FindOperator(text);
  return op == kNoOperator ? 1 : kOperators[static_cast<size_t>(op)].precedence;
}

int Convert(std::string_view in, std::string& out) {
  std::vector<std::string_view> stack;  // operator texts from the table, and "("
  std::string_view previousToken;
  size_t i = 0;
  while (i < in.size()) {
    const char c = in[i];
    if (IsSpace(c)) {
      ++i;
      continue;
    }
    if (c == '(') {
      stack.push_back("(");
      ++i;
      continue;
    }
    if (c == ')') {
      for (;;) {
        if (stack.empty()) {
          return kUnbalanced;
        }
        const std::string_view top = stack.back();
        stack.pop_back();
        if (top == "(") {
          break;
        }
        out += ' ';
        out += top;
      }
      ++i;
      continue;
    }
    const int op = OperatorIndexAt(in, i);
    // An operator with no operand before it (nothing, or another operator)
    // is a sign and belongs to the operand that follows.
    bool operand = op == kNoOperator;
    if (!operand) {
      size_t j = i;
      while (j > 0 && IsSpace(in[j - 1])) {
        --j;
      }
      operand = j == 0 || OperatorIndexAt(in, j - 1) != kNoOperator;
    }
    if (operand) {
      const size_t length = OperandSpan(in, i);
      const std::string_view token = in.substr(i, length);
      out += op == kNoOperator ? " " : " (";
      out += token;
      if (op != kNoOperator) {
        out += ')';
      }
      previousToken = token;
      i += length;
      continue;
    }
    const Operator& current = kOperators[static_cast<size_t>(op)];
    // "(-5" and "2*(-5)": the minus gets a 0 to subtract from.
    if (previousToken.empty() || (previousToken.size() == 1 && FindOperator(previousToken) != kNoOperator)) {
      out += " 0";
    }
    while (!stack.empty() && stack.back() != "(" && Precedence(stack.back()) >= current.precedence) {
      out += ' ';
      out += stack.back();
      stack.pop_back();
    }
    stack.push_back(current.text);
    previousToken = current.text;
    i += current.text.size();
  }
  while (!stack.empty()) {
    if (stack.back() == "(") {
      return kUnbalanced;
    }
    out += ' ';
    out += stack.back();
    stack.pop_back();
  }
  return kOk;
}

// The whole token as a strtod number, or false.
bool ParseNumber(std::string_view token, double& number) {
  // Plain decimals take the exact same value through from_chars, without
  // strtod's copy and locale look-up; anything else goes to strtod itself.
  std::string_view digits = token;
  if (!digits.empty() && digits[0] == '+') {
    digits.remove_prefix(1);
  }
  if (digits.find_first_not_of("0123456789.") == std::string_view::npos) {
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec == std::errc() && ptr == digits.data() + digits.size()) {
      return true;
    }
  }
  const std::string copy(token);
  char* end = nullptr;
  number = std::strtod(copy.c_str(), &end);
  return end == copy.c_str() + copy.size();
}

// int(x): truncation toward zero, saturated at the ends of the 32 bits, and
// NaN gives 0. A value beyond the ends keeps its sign and comes as near as
// an int can ("Strike Price" \ 0 is 2147483647, 3e9 | 0 too), where the
// processor's conversion would turn every such value, however large and
// of either sign, into the most negative int; NaN has no side to keep.
// Values are clamped into the range before the cast, which C++ leaves
// undefined beyond it, so every build and sanitizer gives the same.
int32_t ToInt(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int32_t>(std::clamp(x, -2147483648.0, 2147483647.0));
}

// a op b; false for a failure raised by the operation itself.
bool Apply(int op, double a, double b, double& result) {
  const auto ia = [a] { return ToInt(a); };
  const auto ib = [b] { return ToInt(b); };
  switch (op) {
    case 1: result = a * b; return true;
    case 2: result = a / b; return true;
    case 3: result = ToInt(a / b); return true;
    case 4: {
      const int32_t divisor = ib();
      const int32_t dividend = ia();
      if (divisor == 0 || (dividend == INT32_MIN && divisor == -1)) {
        return false;  // a division fault on the processor
      }
      result = dividend % divisor;
      return true;
    }
    case 5: result = static_cast<int32_t>(static_cast<uint32_t>(ia()) << (ib() & 31)); return true;
    case 6: result = ia() >> (ib() & 31); return true;
    case 7: result = a - b; return true;
    case 8: result = a + b; return true;
    case 9: result = ia() ^ ib(); return true;
    case 10: result = ia() & ib(); return true;
    case 11: result = ia() | ib(); return true;
    case 13: result = a != 0 && b != 0; return true;
    case 14: result = a != 0 || b != 0; return true;
    case 16: result = a == b; return true;
    case 17: result = a < b; return true;
    case 18: result = a > b; return true;
    case 19: result = a >= b; return true;
    case 21: result = a <= b; return true;
    default: return false;
  }
}

int Evaluate(std::string_view postfix, double& value) {
  std::vector<double> stack;
  size_t k = 0;
  while (k < postfix.size()) {
    const char c = postfix[k];
    if (IsSpace(c) || c == '(' || c == ')') {
      ++k;
      continue;
    }
    const int op = OperatorIndexAt(postfix, k);
    if (op == kNoOperator || (k > 0 && postfix[k - 1] == '(')) {
      const size_t length = OperandSpan(postfix, k);
      double number = 0;
      if (!ParseNumber(postfix.substr(k, length), number)) {
        return kNotANumber;
      }
      stack.push_back(number);
      k += length;
      continue;
    }
    if (stack.size() < 2) {
      return kUnbalanced;
    }
    const double b = stack.back();
    stack.pop_back();
    const double a = stack.back();
    stack.pop_back();
    double result = 0;
    if (!Apply(op, a, b, result)) {
      return kNoSingleValue;
    }
    stack.push_back(result);
    k += kOperators[static_cast<size_t>(op)].text.size();
  }
  if (stack.empty()) {
    return kNoSingleValue;
  }
  value = stack.back();
  stack.pop_back();
  return stack.empty() ? kOk : kNoSingleValue;
}

size_t ToIndex(int position) { return position < 0 ? SIZE_MAX : static_cast<size_t>(position); }

}  // namespace

int ToPostfix(const CString& text, CString& postfix) {
  try {
    std::string out;
    const int status = Convert(text.view(), out);
    postfix = CString(std::move(out));
    return status;
  } catch (const std::bad_alloc&) {
    return kNoSingleValue;
  }
}

int EvaluatePostfix(const CString& postfix, double& value) {
  try {
    return Evaluate(postfix.view(), value);
  } catch (const std::bad_alloc&) {
    return kNoSingleValue;
  }
}

int EvaluateExpression(const CString& text, double& value) {
  try {
    std::string postfix;
    postfix.reserve(static_cast<size_t>(text.GetLength()) * 2 + 8);
    if (const int status = Convert(text.view(), postfix); status != kOk) {
      return status;
    }
    return Evaluate(postfix, value);
  } catch (const std::bad_alloc&) {
    return kNoSingleValue;
  }
}

int OperatorAt(const CString& text, int position) { return OperatorIndexAt(text.view(), ToIndex(position)); }
