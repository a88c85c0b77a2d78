// Date texts rewritten into the numeric day/month/year form.
#include <algorithm>
#include <cstring>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace {

// The caller's buffer is at least this large whatever the text's length.
constexpr size_t kFormatDateBuffer = 11;
constexpr size_t kFormatDateMaxText = 19;

bool AllDigits(const CString& s) {
  return std::all_of(s.str().begin(), s.str().end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DaysInMonth(int month, int year) {
  switch (month) {
    case 2: return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
  }
}

}  // namespace

int tarnu_format_date(char* text) {
  if (text == nullptr) {
    return 0;
  }
  const size_t original = ::strnlen(text, kFormatDateMaxText + 1);
  if (original > kFormatDateMaxText) {
    return 0;
  }
  // Drop every hyphen in place.
  char* end = std::remove(text, text + original, '-');
  *end = '\0';
  const size_t length = static_cast<size_t>(end - text);
  if (length < 6) {
    return 0;
  }
  const int number = dateutil::FindMonthName(std::string_view(text + 2, 3));
  if (number == 0) {
    return 0;
  }
  // "05Jan2024" -> "05" "/01/" "2024": one character longer than the text.
  const size_t capacity = std::max(original + 1, kFormatDateBuffer);
  if (length + 2 > capacity) {
    return 0;
  }
  const char separator[4] = {'/', static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10), '/'};
  std::memmove(text + 6, text + 5, length - 5 + 1);  // the year and the terminator
  std::memcpy(text + 2, separator, sizeof separator);
  return 1;
}

int tarnu_convert_date_format(CString& text) {
  if (text.IsEmpty()) {
    return 0;
  }
  text.Trim();
  text.Remove(' ');
  for (const char* other : {"\\", "-", "_", ",", "."}) {
    text.Replace(other, "/");
  }
  if (text.Find('/') < 0) {
    return 0;
  }
  // The month is the text from the fourth character to the second "/";
  // without a second "/" it runs to the end (npos is past every length).
  const auto monthLength = [&text] {
    const std::string_view t = text.view();
    return static_cast<int>(std::min(t.find('/', t.find('/') + 1), t.size())) - 3;
  };
  if (text.Find('/') == 1) {
    text.Insert(0, '0');
  }
  if (monthLength() == 1) {
    text.Insert(3, '0');
  }
  const CString day = text.Left(text.Find('/'));
  const CString month = text.Mid(3, monthLength());
  const CString year = text.Mid(6);
  if (day.GetLength() != 2 || month.GetLength() != 2 || year.GetLength() != 4 || !AllDigits(day) || !AllDigits(month) ||
      !AllDigits(year)) {
    return 0;
  }
  const int d = dateutil::ReadDecimal(day.view());
  const int m = dateutil::ReadDecimal(month.view());
  const int y = dateutil::ReadDecimal(year.view());
  return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(m, y) ? 1 : 0;
}
