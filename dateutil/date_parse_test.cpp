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
  static long Parse(std::string text) { return Convert_DateString_to_longDate(text.data()); }
};

constexpr long kJan5_103015 = 1704450615;  // 2024-01-05 10:30:15 as if UTC
constexpr long kJan1 = 1704067200;         // 2024-01-01 00:00:00 as if UTC

// Each text is read as local time with the daylight flag 0, so also a July
// time is standard time: the expected long date is the one given less the
// zone's January offset.
TEST_P(DateParse, DateAndTimeAsLocalStandardTime) {
  const struct { std::string text; long asIfUtc; } cases[] = {
      {"05/01/2024 10:30:15", kJan5_103015}, {"5/1/2024 10:30:15", kJan5_103015},
      {"05/Jan/2024 10:30:15", kJan5_103015}, {"05/Foo/2024 10:30:15", kJan5_103015},  // another name is January
      {"+5/+1/2024 10:30:15", kJan5_103015},                                             // fields as atoi reads them
      {"+-5/1/2024 00:00:00", kJan1 - 86400}, {"--5/1/2024 00:00:00", kJan1 - 86400},   // a second sign reads 0
      {"05/01/2024 10:30:15" + std::string(236, ' '), kJan5_103015},                    // 255 characters, the most
      {"05/01/2024", kJan5_103015 - 37815}, {"05/01/2024  ", kJan5_103015 - 37815},      // no time: midnight
      {"05/07/2024 12:00:00", 1720180800}, {"01/01/1950 00:00:00", -631152000},         // before the epoch, in range
      // Day or month 0 or below rolls back: 31 and 30 Dec, then 1 Dec 2023.
      {"0/1/2024 00:00:00", kJan1 - 86400}, {"-1/1/2024 00:00:00", kJan1 - 2 * 86400},
      {"1/0/2024 00:00:00", 1701388800},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.asIfUtc - GetParam().januaryOffset) << c.text;
}

TEST_P(DateParse, MissingAndOutOfRangeFields) {
  for (const char* missing : {"5/1", "", "05/01/2024 10:30", "05/01/2024 10/30/15"}) {
    EXPECT_EQ(Parse(missing), -1) << missing;
  }
  EXPECT_EQ(Convert_DateString_to_longDate(nullptr), -1);
  // Past the month's days or 12 months; outside the 32-bit long date; over 255 characters.
  for (const std::string& bad :
       std::initializer_list<std::string>{"1/13/2024", "32/01/2024", "29/02/2023", "30/02/2024", "31/04/2024",
                                          "31/11/2024", "01/01/2100", "01/01/1800", "1/1/99999999999",
                                          "05/01/2024 10:30:15" + std::string(240, ' ')}) {
    EXPECT_EQ(Parse(bad), -2) << bad;
  }
}

TEST_P(DateParse, ConvertDateFormatTakesTheTimeOfDayFromNow) {
  long out = 12345;
  EXPECT_EQ(ConvertDateFormat("29/02/2023", out), -2);
  EXPECT_EQ(ConvertDateFormat("5/1", out), -1);
  EXPECT_EQ(out, 12345);  // untouched on failure
  ASSERT_EQ(ConvertDateFormat("29/02/2024", out), 1);
  const time_t asTime = out;
  const time_t now = std::time(nullptr);
  struct tm local = {}, today = {};
  ::localtime_r(&asTime, &local);
  ::localtime_r(&now, &today);
  EXPECT_EQ((std::array<int, 3>{local.tm_year, local.tm_mon, local.tm_mday}), (std::array<int, 3>{124, 1, 29}));
  const long secondsOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  const long nowOfDay = today.tm_hour * 3600 + today.tm_min * 60 + today.tm_sec;
  // Same time of day, give or take a second or the hour of summer time.
  EXPECT_TRUE(std::labs(secondsOfDay - nowOfDay) <= 2 || std::labs(std::labs(secondsOfDay - nowOfDay) - 3600) <= 2)
      << secondsOfDay << " vs " << nowOfDay;
}

// The calendar structure keeps its own conventions: day, month 1 to 12, the
// year as written, then h, m, s; filling stops at the first missing part.
TEST_P(DateParse, CalendarStructureKeepsItsOwnConventions) {
  using F = std::array<int, 6>;
  const std::pair<const char*, F> cases[] = {
      {"05-Jan-2024 10:30:15", {5, 1, 2024, 10, 30, 15}}, {"05-Dec-2024", {5, 12, 2024, 0, 0, 0}},
      {"07-jan 11:12:13", {7, 1, 0, 0, 0, 0}}, {" 05-Jan-2024", {}},
  };
  for (const auto& [text, fields] : cases) {
    struct tm t;
    std::memset(&t, 0x5a, sizeof t);
    std::string copy(text);
    tarnu_get_date_time_in_TM(copy.data(), &t);
    EXPECT_EQ(F({t.tm_mday, t.tm_mon, t.tm_year, t.tm_hour, t.tm_min, t.tm_sec}), fields) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, DateParse, testing::ValuesIn(kZones), ZoneName);

}  // namespace
