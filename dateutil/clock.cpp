// Readings of the local clock.
#include <cstdio>
#include <cstring>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace dateutil {

ClockReading ReadLocalClock() {
  struct timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  struct tm local = {};
  ::localtime_r(&now.tv_sec, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(now.tv_nsec / 1000000)};
}

time_t NowSeconds() {
  struct timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec;
}

void FormatClockReading(const ClockReading& r, char* out) {
  // At most "23:59:59:999": 12 characters and the terminator.
  std::snprintf(out, 13, "%d:%d:%d:%d", r.hour, r.minute, r.second, r.millisecond);
}

long MillisecondsOfDay(const ClockReading& r) {
  return r.hour * 3600000L + r.minute * 60000L + r.second * 1000L + r.millisecond;
}

}  // namespace dateutil

void tarnu_get_local_time(char* out) {
  if (out != nullptr) {
    dateutil::FormatClockReading(dateutil::ReadLocalClock(), out);
  }
}

long tarnu_get_time_in_mili_seconds() { return dateutil::MillisecondsOfDay(dateutil::ReadLocalClock()); }

void GetCorrectTime(char* out) {
  if (out == nullptr) {
    return;
  }
  const time_t now = dateutil::NowSeconds();
  struct tm local = {};
  if (::localtime_r(&now, &local) == nullptr || std::strftime(out, 30, "%d/%m/%Y  %H:%M:%S", &local) == 0) {
    out[0] = '\0';
  }
}

int tarnu_cnvrt_hrminsec_to_sec(long& seconds, CString text) {
  // The text is read as a C string of at most 15 characters.
  const char* raw = text.GetString();
  const std::string_view view(raw, ::strnlen(raw, 15));
  const auto parts = dateutil::Split<3>(view, ":,-");
  long fields[3] = {0, 0, 0};
  for (size_t i = 0; i < parts.count; ++i) {
    fields[i] = dateutil::ReadDecimal(parts.part[i]);
  }
  seconds = fields[0] * 3600 + fields[1] * 60 + fields[2];
  return 1;
}
