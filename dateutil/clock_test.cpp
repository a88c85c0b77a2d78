#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

class ClockInZone : public InZone {};

TEST_P(ClockInZone, ClockFunctionsReadTheLocalClock) {
  const time_t before = std::time(nullptr);
  char out[40];
  GetCorrectTime(out);
  struct tm parsed = {};
  const char* rest = ::strptime(out, "%d/%m/%Y  %H:%M:%S", &parsed);
  ASSERT_NE(rest, nullptr) << out;
  EXPECT_EQ(*rest, '\0');
  parsed.tm_isdst = -1;
  const time_t read = std::mktime(&parsed);
  EXPECT_LE(before, read);
  EXPECT_LE(read, std::time(nullptr));

  struct tm local = {};
  ::localtime_r(&before, &local);
  const long ms = tarnu_get_time_in_mili_seconds();
  const long expected = (local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec) * 1000L;
  // Allow for the second boundary and a midnight roll-over between readings.
  EXPECT_TRUE((ms >= expected && ms < expected + 3000) || ms < 3000) << ms << " vs " << expected;

  tarnu_get_local_time(out);
  EXPECT_LE(std::strlen(out), 12u);
  EXPECT_EQ(std::count(out, out + std::strlen(out), ':'), 3);
}

INSTANTIATE_TEST_SUITE_P(Zones, ClockInZone, testing::ValuesIn(kZones), ZoneName);

TEST(HourMinSec, SeparatorsMissingPartsAndLengthLimit) {
  const struct { const char* text; long seconds; } cases[] = {
      {"09:30:15", 34215}, {"9,30,15", 34215}, {"9-30-15", 34215}, {"2", 7200}, {"", 0}, {"ab:1x:2", 62},
      {"1: 2:\t3", 3723},                      // white space before a number, as atoi skips it
      {"::5", 18000},                          // empty parts are skipped, not zero
      {"000000001:00:0045", 3600},             // only the first 15 characters count
      {"99999999999999", 2147483647L * 3600},  // saturates, no overflow
  };
  for (const auto& c : cases) {
    long s = -1;
    EXPECT_EQ(tarnu_cnvrt_hrminsec_to_sec(s, c.text), 1);
    EXPECT_EQ(s, c.seconds) << c.text;
  }
}

}  // namespace
