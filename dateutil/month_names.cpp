#include <array>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace dateutil {

namespace {
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

int FindMonthName(std::string_view token) {
  for (size_t i = 0; i < kMonthNames.size(); ++i) {
    if (token == kMonthNames[i]) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

}  // namespace dateutil

// Any other text, numbers included, is January: callers rely on always
// getting a month.
int GetMonthNumber(const char* token) { return token == nullptr ? 0 : dateutil::MonthNumber(token); }
