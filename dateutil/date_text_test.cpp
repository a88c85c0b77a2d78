#include <gtest/gtest.h>

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

TEST(ConvertDateFormat, NormalisesSeparatorsAndPadding) {
  const struct { const char* in; int result; const char* out; } cases[] = {
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
