#include "platform/base/ctime.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "platform/testing/exception_testing.h"
#include "platform/testing/scoped_zone.h"

namespace {

// Year, month, day, hour, minute and day of the week.
std::vector<int> Fields(const CTime& t) {
  return {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetDayOfWeek()};
}

TEST(CTimeTest, FieldsFollowTheLocalZone) {
  const CTime t(86400 * 365);  // 1971-01-01 00:00:00 UTC, a Friday
  for (const auto& [name, fields] : {std::pair<const char*, std::vector<int>>{"UTC", {1971, 1, 1, 0, 0, 6}},
                                     {"Asia/Kolkata", {1971, 1, 1, 5, 30, 6}},
                                     {"America/New_York", {1970, 12, 31, 19, 0, 5}}}) {
    ScopedZone zone(name);
    EXPECT_EQ(Fields(t), fields) << name;
  }
}

TEST(CTimeTest, ConstructFromFieldsRoundTripsAndNormalisesFormatsComparesAndSpans) {
  ScopedZone zone("America/New_York");
  const CTime summer(2021, 7, 4, 12, 30, 15);
  EXPECT_EQ(summer.GetTime(), 1625416215);  // EDT, UTC-4
  struct tm fields = {};
  ASSERT_EQ(summer.GetLocalTm(&fields), &fields);
  EXPECT_EQ(fields.tm_isdst, 1);
  EXPECT_EQ(summer.GetLocalTm(nullptr), nullptr);
  EXPECT_EQ(summer.GetSecond(), 15);

  EXPECT_EQ(Fields(CTime(2021, 2, 29, 0, 0, 0)), (std::vector<int>{2021, 3, 1, 0, 0, 2})) << "normalised to March 1st";
  EXPECT_TRUE(ThrowsInvalidArg([] { CTime(1899, 12, 31, 0, 0, 0); }));
  EXPECT_EQ(Fields(CTime(1900, 1, 1, 0, 0, 0))[0], 1900) << "the first year taken";
  // Fields that carry past the last representable year are refused too; the
  // second before the epoch, whose count is also -1, is an ordinary time.
  EXPECT_TRUE(ThrowsInvalidArg([] { CTime(INT_MAX, INT_MAX, INT_MAX, 0, 0, 0); }));
  EXPECT_EQ(CTime(1969, 12, 31, 18, 59, 59).GetTime(), -1);

  ScopedZone utc("UTC");  // formats, comparisons and spans
  const CTime t(2000, 2, 29, 23, 59, 58);
  EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2000-02-29 23:59:58");
  EXPECT_EQ(t.Format(""), "");
  std::string longFormat;
  for (int i = 0; i < 200; ++i) longFormat += "%Y";
  EXPECT_EQ(t.Format(longFormat.c_str()).GetLength(), 800);
  const CTime later = t + CTimeSpan(0, 0, 0, 2);
  EXPECT_EQ(later.Format("%Y-%m-%d %H:%M:%S"), "2000-03-01 00:00:00");
  EXPECT_TRUE(t < later);
  EXPECT_TRUE(later != t);
  EXPECT_EQ((later - t).GetTotalSeconds(), 2);
  const CTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ((std::vector<time_t>{span.GetDays(), span.GetHours(), span.GetMinutes(), span.GetSeconds()}),
            (std::vector<time_t>{1, 2, 3, 4}));
  const CTime now = CTime::GetCurrentTime();
  EXPECT_GE(now.GetYear(), 2024);
}

}  // namespace
