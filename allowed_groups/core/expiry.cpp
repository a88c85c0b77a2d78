#include "allowed_groups/core/expiry.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "dateutil/dateutil.h"

namespace {

constexpr int64_t kIstOffset = 19800;             // UTC+05:30
constexpr int64_t kServerEpochShift = 315460800;  // the server counts from 1980-01-01 IST

// Leading decimal digits of a date part, as atoi reads them but clamped to
// a safe range instead of overflowing.
int PartNumber(const CString& text) {
  const long value = std::strtol(text, nullptr, 10);
  return static_cast<int>(std::clamp(value, -100000L, 100000L));
}

bool IsEndOfDayKind(int kind) {
  switch (kind) {
    case 6:
    case 9:
    case 10:
    case 13:
    case 14:
    case 16:
    case 18: return true;
    default: return false;
  }
}

bool Impossible(int day, int month, int year) {
  if (month > 12 || day > 31) return true;
  if (month == 2 && ((day > 28 && year % 4 != 0) || day > 29)) return true;
  return day == 31 && (month == 2 || month == 4 || month == 6 || month == 9 || month == 11);
}

}  // namespace

int32_t ConvertExpiryToSeconds(const CString& text, int kind) {
  const CString date = text.Left(35);
  int day = 0, month = 0, year = 0;
  if (!date.IsEmpty() && date.Find('/') < 0) {
    day = PartNumber(date.Mid(0, 2));
    month = GetMonthNumber(date.Mid(2, 3));
    year = PartNumber(date.Mid(5, 4));
  } else {
    int position = 0;
    const CString d = date.Tokenize("/", position);
    // Past the last token Tokenize gives empty texts: a missing part reads as empty.
    const CString m = date.Tokenize("/", position);
    const CString y = date.Tokenize("/", position);
    if (d.IsEmpty() || m.IsEmpty() || y.IsEmpty()) return -1;
    day = PartNumber(d);
    month = PartNumber(m);
    year = PartNumber(y);
  }
  if (Impossible(day, month, year)) return -2;

  // The calendar date in IST: UTC arithmetic (normalising day 0 and the
  // like, as a calendar conversion does) less the fixed offset. No zone
  // setting of the process is touched, so other threads are unaffected.
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  const bool endOfDay = IsEndOfDayKind(kind);
  parts.tm_hour = endOfDay ? 23 : 0;
  parts.tm_min = endOfDay ? 59 : 0;
  parts.tm_sec = endOfDay ? 59 : 0;
  int64_t seconds = static_cast<int64_t>(::timegm(&parts)) - kIstOffset;
  if (kind == 6 || kind == 9) seconds += kIstOffset;
  if (kind == 4 || kind == 5 || kind == 8) seconds -= kServerEpochShift;
  // A day's seconds fall at 00:00:00 or 23:59:59 plus a fixed shift, never on
  // either end of 32 bits itself: what does not fit is no expiry.
  if (seconds != static_cast<int32_t>(seconds)) return -2;
  return static_cast<int32_t>(seconds);
}
