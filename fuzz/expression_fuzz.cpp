// Fuzz target: EvaluateExpression on arbitrary text. Its status must be one
// of 0, 1, 3, 4, and it must agree with ToPostfix followed by
// EvaluatePostfix, the two steps it is made of.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "listview/expression.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const CString text(std::string_view(reinterpret_cast<const char*>(data), size));
  double value = 0.5;
  const int status = EvaluateExpression(text, value);
  Require(status == 0 || status == 1 || status == 3 || status == 4);

  CString postfix;
  const int first = ToPostfix(text, postfix);
  Require(first == 0 || first == 1 || first == 3);
  if (first != 0) {
    Require(status == first && value == 0.5);
    return 0;
  }
  double again = 0.5;
  Require(EvaluatePostfix(postfix, again) == status);
  Require(SameValue(value, again));
  return 0;
}
