// Helpers shared by the date utilities; not exported from the plug-in.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <string_view>

namespace dateutil __attribute__((visibility("hidden"))) {

  // The runtime's decimal conversion (atoi): leading white space, an optional
  // sign, then digits; no digits reads 0. Saturates at the int range instead
  // of overflowing. Never reads past the view.
  int ReadDecimal(std::string_view text);

  // Splits at any character of `delims`, skipping empty tokens (strtok's
  // rules). Fills up to N tokens and returns how many were found.
  template <size_t N>
  struct Tokens {
    std::array<std::string_view, N> part{};
    size_t count = 0;
  };
  template <size_t N>
  Tokens<N> Split(std::string_view text, std::string_view delims) {
    Tokens<N> out;
    size_t pos = 0;
    while (out.count < N) {
      const size_t from = text.find_first_not_of(delims, pos);
      if (from == std::string_view::npos) {
        break;
      }
      size_t until = text.find_first_of(delims, from);
      if (until == std::string_view::npos) {
        until = text.size();
      }
      out.part[out.count++] = text.substr(from, until - from);
      pos = until;
    }
    return out;
  }

  // text.substr(pos, count) with both clamped: never throws.
  inline std::string_view Sub(std::string_view text, size_t pos, size_t count = std::string_view::npos) {
    return text.substr(std::min(pos, text.size()), count);
  }

  // "Jan".."Dec" (whole token, case-sensitive) give 1 to 12, anything else 0.
  int FindMonthName(std::string_view token);
  // The month-name lookup on a view: as FindMonthName, but anything else is 1.
  inline int MonthNumber(std::string_view token) {
    const int month = FindMonthName(token);
    return month != 0 ? month : 1;
  }

  // True when v is a long date, i.e. fits a signed 32-bit count of seconds.
  inline bool FitsLongDate(long long v) { return v >= INT32_MIN && v <= INT32_MAX; }

  // Local calendar fields of a long date; false when it is not one.
  bool LocalTmOfLongDate(long longDate, struct tm& out);

  // One reading of the local clock, the fields the clock functions print.
  struct ClockReading {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
  };
  ClockReading ReadLocalClock();
  // Seconds since the epoch from the same clock as ReadLocalClock. time()
  // reads a coarser clock that can lag it by a tick, so a date read just
  // after a time of day could fall a second before it.
  time_t NowSeconds();
  // "H:M:S:ms" without leading zeros; out holds 13 bytes.
  void FormatClockReading(const ClockReading& reading, char* out);
  long MillisecondsOfDay(const ClockReading& reading);

  // The shapes the comparisons read without splitting a text into fields,
  // the list's own forms; any other text is read field by field, to the
  // same order, only slower.
  // "dd/mm/yyyy" in digits at the start, `separator` between: compared
  // byte by byte, year block first.
  bool PlainNumericDate(std::string_view text, char separator);
  // "hh:mm:ss" in digits as the last 8 characters (any character between
  // the fields): compared byte by byte.
  bool PlainTimeOfDay(std::string_view text);
  // A day and a month of two characters each, each followed by a character
  // of `separator`: the fields are taken at their places, untokenized.
  bool TwoCharacterDayAndMonth(std::string_view text, std::string_view separator);

  // View-based cores of the comparisons (see dateutil.h).
  int CompareTimesOfDay(std::string_view first, std::string_view second);
  int CompareDatesView(std::string_view first, std::string_view second, std::string_view separator);
  int CompareDateTimeView(std::string_view first, std::string_view second);

}  // namespace )
