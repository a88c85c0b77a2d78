#include <algorithm>
#include <charconv>
#include <climits>

#include "dateutil/internal.h"

namespace dateutil {

int ReadDecimal(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size()));
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) {
    text.remove_prefix(1);
  }
  // from_chars would take a second '-' as the number's own sign; atoi stops
  // at it and reads 0.
  if (text.starts_with('-')) {
    return 0;
  }
  // No digits leaves 0. Too many for a long long is past every int anyway.
  long long magnitude = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), magnitude).ec == std::errc::result_out_of_range) {
    magnitude = LLONG_MAX;
  }
  return static_cast<int>(std::clamp<long long>(negative ? -magnitude : magnitude, INT_MIN, INT_MAX));
}

}  // namespace dateutil
