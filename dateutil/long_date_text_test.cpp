#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

constexpr long kJan5At0200Utc = 1704420000;  // 2024-01-05 02:00:00 UTC, a Friday
constexpr long kJul5At1930Utc = 1720207800;  // 2024-07-05 19:30:00 UTC

// The same instant read in each zone: a different day in New York.
struct Expected {
  const char* date;      // %d%b%Y
  const char* dateTime;  // %d%b%Y %H:%M:%S
  const char* istDate;   // the same in every zone
};

Expected ExpectedFor(const std::string& tz) {
  if (tz == "Asia/Kolkata") {
    return {"05Jan2024", "05Jan2024 07:30:00", "05/01/2024"};
  }
  if (tz == "America/New_York") {
    return {"04Jan2024", "04Jan2024 21:00:00", "05/01/2024"};
  }
  return {"05Jan2024", "05Jan2024 02:00:00", "05/01/2024"};
}

class LongDateText : public InZone {};

TEST_P(LongDateText, NseConversionsUseLocalTimeAndRejectNoDate) {
  const Expected e = ExpectedFor(GetParam().tz);
  char out[50];
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(kJan5At0200Utc, out), 1);
  EXPECT_STREQ(out, e.date);
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(kJan5At0200Utc, out), 1);
  EXPECT_STREQ(out, e.dateTime);
  for (const long noDate : {0L, -5L, 1L << 32, -(1L << 31) - 1}) {
    std::strcpy(out, "stale");
    EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(noDate, out), 0) << noDate;
    EXPECT_STREQ(out, "");
    std::strcpy(out, "stale");
    EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(noDate, out), 0) << noDate;
    EXPECT_STREQ(out, "");
  }
}

TEST_P(LongDateText, FormatCodesWithinTheirByteLimits) {
  const std::string day = ExpectedFor(GetParam().tz).date;  // "05Jan2024" or "04Jan2024"
  const std::string dd = day.substr(0, 2);
  const struct {
    int code;
    std::string text;
  } cases[] = {
      {0, day},
      {1, dd + "JAN2024"},
      {2, dd},
      {3, dd + "Jan"},
      {4, dd + "JAN"},
      {5, "01/" + dd + "/24"},
      {6, dd + "-01-2024"},
      {7, dd + "/01/2024"},
  };
  for (const auto& c : cases) {
    char out[32];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, kJan5At0200Utc, c.code), 1);
    EXPECT_EQ(out, c.text) << "code " << c.code;
    EXPECT_EQ(out[11], '#') << "code " << c.code;  // 11 bytes at the most
  }
  for (const int code : {-1, 8}) {
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, kJan5At0200Utc, code), 1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(out[4], '#');  // only the first 4 bytes are cleared
  }
  char out[16];
  tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, -86400, 0);
  EXPECT_STREQ(out, "");  // before the epoch: no local date given
  tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, 1L << 40, 0);
  EXPECT_STREQ(out, "");
  tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, 0, 6);
  EXPECT_STREQ(out, GetParam().januaryOffset < 0 ? "31-12-1969" : "01-01-1970");  // 0 is a date here
}

TEST_P(LongDateText, DateFormatCodes) {
  const bool newYork = GetParam().januaryOffset < 0;
  const CTime t(kJan5At0200Utc);
  const char* dd = newYork ? "04" : "05";
  const std::string expected[] = {std::string(dd) + "/01",
                                  std::string(dd) + "/01/24",
                                  std::string(dd) + "-Jan",
                                  std::string(dd) + "-Jan-24",
                                  "Jan-24",
                                  std::string(dd) + "-01-2024",
                                  std::string(dd) + "-Jan-2024"};
  for (int code = 1; code <= 7; ++code) {
    EXPECT_EQ(DateFormat(t, code), expected[code - 1].c_str()) << "code " << code;
  }
  EXPECT_EQ(DateFormat(t, 0), "");
  EXPECT_EQ(DateFormat(t, 8), "");
  EXPECT_EQ(DateFormat(CTime(-1), 6), "");
}

TEST_P(LongDateText, IstDateIsTheSameInEveryZone) {
  CString text("stale");
  EXPECT_EQ(Convert_longDate_to_IstDateString(kJan5At0200Utc, text), 1);
  EXPECT_EQ(text, "05/01/2024");
  // 18:29:59 UTC is 23:59:59 IST and 18:30:00 UTC the next IST day, also
  // when New York keeps summer time.
  EXPECT_EQ(Convert_longDate_to_IstDateString(1720204199, text), 1);
  EXPECT_EQ(text, "05/07/2024");
  EXPECT_EQ(Convert_longDate_to_IstDateString(1720204200, text), 1);
  EXPECT_EQ(text, "06/07/2024");
  EXPECT_EQ(Convert_longDate_to_IstDateString(kJul5At1930Utc, text), 1);
  EXPECT_EQ(text, "06/07/2024");
  EXPECT_EQ(Convert_longDate_to_IstDateString(0, text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(Convert_longDate_to_IstDateString(1L << 33, text), 0);
}

TEST_P(LongDateText, CurrentMonthComparesYearAndMonthOnly) {
  const time_t now = std::time(nullptr);
  struct tm local = {};
  ::localtime_r(&now, &local);
  local.tm_mday = 1;  // first of this month, noon
  local.tm_hour = 12;
  local.tm_isdst = -1;
  const long first = static_cast<long>(std::mktime(&local));
  EXPECT_EQ(tarnu_check_for_current_month_expiry(first), 1);
  EXPECT_EQ(tarnu_check_for_current_month_expiry(first - 86400), 0);         // last day of the previous month
  EXPECT_EQ(tarnu_check_for_current_month_expiry(first + 366L * 86400), 0);  // same month next year
  EXPECT_EQ(tarnu_check_for_current_month_expiry(0), 0);
  EXPECT_EQ(tarnu_check_for_current_month_expiry(first + (1L << 32)), 0);
}

INSTANTIATE_TEST_SUITE_P(Zones, LongDateText, testing::ValuesIn(kZones), ZoneName);

}  // namespace
