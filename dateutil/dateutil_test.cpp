#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"
#include "platform/testing/scoped_zone.h"

namespace {

struct ZoneCase {
  const char *name, *tz;
  long januaryOffset;  // seconds east of UTC in January
};

// Runs once per machine zone, with TZ set inside it.
class DateParse : public testing::TestWithParam<ZoneCase> {
 protected:
  static long Parse(std::string text) { return Convert_DateString_to_longDate(text.data()); }
  ScopedZone m_zone{GetParam().tz};
};

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

constexpr const char* kMonth[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Every day of 1950-2037 and the day past each month's end, as text in varying forms: its long
// date is the day count from a calendar model plus the time of day, read as local standard time
// (daylight flag 0), so less the zone's January offset. Back from the long date, each text form
// gives the same day (hours stay below 23: summer time adds one), none before the epoch.
TEST_P(DateParse, EveryDayToLongDateAndBackToText) {
  const long offset = GetParam().januaryOffset;
  const time_t now = std::time(nullptr);
  struct tm today = {};
  ::localtime_r(&now, &today);
  for (int y = 1950, n = 0; y <= 2037; ++y) {  // n: days since 1950-01-01
    for (int m = 1; m <= 12; ++m) {
      const int length = m == 2 ? (y % 4 == 0 ? 29 : 28) : m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31;
      for (int d = 1; d <= length + 1; ++d) {
        const int h = n % 23, mi = (d * 7) % 60, s = (m * 13 + d) % 60;
        const bool timed = n % 5 != 0;  // no time: midnight
        const std::string D = Two(d), N = Two(m), M = kMonth[m - 1], Y = std::to_string(y), Y2 = Y.substr(2),
                          dmy = D + M + Y, numericMonth = n % 3 == 1 ? std::to_string(m) : N;
        std::string text = (timed ? std::to_string(d) : D) + "/" + (n % 3 == 0 ? M : numericMonth) + "/" + Y;
        if (timed) text += " " + std::to_string(h) + ":" + Two(mi) + ":" + std::to_string(s);
        CString numeric((std::to_string(d) + "\\-_,."[n % 5] + numericMonth + "/ " + Y).c_str());
        if (d > length) {
          ASSERT_EQ(Parse(text), -2) << text;
          ASSERT_EQ(tarnu_convert_date_format(numeric), 0) << text;
          continue;
        }
        const long at = (n - 7305L) * 86400 + (timed ? h * 3600 + mi * 60 + s : 0) - offset;
        ASSERT_EQ(Parse(text), at) << text;
        const std::string MM = {M[0], static_cast<char>(std::toupper(M[1])), static_cast<char>(std::toupper(M[2]))};
        char out[50];
        EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(at, out), at >= 1 ? 1 : 0);
        EXPECT_EQ(tarnu_check_for_current_month_expiry(at),
                  at >= 1 && y == today.tm_year + 1900 && m == today.tm_mon + 1);
        ASSERT_EQ(out, at >= 1 ? dmy : "") << text;
        const std::string codes[] = {
            dmy, D + MM + Y, D, D + M, D + MM, N + "/" + D + "/" + Y2, D + "-" + N + "-" + Y, D + "/" + N + "/" + Y};
        tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, at, n % 8);
        ASSERT_EQ(out, at >= 0 ? codes[n % 8] : "") << text << " code " << n % 8;
        const std::string formats[] = {
            D + "/" + N,  D + "/" + N + "/" + Y2, D + "-" + M,          D + "-" + M + "-" + Y2,
            M + "-" + Y2, D + "-" + N + "-" + Y,  D + "-" + M + "-" + Y};
        ASSERT_EQ(DateFormat(CTime(at), 1 + n % 7), (at >= 0 ? formats[n % 7] : "").c_str()) << text;
        const std::string clock = " " + Two(h) + ":" + Two(mi) + ":" + Two(s);
        EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(at, out), at >= 1 ? 1 : 0);
        ASSERT_TRUE(offset < 0 || !timed || at < 1 || out == dmy + clock) << out;  // where no summer time
        CString ist;
        EXPECT_EQ(Convert_longDate_to_IstDateString(at, ist), at >= 1 ? 1 : 0);
        ASSERT_TRUE(offset != 19800 || ist == (at >= 1 ? codes[7] : "").c_str()) << ist.GetString();  // its zone
        // Text to text: the name form with or without hyphens; numeric with any separator, padded or not.
        std::string named = n % 2 == 0 ? dmy : D + "-" + M + "-" + Y;
        ASSERT_EQ(tarnu_format_date(named.data()), 1);
        ASSERT_STREQ(named.c_str(), codes[7].c_str());
        ASSERT_EQ(tarnu_convert_date_format(numeric), 1) << numeric.GetString();
        ASSERT_EQ(numeric, codes[7].c_str());
        // Calendar fields: month 1 to 12, the year as written; filling stops at the first missing part.
        const std::string parts[] = {
            std::to_string(d),      "-" + M, "-" + Y, " " + std::to_string(h), ":" + std::to_string(mi),
            ":" + std::to_string(s)};
        std::string cut = (n % 7 == 0 ? " " : "") + std::accumulate(parts, parts + n % 6 + 1, std::string());
        std::array want{d, m, y, h, mi, s};
        for (size_t i = n % 7 == 0 ? 0 : static_cast<size_t>(n % 6) + 1; i < 6; ++i) want[i] = 0;  // " ": no date
        struct tm t;
        tarnu_get_date_time_in_TM(cut.data(), &t);
        ASSERT_EQ((std::array{t.tm_mday, t.tm_mon, t.tm_year, t.tm_hour, t.tm_min, t.tm_sec}), want) << cut;
        ++n;
      }
    }
  }
}

// A name that is no month, a second sign, days or months of 0 and below rolling back, the longest text.
TEST_P(DateParse, OddFieldsRollBackAndWhatIsRefused) {
  constexpr long kJan1 = 1704067200;  // 2024-01-01 00:00:00 as if UTC
  const struct { std::string text; long asIfUtc; } cases[] = {
      {"05/Foo/2024", kJan1 + 4 * 86400}, {"+-5/1/2024", kJan1 - 86400}, {"-1/1/2024", kJan1 - 2 * 86400},
      {"1/0/2024 00:00:00", 1701388800}, {"01/01/2024 00:00:09" + std::string(236, ' '), kJan1 + 9},
      {"01/01/2024  ", kJan1},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.asIfUtc - GetParam().januaryOffset) << c.text;
  EXPECT_EQ(Convert_DateString_to_longDate(nullptr), -1);
  for (const auto& [bad, code] : {std::pair{std::string("5/1"), -1}, {"", -1}, {"05/01/2024 10:30", -1},
                                  {"05/01/2024 10/30/15", -1}, {"1/13/2024", -2}, {"01/01/2100", -2}, {"01/01/1800", -2},
                                  {"1/1/99999999999", -2}, {"05/01/2024 10:30:15" + std::string(240, ' '), -2}}) {
    EXPECT_EQ(Parse(bad), code) << bad;
  }
  long out = 12345;  // untouched on failure; 255 characters are read, 256 are not
  for (const auto& [text, code] :
       {std::pair{std::string("29/02/2023"), -2}, {"5/1", -1}, {"1/1/2024" + std::string(248, ' '), -2}}) {
    EXPECT_EQ(ConvertDateFormat(text.c_str(), out), code) << text;
  }
  EXPECT_EQ(out, 12345);
  EXPECT_EQ(ConvertDateFormat(("1/1/2024" + std::string(247, ' ')).c_str(), out), 1);
}

// Long dates at the edges of "no date"; a code or date without a text
// clears 4 bytes and writes no further.
TEST_P(DateParse, LongDateEdges) {
  char out[32];
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(1, out), 1);
  EXPECT_STREQ(out, GetParam().januaryOffset < 0 ? "31Dec1969" : "01Jan1970");
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_datetime(2147483647L, out), 1) << "the last second of 32 bits is a date";
  EXPECT_EQ(nse_fo_tarnu_convert_long_to_date(1L << 31, out), 0);
  if (GetParam().januaryOffset == 0) {  // the first second of 32 bits is a date, the one before is not
    EXPECT_EQ(Parse("13/12/1901 20:45:52"), INT32_MIN);
    EXPECT_EQ(Parse("13/12/1901 20:45:51"), -2);
  }
  EXPECT_STREQ(out, "");
  CString ist;
  EXPECT_EQ(Convert_longDate_to_IstDateString(1, ist), 1);
  EXPECT_EQ(ist, "01/01/1970");
  for (const auto& [code, date] : {std::pair{-1, 1704420000L}, {8, 1704420000L}, {0, 1L << 40}}) {
    std::memset(out, '#', sizeof out);
    tarnu_convert_longdate_to_Stringdate_month_year_as_required(out, date, code);
    EXPECT_EQ(std::string(out, 5), std::string(4, '\0') + "#") << code;
  }
  tarnu_get_date_time_in_TM(nullptr, nullptr);
}

// What is read against the local clock: the time of day (give or take a
// second, or midnight passing), today's date and this month.
TEST_P(DateParse, ReadingsOfNow) {
  const time_t now = std::time(nullptr);
  struct tm today = {}, read = {};
  ::localtime_r(&now, &today);
  char out[40];
  GetCorrectTime(out);
  ASSERT_STREQ(::strptime(out, "%d/%m/%Y  %H:%M:%S", &read), "") << out;
  tarnu_get_local_time(out);
  const long ms = tarnu_get_time_in_mili_seconds();
  int h = -1, m = -1, s = -1, milli = -1;
  ASSERT_EQ(std::sscanf(out, "%d:%d:%d:%d", &h, &m, &s, &milli), 4) << out;
  // The slack allows for a loaded machine pausing the test between two readings.
  EXPECT_LT((ms - (h * 3600L + m * 60L + s) * 1000L - milli + 86400000L) % 86400000L, 10000) << out << " then " << ms;
  long at = 0;  // that day at this time of day: what the clock just read, a few seconds on
  ASSERT_EQ(ConvertDateFormat("29/02/2024", at), 1);
  const long atNow = Parse("29/02/2024 " + std::to_string(h) + ":" + std::to_string(m) + ":" + std::to_string(s));
  EXPECT_TRUE(at - atNow >= 0 && at - atNow <= 10) << at << " vs " << atNow;
  // "%d/%d/%d": white space before a number is skipped and a sign taken; a "/" follows its number directly.
  for (const char* text :
       {"", "0/1/2024", "1/0/2024", "1/1/0", "1/1", "1 /1/2024", "x/1/2024", "-1/1/2024", "\t09/ 9/ +09999"}) {
    CString date(text);
    int result = 99;
    EXPECT_EQ(CompareStringTimeWithCurrentTime(date, result), text[0] == '\t') << text;
    EXPECT_EQ(result, text[0] == '\t' ? 1 : 99) << text;
  }
  // {day, month, year} from today's: a later day number counts in the same month.
  for (const auto& [dd, dm, dy] : {std::tuple{0, 0, 0}, {0, 0, 1}, {0, 0, -1}, {40, 0, 0}, {0, 1, 0}, {-1, 0, 0}}) {
    CString date(std::to_string(today.tm_mday + dd) + "/" + std::to_string(today.tm_mon + 1 + dm) + "/" +
                 std::to_string(today.tm_year + 1900 + dy));
    int result = 99;
    ASSERT_EQ(CompareStringTimeWithCurrentTime(date, result), today.tm_mday + dd >= 1) << date.GetString();
    EXPECT_EQ(result, today.tm_mday + dd < 1 ? 99 : (dd + dm + dy > 0) - (dd + dm + dy < 0)) << date.GetString();
  }
}

// On a heap buffer of exactly `size` bytes, for the sanitizer build. A text
// refused may have lost its hyphens; one of over 19 characters is untouched;
// the text grows by one byte and must fit in its own bytes or 11.
TEST(TextToText, RewrittenInPlaceWithinTheBufferOrRefused) {
  const struct { const char* in; size_t size; int result; const char* out; } cases[] = {
      {"31Dec99", 11, 1, "31/12/99"}, {"--05-Sep--2024-", 11, 1, "05/09/2024"}, {"05jan2024", 11, 0, "05jan2024"},
      {"5-Jan", 11, 0, "5Jan"}, {"05Jan", 11, 0, "05Jan"}, {"05Jan2", 11, 1, "05/01/2"}, {"", 11, 0, ""},
      {"05-Xyz-2024", 11, 0, "05Xyz2024"}, {"05-Jan-2024-------xx", 32, 0, "05-Jan-2024-------xx"},
      {"05-Jan-2024--------", 20, 1, "05/01/2024"}, {"05Jan20240", 11, 0, "05Jan20240"},
      {"05-Jan-20240", 13, 1, "05/01/20240"},  // the text shrank before it grew
  };
  for (const auto& c : cases) {
    std::vector<char> buf(std::max(c.size, std::strlen(c.in) + 1), '\0');
    std::strcpy(buf.data(), c.in);
    EXPECT_EQ(tarnu_format_date(buf.data()), c.result) << c.in;
    EXPECT_STREQ(buf.data(), c.out) << c.in;
  }
  EXPECT_EQ(tarnu_format_date(nullptr), 0);
  char buf[16] = "05Jan2024\0abcde";  // every byte behind the grown text stays the caller's
  ASSERT_EQ(tarnu_format_date(buf), 1);
  EXPECT_EQ(std::string(buf, 16), std::string("05/01/2024\0bcde\0", 16));
  // Numeric texts that are no d/m/yyyy date, and what is left of them.
  const struct { const char* in; const char* out; } numeric[] = {
      {"05/01/24", "05/01/24"}, {"ab/01/2024", "ab/01/2024"}, {"5 1 2024", "512024"}, {"123/4/2024", "123/4/2024"},
      {"5/1", "05/01"}, {"05/01/2024/", "05/01/2024/"}, {"", ""}, {"0/1/2024", "00/01/2024"},
      {"1/0/2024", "01/00/2024"}, {"1/13/2024", "01/13/2024"}, {"29/2/2023", "29/02/2023"}, {"/123/2024", "/1203/2024"},
      {"1x/01/2024", "1x/01/2024"}, {"01/1x/2024", "01/1x/2024"},
  };
  for (const auto& c : numeric) {
    CString text(c.in);
    EXPECT_EQ(tarnu_convert_date_format(text), 0) << c.in;
    EXPECT_EQ(text, c.out) << c.in;
  }
}

// Any of ":,-" between parts; white space before a number skipped, as atoi does; empty
// parts skipped, not zero; only the first 15 characters read; too large saturates.
TEST(HourMinSec, SeparatorsMissingPartsAndLengthLimit) {
  const struct { const char* text; long seconds; } cases[] = {
      {"09:30:15", 34215}, {"9,30,15", 34215}, {"9-30-15", 34215}, {"2", 7200}, {"", 0}, {"ab:1x:2", 62},
      {"1: 2:\t3", 3723}, {"::5", 18000}, {"000000001:00:0045", 3600}, {"99999999999999", 2147483647L * 3600},
  };
  for (const auto& c : cases) {
    long s = -1;
    EXPECT_EQ(tarnu_cnvrt_hrminsec_to_sec(s, c.text), 1);
    EXPECT_EQ(s, c.seconds) << c.text;
  }
}

// Random dates and times in the list's forms ("d/mm/yyyy HH:MM:SS", with "/"
// or "-", padded or not, or "ddMonyyyy") order as their fields do. Few
// values per field give many ties.
TEST(CompareDateTime, AgreesWithFieldOrderOnRandomDates) {
  std::mt19937 rng(7);
  const auto random = [&](int form, std::array<int, 6>& f) {  // year, month, day, hour, minute, second
    f = {2023 + static_cast<int>(rng() % 3), 1 + static_cast<int>(rng() % 12),
         1 + static_cast<int>(rng() % (form == 1 ? 9 : 28)), 0, 0, 0};
    for (int i = 3; i < 6 && form != 3; ++i) f[i] = static_cast<int>(rng() % 3) * 29;
    const std::string sep = form == 2 ? "-" : "/", year = std::to_string(f[0]);
    return form == 3 ? Two(f[2]) + kMonth[f[1] - 1] + year
                     : (form == 1 ? std::to_string(f[2]) : Two(f[2])) + sep + Two(f[1]) + sep + year + " " + Two(f[3]) +
                           ":" + Two(f[4]) + ":" + Two(f[5]);
  };
  for (int i = 0; i < 20000; ++i) {
    std::array<int, 6> a, b;
    std::string x = random(i % 4, a), y = random(i % 4, b);
    ASSERT_EQ(CompareDateTime1(x.data(), y.data(), 1), (a > b) - (a < b)) << x << " vs " << y;
  }
}

// Month names read 0 with a separator; order factors scale and clamp; unequal lengths order byte-wise,
// second against first; times put AM before PM, unfolded, on their first 8 characters; comparedate1
// reads fields from the end, cut at the terminator.
TEST(CompareDateTime, NamesLengthsTimesAndTheOrderFactor) {
  const struct { const char *a, *b; int order, expected; } cases[] = {
      {"05/01/2024 10:30:15", "05/01/2024T09:30:15", 1, 1}, {"05-Jan-2024", "05-Feb-2024", 1, 0},
      {"05/01/2024", "06/01/2024", 5, -5}, {"05/01/2024", "04/01/2024", INT_MIN, INT_MIN},
      {"05/01/2024", "06/01/2024", INT_MIN, INT_MAX}, {"9:30:00", "10:30:00", 1, -1}, {"", "x", -1, -1},
      {"10:00:00 PM", "11:00:00 AM", 1, 1}, {"11:00:00 AM", "10:00:00 PM", -1, 1}, {"12:10:00 AM", "01:10:00 AM", 1, 1},
      {"09:00:00 XY", "09:00:00 ZZ", 1, 0}, {"5/1/2024 1:00:00", "5/1/2024 0:59:59", 1, 1},
      {"05/01/24", "05/02/24", 1, -1},
  };
  for (const auto& c : cases) {
    std::string a = c.a, b = c.b;
    EXPECT_EQ(CompareDateTime1(a.data(), b.data(), c.order), c.expected) << c.a << " vs " << c.b << " x" << c.order;
  }
  EXPECT_EQ(CompareDateTime1(nullptr, nullptr, 1), 0);
  const struct { const char* a; int la; const char* b; int lb, expected; } times[] = {
      {"12", 2, "13", 2, -1}, {"date 09:00:00", 13, "10:00:00", 8, -1}, {"05:00", 5, "04:59", 5, 1},
      {"10:30:15", 100, "10:30:14", 8, 1}, {"10:30:15", -3, "00:00:00", 8, 0}, {nullptr, 5, "", 5, 0},
  };
  for (const auto& c : times) {
    std::string a = c.a ? c.a : "", b = c.b;
    EXPECT_EQ(comparedate1(c.a ? a.data() : nullptr, c.la, b.data(), c.lb), c.expected) << a << " vs " << c.b;
  }
}

// The list's own forms, which a long date column holds, are compared without
// splitting them into fields; every near miss is read field by field (to the
// same order, which the random comparisons above check, only slower).
TEST(CompareDateTime, ReadsOnlyTheListsOwnFormsWithoutSplittingThem) {
  using namespace dateutil;
  EXPECT_TRUE(PlainNumericDate("09/09/2029", '/'));
  EXPECT_TRUE(PlainNumericDate("00-00-0000 12:00:00", '-'));
  for (const char* near : {"09/09/202", "9/09/2029", "09-09/2029", "09/0/-2029", "0:/09/2029", "09/9:/2029",
                           "09/09/20:9", "09/09/202/"}) {
    EXPECT_FALSE(PlainNumericDate(near, '/')) << near;
  }
  EXPECT_TRUE(PlainTimeOfDay("09:09:59"));
  EXPECT_TRUE(PlainTimeOfDay("1/1/2024 00.00.00"));
  for (const char* near : {"9:09:59", "", ":9:09:59", "09::9:59", "09:09::9", "09:0/:59", "09:09:5:"}) {
    EXPECT_FALSE(PlainTimeOfDay(near)) << near;
  }
  EXPECT_TRUE(TwoCharacterDayAndMonth("ab/cd-", "/-"));
  for (const char* near : {"ab/cd", "/b/cd/", "a//cd/", "ab//d/", "ab/c//", "ab-cd/", "ab/cd-"}) {
    EXPECT_FALSE(TwoCharacterDayAndMonth(near, "/")) << near;
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, DateParse,
                         testing::Values(ZoneCase{"UTC", "UTC", 0}, ZoneCase{"Kolkata", "Asia/Kolkata", 19800},
                                         ZoneCase{"NewYork", "America/New_York", -18000}),
                         [](const auto& zone) { return std::string(zone.param.name); });

}  // namespace
