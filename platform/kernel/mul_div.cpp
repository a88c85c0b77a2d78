#include "platform/kernel/mul_div.h"

#include <cstdint>
#include <cstdlib>

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  // Two ints multiply exactly in 64 bits; the quotient's magnitude rounds half away from zero.
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t divisor = std::abs(static_cast<int64_t>(denominator));
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude = (std::abs(product) + divisor / 2) / divisor;
  return static_cast<int>(negative ? -magnitude : magnitude);
}
