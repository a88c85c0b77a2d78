// Texts to long dates and calendar structures.
#include <climits>
#include <cstring>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace {

constexpr size_t kMaxDateText = 255;

// Result codes of the two long-date parsers.
constexpr long kMissingField = -1;
constexpr long kOutOfRange = -2;

struct DayMonthYear {
  int day = 0;
  int month = 0;
  int year = 0;
};

// Reads "d/m/y" (month as digits or a name) and validates the fields; 0, or
// kMissingField / kOutOfRange. Day and month have no lower bound on purpose:
// 0 rolls back into the previous month when converted.
long ParseDayMonthYear(std::string_view text, DayMonthYear& out) {
  const auto parts = dateutil::Split<3>(text, "/");
  if (parts.count < 3) {
    return kMissingField;
  }
  const std::string_view monthText = parts.part[1];
  out.day = dateutil::ReadDecimal(parts.part[0]);
  out.month =
      monthText[0] >= '0' && monthText[0] <= '9' ? dateutil::ReadDecimal(monthText) : dateutil::MonthNumber(monthText);
  out.year = dateutil::ReadDecimal(parts.part[2]);
  const int d = out.day;
  const int m = out.month;
  // Every year divisible by 4 counts as a leap year.
  if (m > 12 || d >= 32 || (m == 2 && out.year % 4 != 0 && d >= 29) || (m == 2 && d >= 30) ||
      ((m == 4 || m == 6 || m == 9 || m == 11) && d == 31)) {
    return kOutOfRange;
  }
  return 0;
}

// Local time (daylight flag 0) to a long date. The runtime's failure value
// -1 passes through; a result outside 32 bits is kOutOfRange.
long ToLongDate(const DayMonthYear& date, int hour, int minute, int second) {
  struct tm t = {};
  t.tm_mday = date.day;
  t.tm_mon = date.month - 1;
  // Years far outside the calendar would overflow tm_year; mktime fails on
  // them anyway, so clamp them to a year that it rejects the same way.
  const long long year = static_cast<long long>(date.year) - 1900;
  t.tm_year = static_cast<int>(year < INT_MIN / 2 ? INT_MIN / 2 : year);
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = 0;
  // With a 64-bit time_t, mktime does not fail on any year an int holds (the
  // clamp above keeps the lowest in range), so -1 is always the second
  // before 1970, a date like any other.
  static_assert(sizeof(time_t) == 8);
  const time_t result = std::mktime(&t);
  return dateutil::FitsLongDate(result) ? static_cast<long>(result) : kOutOfRange;
}

std::string_view BoundedView(const char* text, size_t limit) {
  return std::string_view(text, ::strnlen(text, limit + 1));
}

}  // namespace

long Convert_DateString_to_longDate(char* text) {
  if (text == nullptr) {
    return kMissingField;
  }
  const std::string_view whole = BoundedView(text, kMaxDateText);
  if (whole.size() > kMaxDateText) {
    return kOutOfRange;
  }
  DayMonthYear date;
  if (const long status = ParseDayMonthYear(whole, date); status != 0) {
    return status;
  }
  int hms[3] = {0, 0, 0};  // no time given: midnight
  const size_t space = whole.find(' ');
  const std::string_view time = space == std::string_view::npos ? std::string_view() : whole.substr(space + 1);
  if (time.find_first_not_of(" \t") != std::string_view::npos) {
    const auto parts = dateutil::Split<3>(time, ":");
    if (parts.count < 3) {
      return kMissingField;
    }
    for (size_t i = 0; i < 3; ++i) {
      hms[i] = dateutil::ReadDecimal(parts.part[i]);
    }
  }
  return ToLongDate(date, hms[0], hms[1], hms[2]);
}

int ConvertDateFormat(const CString& text, long& longDate) {
  const std::string_view whole = BoundedView(text.GetString(), kMaxDateText);
  if (whole.size() > kMaxDateText) {
    return static_cast<int>(kOutOfRange);
  }
  DayMonthYear date;
  if (const long status = ParseDayMonthYear(whole, date); status != 0) {
    return static_cast<int>(status);
  }
  const time_t now = dateutil::NowSeconds();
  struct tm local = {};
  ::localtime_r(&now, &local);
  const long result = ToLongDate(date, local.tm_hour, local.tm_min, local.tm_sec);
  if (result == kOutOfRange) {
    return static_cast<int>(kOutOfRange);
  }
  longDate = result;
  return 1;
}

void tarnu_get_date_time_in_TM(char* text, tm* out) {
  if (out == nullptr) {
    return;
  }
  *out = tm{};
  if (text == nullptr) {
    return;
  }
  const std::string_view whole(text, ::strnlen(text, 31));
  const size_t space = whole.find(' ');
  const std::string_view datePart = whole.substr(0, space);
  if (datePart.empty()) {
    return;
  }
  // Filling stops at the first missing part, keeping what was set.
  const auto date = dateutil::Split<3>(datePart, "-");
  if (date.count < 1) {
    return;
  }
  out->tm_mday = dateutil::ReadDecimal(date.part[0]);
  if (date.count < 2) {
    return;
  }
  out->tm_mon = dateutil::MonthNumber(date.part[1]);  // 1 to 12, not 0 to 11
  if (date.count < 3) {
    return;
  }
  out->tm_year = dateutil::ReadDecimal(date.part[2]);  // as written, not since 1900
  if (space == std::string_view::npos) {
    return;
  }
  const auto time = dateutil::Split<3>(whole.substr(space + 1), ":");
  int* fields[3] = {&out->tm_hour, &out->tm_min, &out->tm_sec};
  for (size_t i = 0; i < time.count; ++i) {
    *fields[i] = dateutil::ReadDecimal(time.part[i]);
  }
}
