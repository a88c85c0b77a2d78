#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

// Plain "dd/mm/yyyy HH:MM:SS" dates are left to the random test below. The
// fields count, not what joins them; month names read as 0 with a separator;
// order factors scale and clamp; unequal lengths are byte-wise, second against
// first; times put AM before PM, do not fold the 12-hour clock and read only
// their first 8 characters.
TEST(CompareDateTime, FormsLengthsTimesAndTheOrderFactor) {
  const struct { const char *a, *b; int order, expected; } cases[] = {
      {"05/01/2024 10:30:15", "05/01/2024T09:30:15", 1, 1}, {"05-Jan-2024", "05-Feb-2024", 1, 0},
      {"05Jan2024", "05Feb2024", 1, -1}, {"05Dec2023", "01Jan2024", 1, -1}, {"05Jan2024", "05Jan2024", 7, 0},
      {"05/01/2024", "06/01/2024", -1, 1}, {"05/01/2024", "06/01/2024", 5, -5},
      {"05/01/2024", "04/01/2024", INT_MIN, INT_MIN}, {"05/01/2024", "06/01/2024", INT_MIN, INT_MAX},
      {"9:30:00", "10:30:00", 1, -1}, {"5/1/2024", "05/01/2024", 1, -1}, {"", "x", -1, -1},
      {"10:00:00 PM", "11:00:00 AM", 1, 1}, {"11:00:00 AM", "10:00:00 PM", -1, 1},
      {"12:10:00 AM", "01:10:00 AM", 1, 1}, {"10:00:01", "10:00:00", 1, 1}, {"09:00:00 XY", "09:00:00 ZZ", 1, 0},
  };
  for (const auto& c : cases) {
    std::string a = c.a, b = c.b;
    EXPECT_EQ(CompareDateTime1(a.data(), b.data(), c.order), c.expected) << c.a << " vs " << c.b << " x" << c.order;
  }
  EXPECT_EQ(CompareDateTime1(nullptr, nullptr, 1), 0);
}

// Seconds alone, minutes and seconds, a date before the time; lengths past
// the terminator are cut, and no text at all reads 0.
TEST(CompareTimesOfDay, FieldsFromTheEndAndLengthsCutAtTheTerminator) {
  const struct { const char* a; int la; const char* b; int lb, expected; } cases[] = {
      {"12", 2, "13", 2, -1}, {"date 09:00:00", 13, "10:00:00", 8, -1}, {"05:00", 5, "04:59", 5, 1},
      {"10:30:15", 100, "10:30:14", 8, 1}, {"10:30:15", -3, "00:00:00", 8, 0},
  };
  for (const auto& c : cases) {
    std::string a = c.a, b = c.b;
    EXPECT_EQ(comparedate1(a.data(), c.la, b.data(), c.lb), c.expected) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(comparedate1(nullptr, 5, nullptr, 5), 0);
}

TEST(CompareDateTime, AgreesWithFieldOrderOnRandomDateTimes) {
  // The list's own form, compared against a plain (y, m, d, H, M, S) order.
  // Half the pairs have one-digit days written without padding, which takes
  // the tokenizing path instead of the fixed-position one.
  std::mt19937 rng(7);
  const auto random = [&](char separator, bool padded, int f[6]) {
    f[0] = static_cast<int>(rng() % 3) + 2023;
    f[1] = static_cast<int>(rng() % 12) + 1;
    f[2] = static_cast<int>(rng() % (padded ? 28 : 9)) + 1;
    for (int i = 3; i < 6; ++i) f[i] = static_cast<int>(rng() % 3) * 29;  // few values: many ties
    char text[32];
    std::snprintf(text, sizeof text, padded ? "%02d%c%02d%c%04d %02d:%02d:%02d" : "%d%c%02d%c%04d %02d:%02d:%02d", f[2],
                  separator, f[1], separator, f[0], f[3], f[4], f[5]);
    return std::string(text);
  };
  for (int i = 0; i < 20000; ++i) {
    const char separator = i % 2 == 0 ? '/' : '-';
    int a[6], b[6];
    std::string x = random(separator, i % 4 < 2, a);
    std::string y = random(separator, i % 4 < 2, b);
    const int expected = std::lexicographical_compare(a, a + 6, b, b + 6) ? -1 : std::equal(a, a + 6, b) ? 0 : 1;
    ASSERT_EQ(CompareDateTime1(x.data(), y.data(), 1), expected) << x << " vs " << y;
  }
}

class TodayInZone : public InZone {};

TEST_P(TodayInZone, ComparesWithTodaysLocalDate) {
  const time_t now = std::time(nullptr);
  struct tm today = {};
  ::localtime_r(&now, &today);
  // {day delta, year delta, expected}: a later day number counts in the same month.
  for (const auto& [dayDelta, yearDelta, expected] : {std::tuple{0, 0, 0}, {0, 1, 1}, {0, -1, -1}, {40, 0, 1}}) {
    CString date(std::to_string(today.tm_mday + dayDelta) + "/" + std::to_string(today.tm_mon + 1) + "/" +
                 std::to_string(today.tm_year + 1900 + yearDelta));
    int result = 99;
    ASSERT_TRUE(CompareStringTimeWithCurrentTime(date, result)) << date.GetString();
    EXPECT_EQ(result, expected) << date.GetString();
  }
  int result = 99;
  for (const char* bad : {"", "0/1/2024", "1/0/2024", "1/1/0", "1/1", "1 /1/2024", "x/1/2024", "-1/1/2024"}) {
    CString notDate(bad);
    EXPECT_FALSE(CompareStringTimeWithCurrentTime(notDate, result)) << bad;
  }
  EXPECT_EQ(result, 99);
  CString spaced("\t9/ 9/ +9999");  // "%d" skips white space before a number and takes its sign
  EXPECT_TRUE(CompareStringTimeWithCurrentTime(spaced, result));
  EXPECT_EQ(result, 1);
}

INSTANTIATE_TEST_SUITE_P(Zones, TodayInZone, testing::ValuesIn(kZones), ZoneName);

}  // namespace
