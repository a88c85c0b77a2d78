#include "platform/kernel/mul_div.h"

#include <cstdint>

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t half = (denominator > 0 ? denominator : -denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude =
      ((product < 0 ? -product : product) + half) / (denominator > 0 ? denominator : -denominator);
  return static_cast<int>(negative ? -magnitude : magnitude);
}
