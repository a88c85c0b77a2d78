#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dateutil/dateutil.h"

namespace {

// tarnu_format_date runs on a heap buffer of exactly `size` bytes, so that
// the sanitizer build catches any write past it. A rejected text may already
// have lost its hyphens; one of more than 19 characters is left untouched;
// the text grows by one byte and must fit in its own bytes or 11.
TEST(FormatDate, NameFormsBecomeNumericWithinTheBuffer) {
  const struct { const char* in; size_t size; int result; const char* out; } cases[] = {
      {"05-Jan-2024", 11, 1, "05/01/2024"}, {"05Jan2024", 11, 1, "05/01/2024"}, {"31Dec99", 11, 1, "31/12/99"},
      {"--05-Sep--2024-", 11, 1, "05/09/2024"}, {"05jan2024", 11, 0, "05jan2024"}, {"5Jan", 11, 0, "5Jan"},
      {"5-Jan", 11, 0, "5Jan"}, {"05-Xyz-2024", 11, 0, "05Xyz2024"}, {"", 11, 0, ""},
      {"05-Jan-2024-------xx", 32, 0, "05-Jan-2024-------xx"}, {"05Jan20240", 11, 0, "05Jan20240"},
      {"05-Jan-20240", 13, 1, "05/01/20240"},  // the text shrank before it grew
  };
  for (const auto& c : cases) {
    std::vector<char> buf(std::max(c.size, std::strlen(c.in) + 1), '\0');
    std::strcpy(buf.data(), c.in);
    EXPECT_EQ(tarnu_format_date(buf.data()), c.result) << c.in;
    EXPECT_STREQ(buf.data(), c.out) << c.in;
  }
  EXPECT_EQ(tarnu_format_date(nullptr), 0);
  // Every byte behind the grown text's terminator is the caller's and stays.
  char buf[16] = "05Jan2024";
  std::memcpy(buf + 10, "abcde", 6);
  ASSERT_EQ(tarnu_format_date(buf), 1);
  EXPECT_STREQ(buf, "05/01/2024");
  EXPECT_STREQ(buf + 11, "bcde");
}

// Every day 0..32 of every month 0..13 of four years (one leap), written
// with each separator, padded or not, spaced or not: valid exactly when the
// calendar has that day, then rewritten as dd/mm/yyyy.
TEST(ConvertDateFormat, EveryDayOfEveryMonthIsJudgedByTheCalendarInEveryForm) {
  const auto days = [](int m, int y) {
    static const int length[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && y % 4 == 0 ? 29 : length[m - 1];
  };
  const char* separators[] = {"/", "-", ".", "\\", "_", ","};
  int valid = 0;
  for (const int y : {2023, 2024, 2025, 2026}) {
    for (int m = 0; m <= 13; ++m) {
      for (int d = 0; d <= 32; ++d) {
        const bool expected = m >= 1 && m <= 12 && d >= 1 && d <= days(m, y);
        char padded[16];
        std::snprintf(padded, sizeof padded, "%02d/%02d/%04d", d, m, y);
        for (const char* sep : separators) {
          for (const bool pad : {false, true}) {
            char in[32];
            std::snprintf(in, sizeof in, pad ? " %02d%s%02d %s%d " : "%d%s%d%s%d", d, sep, m, sep, y);
            CString text(in);
            ASSERT_EQ(tarnu_convert_date_format(text), expected ? 1 : 0) << in;
            if (expected) {
              EXPECT_EQ(text, padded) << in;
            }
          }
        }
        valid += expected;
      }
    }
  }
  EXPECT_EQ(valid, 365 * 3 + 366);
}

// Texts that are not d/m/yyyy at all.
TEST(ConvertDateFormat, RejectsTextsOfAnotherShape) {
  const struct { const char* in; const char* out; } cases[] = {
      {"05/01/24", "05/01/24"},  {"ab/01/2024", "ab/01/2024"},   {"5 1 2024", "512024"},  // no separator left
      {"123/4/2024", "123/4/2024"}, {"5/1", "05/01"}, {"05/01/2024/", "05/01/2024/"}, {"", ""},
  };
  for (const auto& c : cases) {
    CString text(c.in);
    EXPECT_EQ(tarnu_convert_date_format(text), 0) << c.in;
    EXPECT_EQ(text, c.out) << c.in;
  }
}

}  // namespace
