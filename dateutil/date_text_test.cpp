#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dateutil/dateutil.h"

namespace {

// Runs tarnu_format_date on a heap buffer of exactly `size` bytes, so that
// the sanitizer build catches any write past it.
std::pair<int, std::string> FormatDate(const std::string& text, size_t size = 0) {
  std::vector<char> buf(std::max(size, text.size() + 1), '\0');
  std::memcpy(buf.data(), text.c_str(), text.size() + 1);
  const int result = tarnu_format_date(buf.data());
  return {result, std::string(buf.data())};
}

TEST(MonthNames, WholeTokenCaseSensitive) {
  EXPECT_EQ(GetMonthNumber("Jan"), 1);
  EXPECT_EQ(GetMonthNumber("Dec"), 12);
  EXPECT_EQ(GetMonthNumber("jan"), 1);
  EXPECT_EQ(GetMonthNumber("Foo"), 1);
  EXPECT_EQ(GetMonthNumber("Sept"), 1);
  EXPECT_EQ(GetMonthNumber("12"), 1);
  EXPECT_EQ(GetMonthNumber(""), 1);
  EXPECT_EQ(GetMonthNumber(nullptr), 0);
}

TEST(FormatDate, NameFormsBecomeNumeric) {
  EXPECT_EQ(FormatDate("05-Jan-2024", 11), std::make_pair(1, std::string("05/01/2024")));
  EXPECT_EQ(FormatDate("05Jan2024", 11), std::make_pair(1, std::string("05/01/2024")));
  EXPECT_EQ(FormatDate("31Dec99", 11), std::make_pair(1, std::string("31/12/99")));
  EXPECT_EQ(FormatDate("--05-Sep--2024-", 11), std::make_pair(1, std::string("05/09/2024")));
}

TEST(FormatDate, RejectsAndPartialRewrites) {
  EXPECT_EQ(FormatDate("05jan2024", 11), std::make_pair(0, std::string("05jan2024")));
  EXPECT_EQ(FormatDate("5Jan", 11).first, 0);
  EXPECT_EQ(FormatDate("5-Jan", 11), std::make_pair(0, std::string("5Jan")));  // hyphens already gone
  EXPECT_EQ(FormatDate("05-Xyz-2024", 11), std::make_pair(0, std::string("05Xyz2024")));
  EXPECT_EQ(FormatDate("", 11).first, 0);
  EXPECT_EQ(tarnu_format_date(nullptr), 0);
  // More than 19 characters: rejected untouched.
  EXPECT_EQ(FormatDate("05-Jan-2024-------xx", 32), std::make_pair(0, std::string("05-Jan-2024-------xx")));
  // Ten characters without hyphens need 12 bytes; its own 11 are too few.
  EXPECT_EQ(FormatDate("05Jan20240", 11), std::make_pair(0, std::string("05Jan20240")));
  // With hyphens there is room: the text shrank before it grew.
  EXPECT_EQ(FormatDate("05-Jan-20240", 13), std::make_pair(1, std::string("05/01/20240")));
}

// The text grows by one byte; every byte behind its new terminator is the
// caller's and stays as it was.
TEST(FormatDate, WritesNothingPastTheGrownText) {
  char buf[16] = "05Jan2024";
  std::memcpy(buf + 10, "abcde", 6);
  ASSERT_EQ(tarnu_format_date(buf), 1);
  EXPECT_STREQ(buf, "05/01/2024");
  EXPECT_STREQ(buf + 11, "bcde");
}

TEST(ConvertDateFormat, NormalisesSeparatorsAndPadding) {
  const struct {
    const char* in;
    int result;
    const char* out;
  } cases[] = {
      {" 5 - 1 - 2024 ", 1, "05/01/2024"}, {"5.1.2024", 1, "05/01/2024"},
      {"05\\12_2024", 1, "05/12/2024"},    {"29/2/2024", 1, "29/02/2024"},
      {"05/01/24", 0, "05/01/24"},         {"ab/01/2024", 0, "ab/01/2024"},
      {"29/02/2023", 0, "29/02/2023"},     {"31/04/2024", 0, "31/04/2024"},
      {"00/01/2024", 0, "00/01/2024"},     {"01/13/2024", 0, "01/13/2024"},
      {"5 1 2024", 0, "512024"},  // no separator left
      {"123/4/2024", 0, "123/4/2024"},     {"5/1", 0, "05/01"},
      {"05/01/2024/", 0, "05/01/2024/"},   {"", 0, ""},
  };
  for (const auto& c : cases) {
    CString text(c.in);
    EXPECT_EQ(tarnu_convert_date_format(text), c.result) << c.in;
    EXPECT_EQ(text, c.out) << c.in;
  }
}

}  // namespace
