// The clock and the sixteen fixed time forms.
#include <time.h>

#include <cstdio>
#include <cstring>

#include "mml/mml.h"
#include "mml/status.h"

namespace {

// Room reserved behind the used length before formatting: the longest form
// (24 characters) and its terminating zero fit.
constexpr int32_t kFormatRoom = 26;

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum class Zone { None, Local, Utc };

Zone zone_of(int32_t form) {
  switch (form) {
    case 8:
    case 9: return Zone::None;
    case 6:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16: return Zone::Utc;
    default: return Zone::Local;
  }
}

// The C library's date text, "Www Mmm dd hh:mm:ss yyyy" (24 characters),
// with a blank in the day's tens place written as "0".
int c_date_text(char* out, size_t room, const tm& t) {
  return std::snprintf(out, room, "%.3s %.3s %02d %02d:%02d:%02d %d", kWeekdays[t.tm_wday % 7], kMonths[t.tm_mon % 12],
                       t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
}

int format(char* out, size_t room, int32_t form, const os_time& v, const tm& t) {
  const int year = t.tm_year + 1900;
  const int month = t.tm_mon + 1;
  switch (form) {
    case 1: return std::snprintf(out, room, "%02d-%02d-%02d", month, t.tm_mday, year % 100);
    case 2:
    case 12: return std::snprintf(out, room, "%04d%02d%02d", year, month, t.tm_mday);
    case 3: return std::snprintf(out, room, "%02d%02d%02d", month, t.tm_mday, year % 100);
    case 4:
    case 13: return c_date_text(out, room, t);
    case 5: return std::snprintf(out, room, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    case 6:
    case 7: return std::snprintf(out, room, "%02d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
    case 8: return std::snprintf(out, room, "%06ld", static_cast<long>(v.usec));
    case 9: return std::snprintf(out, room, "%010ld", static_cast<long>(v.sec));
    case 10:
      return std::snprintf(out, room, "%3.3s %3.3s %02d", kWeekdays[t.tm_wday % 7], kMonths[t.tm_mon % 12], t.tm_mday);
    case 11: return std::snprintf(out, room, "%04d-%02d-%02d", year, month, t.tm_mday);
    case 14:
      return std::snprintf(out, room, "%04d%02d%02d-%02d:%02d:%02d.%03ld", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                           t.tm_sec, static_cast<long>(v.usec / 1000));
    case 15:
      return std::snprintf(out, room, "%04d%02d%02d-%02d:%02d:%02d.%06ld", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                           t.tm_sec, static_cast<long>(v.usec));
    case 16:
      return std::snprintf(out, room, "%04d%02d%02d-%02d:%02d:%02d", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                           t.tm_sec);
    default: return -1;
  }
}

}  // namespace

extern "C" int os_time_now(os_time* t, int* err) {
  if (t == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return mml::fail(err, mml::OsStatus::kSystem);
  t->sec = static_cast<int32_t>(now.tv_sec);
  t->usec = static_cast<int32_t>(now.tv_nsec / 1000000) * 1000;
  return mml::succeed(err);
}

extern "C" int os_time_format(const os_time* t, buf_hndl b, int32_t form, int* err) {
  if (t == nullptr || b == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  if (form < 1 || form > 16) return mml::fail(err, mml::OsStatus::kBadArgument);
  if (b->used > INT32_MAX - kFormatRoom) return mml::fail(err, mml::OsStatus::kBufferFull);
  if (buf_reserve(b, b->used + kFormatRoom, nullptr) == 0) return mml::fail(err, mml::OsStatus::kBufferFull);

  tm parts{};
  const time_t seconds = t->sec;
  const Zone zone = zone_of(form);
  if (zone == Zone::Local && localtime_r(&seconds, &parts) == nullptr) return mml::fail(err, mml::OsStatus::kSystem);
  if (zone == Zone::Utc && gmtime_r(&seconds, &parts) == nullptr) return mml::fail(err, mml::OsStatus::kSystem);

  char* out = b->data + b->used;
  const int written = format(out, kFormatRoom, form, *t, parts);
  // A time outside the forms' widths (a microsecond part out of range, a
  // year past 9999) would not fit; refuse it rather than truncate. A failed
  // snprintf's -1 turns into a count far too long.
  if (static_cast<uint32_t>(written) >= static_cast<uint32_t>(kFormatRoom)) {
    out[0] = '\0';
    return mml::fail(err, mml::OsStatus::kBadArgument);
  }
  b->used += written;
  return mml::succeed(err);
}
