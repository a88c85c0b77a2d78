#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

constexpr long kJan5At0200Utc = 1704420000;  // 2024-01-05 02:00:00 UTC, a Friday

// That instant is 07:30 in Kolkata and 21:00 the day before in New York.
class LongDateText : public InZone {
 protected:
  std::string Day() const { return GetParam().januaryOffset < 0 ? "04" : "05"; }
  std::string Clock() const {
    return GetParam().januaryOffset == 0 ? "02:00:00" : GetParam().januaryOffset > 0 ? "07:30:00" : "21:00:00";
  }
};

TEST_P(LongDateText, NseConversionsUseLocalTimeAndRejectNoDate) {
  char out[50];
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(kJan5At0200Utc, out), 1);
  EXPECT_EQ(out, Day() + "Jan2024");
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(kJan5At0200Utc, out), 1);
  EXPECT_EQ(out, Day() + "Jan2024 " + Clock());
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(2147483647L, out), 1) << "the last second of 32 bits is a date";
  std::strcpy(out, "stale");
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(1L << 31, out), 0);
  EXPECT_STREQ(out, "");
}

TEST_P(LongDateText, FormatCodesWithinTheirByteLimits) {
  const std::string dd = Day();
  const std::string texts[] = {dd + "Jan2024", dd + "JAN2024", dd,           dd + "Jan",
                               dd + "JAN",     "01/" + dd + "/24", dd + "-01-2024", dd + "/01/2024"};
  for (int code = -1; code <= 8; ++code) {
    char out[32];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, kJan5At0200Utc, code), 1);
    const bool known = code >= 0 && code <= 7;
    EXPECT_EQ(out, known ? texts[code] : "") << "code " << code;
    EXPECT_EQ(out[known ? 11 : 4], '#') << "code " << code;  // 11 bytes at the most; unknown codes clear 4
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
  const CTime t(kJan5At0200Utc);
  const std::string dd = Day();
  const std::string expected[] = {"", dd + "/01", dd + "/01/24", dd + "-Jan", dd + "-Jan-24", "Jan-24", dd + "-01-2024",
                                  dd + "-Jan-2024", ""};
  for (int code = 0; code <= 8; ++code) EXPECT_EQ(DateFormat(t, code), expected[code].c_str()) << "code " << code;
  EXPECT_EQ(DateFormat(CTime(-1), 6), "");
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
