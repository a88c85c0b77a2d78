// Long dates and CTime values to text.
#include <cctype>
#include <cstring>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace dateutil {

bool LocalTmOfLongDate(long longDate, struct tm& out) {
  if (!FitsLongDate(longDate)) {
    return false;
  }
  const time_t t = longDate;
  return ::localtime_r(&t, &out) != nullptr;
}

}  // namespace dateutil

namespace {

// strftime into out[0..size); an empty text when it does not fit.
void FormatInto(char* out, size_t size, const char* format, const struct tm& t) {
  if (std::strftime(out, size, format, &t) == 0) {
    out[0] = '\0';
  }
}

void UpperCase(char* text) {
  for (; *text != '\0'; ++text) {
    *text = static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
  }
}

// Shared by the two "nse_fo" conversions: below 1 is no date.
int LongDateToText(long longDate, char* out, const char* format) {
  if (out == nullptr) {
    return 0;
  }
  out[0] = '\0';
  struct tm t = {};
  if (longDate < 1 || !dateutil::LocalTmOfLongDate(longDate, t)) {
    return 0;
  }
  FormatInto(out, 50, format, t);
  return 1;
}

}  // namespace

CString DateFormat(CTime time, int code) {
  static constexpr const char* kFormats[] = {"%d/%m", "%d/%m/%y", "%d-%b", "%d-%b-%y", "%b-%y", "%d-%m-%Y", "%d-%b-%Y"};
  struct tm t = {};
  if (code < 1 || code > 7 || time.GetTime() < 0 || time.GetLocalTm(&t) == nullptr) {
    return CString();
  }
  char buf[15];
  FormatInto(buf, sizeof buf, kFormats[code - 1], t);
  return CString(buf);
}

int tarnu_convert_longdate_to_Stringdate_month_year_as_required(char* out, long longDate, int code) {
  struct Layout {
    const char* format;
    size_t maxBytes;
    bool upperCase = false;  // only a month's name has a case
  };
  static constexpr Layout kLayouts[] = {
      {"%d%b%Y", 10}, {"%d%b%Y", 10, true}, {"%d", 5},        {"%d%b", 6},
      {"%d%b", 6, true}, {"%x", 11},        {"%d-%m-%Y", 11}, {"%d/%m/%Y", 11},
  };
  if (out == nullptr) {
    return 1;
  }
  std::memset(out, 0, 4);
  struct tm t = {};
  if (code < 0 || code > 7 || longDate < 0 || !dateutil::LocalTmOfLongDate(longDate, t)) {
    return 1;
  }
  const Layout& layout = kLayouts[code];
  FormatInto(out, layout.maxBytes, layout.format, t);
  if (layout.upperCase) {
    UpperCase(out);
  }
  return 1;
}

int tarnu_check_for_current_month_expiry(long longDate) {
  struct tm date = {};
  if (longDate < 1 || !dateutil::LocalTmOfLongDate(longDate, date)) {
    return 0;
  }
  const time_t now = dateutil::NowSeconds();
  struct tm today = {};
  if (::localtime_r(&now, &today) == nullptr) {
    return 0;
  }
  return date.tm_year == today.tm_year && date.tm_mon == today.tm_mon ? 1 : 0;
}

int nse_fo_tarnu_convert_long_to_date(long longDate, char* out) { return LongDateToText(longDate, out, "%d%b%Y"); }

int nse_fo_tarnu_convert_long_to_datetime(long longDate, char* out) {
  return LongDateToText(longDate, out, "%d%b%Y %H:%M:%S");
}

int Convert_longDate_to_IstDateString(long longDate, CString& text) {
  text.Empty();
  if (longDate < 1 || !dateutil::FitsLongDate(longDate)) {
    return 0;
  }
  // Indian Standard Time is UTC+05:30 all year: shifting and reading the
  // result as UTC gives its calendar date on a machine in any zone.
  const time_t shifted = static_cast<time_t>(longDate) + 19800;
  struct tm t = {};
  if (::gmtime_r(&shifted, &t) == nullptr) {
    return 0;
  }
  char buf[16];
  FormatInto(buf, sizeof buf, "%d/%m/%Y", t);
  text = buf;
  return 1;
}
