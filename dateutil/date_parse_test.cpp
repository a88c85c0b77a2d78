#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

class DateParse : public InZone {
 protected:
  long Parse(const char* text) {
    std::string copy(text);
    return Convert_DateString_to_longDate(copy.data());
  }
  // A January local time of the zone as a long date.
  long January(long utcSeconds) const { return utcSeconds - GetParam().januaryOffset; }
};

constexpr long kJan5_103015 = 1704450615;  // 2024-01-05 10:30:15 as if UTC

TEST_P(DateParse, DateAndTimeAsLocalTime) {
  EXPECT_EQ(Parse("05/01/2024 10:30:15"), January(kJan5_103015));
  EXPECT_EQ(Parse("5/1/2024 10:30:15"), January(kJan5_103015));
  EXPECT_EQ(Parse("05/Jan/2024 10:30:15"), January(kJan5_103015));
  EXPECT_EQ(Parse("05/Foo/2024 10:30:15"), January(kJan5_103015));  // any other name is January
  EXPECT_EQ(Parse("05/01/2024"), January(kJan5_103015 - 37815));    // no time: midnight
  EXPECT_EQ(Parse("05/01/2024  "), January(kJan5_103015 - 37815));
  EXPECT_EQ(Parse("+5/+1/2024 10:30:15"), January(kJan5_103015));  // day and month as atoi reads them
  // The daylight flag is 0: a July time is read as standard time.
  EXPECT_EQ(Parse("05/07/2024 12:00:00"), 1720180800 - GetParam().januaryOffset);
}

TEST_P(DateParse, MissingAndOutOfRangeFields) {
  EXPECT_EQ(Parse("5/1"), -1);
  EXPECT_EQ(Parse(""), -1);
  EXPECT_EQ(Parse("05/01/2024 10:30"), -1);
  EXPECT_EQ(Parse("05/01/2024 10/30/15"), -1);  // the time is ":" separated
  EXPECT_EQ(Parse("1/13/2024"), -2);
  EXPECT_EQ(Parse("32/01/2024"), -2);
  EXPECT_EQ(Parse("29/02/2023"), -2);
  EXPECT_EQ(Parse("30/02/2024"), -2);
  EXPECT_EQ(Parse("31/04/2024"), -2);
  EXPECT_EQ(Parse("31/11/2024"), -2);
  EXPECT_EQ(Parse("01/01/2100"), -2);  // past 2038: no 32-bit long date
  EXPECT_EQ(Parse("01/01/1800"), -2);
  EXPECT_EQ(Parse("01/01/1950 00:00:00"), January(-631152000));  // before the epoch but in range
  EXPECT_EQ(Parse("1/1/99999999999"), -2);
  EXPECT_EQ(Convert_DateString_to_longDate(nullptr), -1);
  EXPECT_EQ(Parse(("05/01/2024 10:30:15" + std::string(240, ' ')).c_str()), -2);  // over 255 characters
}

TEST_P(DateParse, ZeroOrNegativeDayOrMonthRollsBack) {
  EXPECT_EQ(Parse("0/1/2024 00:00:00"), January(1704067200 - 86400));       // 31 Dec 2023
  EXPECT_EQ(Parse("-1/1/2024 00:00:00"), January(1704067200 - 2 * 86400));  // 30 Dec 2023
  const long lastDecember = Parse("1/0/2024 00:00:00");                     // 1 Dec 2023
  EXPECT_EQ(lastDecember, January(1701388800));
}

TEST_P(DateParse, ConvertDateFormatTakesTheTimeOfDayFromNow) {
  long out = 12345;
  EXPECT_EQ(ConvertDateFormat("29/02/2023", out), -2);
  EXPECT_EQ(ConvertDateFormat("31/04/2024", out), -2);
  EXPECT_EQ(ConvertDateFormat("30/02/2024", out), -2);
  EXPECT_EQ(ConvertDateFormat("1/13/2024", out), -2);
  EXPECT_EQ(ConvertDateFormat("5/1", out), -1);
  EXPECT_EQ(out, 12345);  // untouched on failure
  ASSERT_EQ(ConvertDateFormat("29/02/2024", out), 1);
  const time_t asTime = out;
  struct tm local = {};
  ::localtime_r(&asTime, &local);
  EXPECT_EQ(local.tm_year, 124);
  EXPECT_EQ(local.tm_mon, 1);
  EXPECT_EQ(local.tm_mday, 29);
  const time_t now = std::time(nullptr);
  struct tm today = {};
  ::localtime_r(&now, &today);
  const long secondsOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  const long nowOfDay = today.tm_hour * 3600 + today.tm_min * 60 + today.tm_sec;
  // Same time of day, give or take a second or the hour of summer time.
  EXPECT_TRUE(std::labs(secondsOfDay - nowOfDay) <= 2 || std::labs(std::labs(secondsOfDay - nowOfDay) - 3600) <= 2)
      << secondsOfDay << " vs " << nowOfDay;
}

// The fields tarnu_get_date_time_in_TM fills: day, month, year, h, m, s.
std::array<int, 6> Fields(const char* text) {
  struct tm t;
  std::memset(&t, 0x5a, sizeof t);
  std::string copy(text);
  tarnu_get_date_time_in_TM(copy.data(), &t);
  EXPECT_EQ(t.tm_wday, 0);
  EXPECT_EQ(t.tm_yday, 0);
  EXPECT_EQ(t.tm_isdst, 0);
  return {t.tm_mday, t.tm_mon, t.tm_year, t.tm_hour, t.tm_min, t.tm_sec};
}

TEST_P(DateParse, CalendarStructureKeepsItsOwnConventions) {
  using F = std::array<int, 6>;
  // Month 1 to 12 and the year as written.
  EXPECT_EQ(Fields("05-Jan-2024 10:30:15"), (F{5, 1, 2024, 10, 30, 15}));
  EXPECT_EQ(Fields("05-Dec-2024"), (F{5, 12, 2024, 0, 0, 0}));
  // A lower-case name is January; the missing year stops the fill.
  EXPECT_EQ(Fields("07-jan 11:12:13"), (F{7, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Fields("05-Jan-2024 10"), (F{5, 1, 2024, 10, 0, 0}));
  EXPECT_EQ(Fields(" 05-Jan-2024"), (F{}));
  EXPECT_EQ(Fields(""), (F{}));
  // Cut at 31 characters: the seconds beyond them are not read.
  EXPECT_EQ(Fields("05-Jan-2024 10:30:0000000000000000000000000009"), (F{5, 1, 2024, 10, 30, 0}));

  struct tm t;
  std::memset(&t, 0x5a, sizeof t);
  tarnu_get_date_time_in_TM(nullptr, &t);
  EXPECT_EQ(t.tm_mday, 0);
  char text[] = "05-Jan-2024";
  tarnu_get_date_time_in_TM(text, nullptr);  // no crash
}

INSTANTIATE_TEST_SUITE_P(Zones, DateParse, testing::ValuesIn(kZones), ZoneName);

// A zone the machine has no file for reads as UTC. The runtime's failed look
// for the file leaves errno set although the conversion succeeded.
TEST(DateParseUnknownZone, ReadsAsUtc) {
  const ScopedZone restore("UTC");
  ::setenv("TZ", "Nowhere/Unknown", 1);  // no tzset: the conversion looks the zone up first
  std::string text = "05/01/2024 10:30:15";
  EXPECT_EQ(Convert_DateString_to_longDate(text.data()), kJan5_103015);
}

}  // namespace
