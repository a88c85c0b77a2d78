#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <ctime>
#include <string>

#include "dateutil/dateutil.h"
#include "dateutil/testing/zone_fixture.h"

namespace {

int Compare(const char* a, const char* b, int order = 1) {
  std::string x(a);
  std::string y(b);
  return CompareDateTime1(x.data(), y.data(), order);
}

int Dates(const char* a, const char* b, const char* separator) {
  CString x(a);
  CString y(b);
  CString s(separator);
  return CompareDates1(x, y, s);
}

int Times(const char* a, int la, const char* b, int lb) {
  std::string x(a);
  std::string y(b);
  return comparedate1(x.data(), la, y.data(), lb);
}

TEST(CompareDateTime, DatesWithSeparatorsAndOrder) {
  EXPECT_EQ(Compare("05/01/2024", "06/01/2024", 1), -1);
  EXPECT_EQ(Compare("05/01/2024", "06/01/2024", -1), 1);
  EXPECT_EQ(Compare("05/01/2024 10:30:15", "05/01/2024 10:30:16"), -1);
  EXPECT_EQ(Compare("05/01/2024 10:30:15", "05/01/2024T09:30:15"), 1);  // fields, not what joins them
  EXPECT_EQ(Compare("05-Jan-2024", "05-Feb-2024"), 0);  // names read as 0 with a separator
  EXPECT_EQ(Compare("05Jan2024", "05Feb2024"), -1);
  EXPECT_EQ(Compare("05Dec2023", "01Jan2024"), -1);
  EXPECT_EQ(Compare("05Jan2024", "05Jan2024", 7), 0);
  EXPECT_EQ(Compare("05/01/2024", "06/01/2024", 5), -5);  // other factors scale
  EXPECT_EQ(Compare("05/01/2024", "04/01/2024", INT_MIN), INT_MIN);
  EXPECT_EQ(Compare("05/01/2024", "06/01/2024", INT_MIN), INT_MAX);  // clamped, not overflowed
}

TEST(CompareDateTime, UnequalLengthsAreByteWiseSecondAgainstFirst) {
  EXPECT_EQ(Compare("9:30:00", "10:30:00", 1), -1);
  EXPECT_EQ(Compare("5/1/2024", "05/01/2024", 1), -1);
  EXPECT_EQ(Compare("", "x", -1), -1);
  EXPECT_EQ(CompareDateTime1(nullptr, nullptr, 1), 0);
}

TEST(CompareDateTime, TimesAmPmNotFolded) {
  EXPECT_EQ(Compare("10:00:00 PM", "11:00:00 AM"), 1);
  EXPECT_EQ(Compare("11:00:00 AM", "10:00:00 PM", -1), 1);
  EXPECT_EQ(Compare("12:10:00 AM", "01:10:00 AM"), 1);  // 12-hour clock not folded
  EXPECT_EQ(Compare("10:00:01", "10:00:00"), 1);
  EXPECT_EQ(Compare("09:00:00 XY", "09:00:00 ZZ"), 0);  // only the first 8 characters
}

TEST(CompareDates, LengthsSeparatorsAndTails) {
  EXPECT_EQ(Dates("05/01/2024", "5/01/2024", "/"), -2);
  EXPECT_EQ(Dates("05/01/2024", "5/01/2024", ""), -2);
  EXPECT_EQ(Dates("05Jan2024", "04Feb2024", ""), -1);
  EXPECT_EQ(Dates("05Jan2025", "04Feb2024", ""), 1);
  EXPECT_EQ(Dates("05Jan2024 23:00:00", "05Jan2024 01:00:00", ""), 0);  // no times without a separator
  EXPECT_EQ(Dates("05/01/2024 23:00:00", "05/01/2024 01:00:00", "/"), 1);
  EXPECT_EQ(Dates("05/01", "06/01", "/"), -1);  // no year: 0 on both sides
  EXPECT_EQ(Dates("", "", "/"), 0);
  EXPECT_EQ(Dates("ab", "cd", ""), 0);  // too short: fields read 0 or January
}

TEST(CompareTimesOfDay, FieldsFromTheEnd) {
  EXPECT_EQ(Times("12", 2, "13", 2), -1);  // seconds only
  EXPECT_EQ(Times("date 09:00:00", 13, "10:00:00", 8), -1);
  EXPECT_EQ(Times("05:00", 5, "04:59", 5), 1);          // minutes and seconds
  EXPECT_EQ(Times("10:30:15", 100, "10:30:14", 8), 1);  // length cut at the terminator
  EXPECT_EQ(Times("10:30:15", -3, "00:00:00", 8), 0);   // no text at all reads 0
  EXPECT_EQ(comparedate1(nullptr, 5, nullptr, 5), 0);
}

TEST(CompareDateTime, AgreesWithFieldOrderOnRandomDateTimes) {
  // The list's own form, compared against a plain (y, m, d, H, M, S) order.
  std::mt19937 rng(7);
  // Half the pairs have one-digit days written without padding, which takes
  // the tokenizing path instead of the fixed-position one.
  const auto random = [&](char separator, bool padded, int f[6]) {
    f[0] = static_cast<int>(rng() % 3) + 2023;
    f[1] = static_cast<int>(rng() % 12) + 1;
    f[2] = static_cast<int>(rng() % (padded ? 28 : 9)) + 1;
    for (int i = 3; i < 6; ++i) {
      f[i] = static_cast<int>(rng() % 3) * 29;  // few values: many ties
    }
    char text[32];
    std::snprintf(text, sizeof text, padded ? "%02d%c%02d%c%04d %02d:%02d:%02d" : "%d%c%02d%c%04d %02d:%02d:%02d", f[2],
                  separator, f[1], separator, f[0], f[3], f[4], f[5]);
    return std::string(text);
  };
  for (int i = 0; i < 20000; ++i) {
    const char separator = i % 2 == 0 ? '/' : '-';
    int a[6];
    int b[6];
    const bool padded = i % 4 < 2;
    std::string x = random(separator, padded, a);
    std::string y = random(separator, padded, b);
    const int expected = std::lexicographical_compare(a, a + 6, b, b + 6)   ? -1
                         : std::lexicographical_compare(b, b + 6, a, a + 6) ? 1
                                                                            : 0;
    ASSERT_EQ(CompareDateTime1(x.data(), y.data(), 1), expected) << x << " vs " << y;
  }
}

class TodayInZone : public InZone {};

TEST_P(TodayInZone, ComparesWithTodaysLocalDate) {
  const time_t now = std::time(nullptr);
  struct tm today = {};
  ::localtime_r(&now, &today);
  const auto text = [&](int dayDelta, int yearDelta) {
    return CString(std::to_string(today.tm_mday + dayDelta) + "/" + std::to_string(today.tm_mon + 1) + "/" +
                   std::to_string(today.tm_year + 1900 + yearDelta));
  };
  int result = 99;
  CString date = text(0, 0);
  ASSERT_TRUE(CompareStringTimeWithCurrentTime(date, result));
  EXPECT_EQ(result, 0);
  date = text(0, 1);
  ASSERT_TRUE(CompareStringTimeWithCurrentTime(date, result));
  EXPECT_EQ(result, 1);
  date = text(0, -1);
  ASSERT_TRUE(CompareStringTimeWithCurrentTime(date, result));
  EXPECT_EQ(result, -1);
  date = text(40, 0);  // a later day number in the same month and year
  ASSERT_TRUE(CompareStringTimeWithCurrentTime(date, result));
  EXPECT_EQ(result, 1);

  result = 99;
  for (const char* bad : {"", "0/1/2024", "1/0/2024", "1/1/0", "1/1", "1 /1/2024", "x/1/2024", "-1/1/2024"}) {
    CString notDate(bad);
    EXPECT_FALSE(CompareStringTimeWithCurrentTime(notDate, result)) << bad;
  }
  EXPECT_EQ(result, 99);
  CString spaced(" 1/ 1/ 3000");  // "%d" skips white space before a number
  EXPECT_TRUE(CompareStringTimeWithCurrentTime(spaced, result));
  EXPECT_EQ(result, 1);
}

INSTANTIATE_TEST_SUITE_P(Zones, TodayInZone, testing::ValuesIn(kZones), ZoneName);

}  // namespace
