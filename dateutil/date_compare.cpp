// Comparisons of dates and times held as text, field by field.
#include <climits>
#include <cstring>
#include <utility>

#include "dateutil/dateutil.h"
#include "dateutil/internal.h"

namespace {

int Order(int a, int b) { return (a > b) - (a < b); }

std::string_view ViewOf(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

// Two characters `fromEnd` places from the end, 0 when the text is shorter.
int FieldFromEnd(std::string_view text, size_t fromEnd) {
  return text.size() < fromEnd ? 0 : dateutil::ReadDecimal(text.substr(text.size() - fromEnd, 2));
}

// The framework tokenizer's step: the next token after `pos` skipping empty
// ones; pos becomes one past its terminating delimiter, or npos at the end.
std::string_view NextToken(std::string_view text, std::string_view delims, size_t& pos) {
  const size_t from = pos >= text.size() ? std::string_view::npos : text.find_first_not_of(delims, pos);
  if (from == std::string_view::npos) {
    pos = std::string_view::npos;
    return {};
  }
  size_t until = text.find_first_of(delims, from);
  if (until == std::string_view::npos) {
    until = text.size();
  }
  pos = until + 1;
  return text.substr(from, until - from);
}

// Same-width all-digit fields order like their numbers, so whole blocks
// compare byte-wise: this is what the field-by-field reading gives for the
// list's own forms, only faster.
// REQUIRES: both texts hold [pos, pos + count).
int CompareBlock(std::string_view a, std::string_view b, size_t pos, size_t count) {
  for (size_t i = pos; i < pos + count; ++i) {
    if (a[i] != b[i]) {
      return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    }
  }
  return 0;
}

// Where the fields of one date text are; read only as far as a comparison
// needs them, since most orderings are decided by the year alone.
struct DateLayout {
  std::string_view year;
  std::string_view month;
  std::string_view day;
  std::string_view tail;  // what follows the year (the time, if any)
  bool monthByName = false;
};

DateLayout FixedPositions(std::string_view text) {
  // "05Jan2024": day at 0-1, month name at 2-4, year at 5-8.
  return {dateutil::Sub(text, 5, 4), dateutil::Sub(text, 2, 3), dateutil::Sub(text, 0, 2), {}, true};
}

DateLayout Separated(std::string_view text, std::string_view separator) {
  if (dateutil::TwoCharacterDayAndMonth(text, separator)) {
    return {dateutil::Sub(text, 6, 4), text.substr(3, 2), text.substr(0, 2), dateutil::Sub(text, 10), false};
  }
  DateLayout f;
  size_t pos = 0;
  f.day = NextToken(text, separator, pos);
  f.month = NextToken(text, separator, pos);  // read as a number: a name reads 0
  if (pos != std::string_view::npos) {
    f.year = dateutil::Sub(text, pos, 4);
    f.tail = dateutil::Sub(text, pos + 4);
  }
  return f;
}

int Month(const DateLayout& f) {
  return f.monthByName ? dateutil::MonthNumber(f.month) : dateutil::ReadDecimal(f.month);
}

}  // namespace

namespace dateutil {

namespace {

bool Digits(std::string_view text, size_t pos, size_t count) {
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace

bool PlainNumericDate(std::string_view text, char separator) {
  return text.size() >= 10 && text[2] == separator && text[5] == separator && Digits(text, 0, 2) &&
         Digits(text, 3, 2) && Digits(text, 6, 4);
}

bool PlainTimeOfDay(std::string_view text) {
  if (text.size() < 8) {
    return false;
  }
  const size_t h = text.size() - 8;
  return Digits(text, h, 2) && Digits(text, h + 3, 2) && Digits(text, h + 6, 2);
}

bool TwoCharacterDayAndMonth(std::string_view text, std::string_view separator) {
  const auto isSeparator = [separator](char c) { return separator.find(c) != std::string_view::npos; };
  return text.size() >= 6 && isSeparator(text[2]) && isSeparator(text[5]) && !isSeparator(text[0]) &&
         !isSeparator(text[1]) && !isSeparator(text[3]) && !isSeparator(text[4]);
}

int CompareTimesOfDay(std::string_view first, std::string_view second) {
  if (first.size() == second.size() && PlainTimeOfDay(first) && PlainTimeOfDay(second)) {
    const size_t h = first.size() - 8;
    for (const size_t pos : {h, h + 3, h + 6}) {
      if (const int c = CompareBlock(first, second, pos, 2); c != 0) {
        return c;
      }
    }
    return 0;
  }
  for (const size_t fromEnd : {8, 5, 2}) {  // hours, minutes, seconds
    if (const int c = Order(FieldFromEnd(first, fromEnd), FieldFromEnd(second, fromEnd)); c != 0) {
      return c;
    }
  }
  return 0;
}

int CompareDatesView(std::string_view first, std::string_view second, std::string_view separator) {
  if (first.size() != second.size()) {
    return -2;
  }
  if (separator.size() == 1 && PlainNumericDate(first, separator[0]) && PlainNumericDate(second, separator[0])) {
    for (const auto& [pos, count] : {std::pair<size_t, size_t>{6, 4}, {3, 2}, {0, 2}}) {
      if (const int c = CompareBlock(first, second, pos, count); c != 0) {
        return c;
      }
    }
    return CompareTimesOfDay(first.substr(10), second.substr(10));
  }
  const DateLayout a = separator.empty() ? FixedPositions(first) : Separated(first, separator);
  const DateLayout b = separator.empty() ? FixedPositions(second) : Separated(second, separator);
  if (const int c = Order(ReadDecimal(a.year), ReadDecimal(b.year)); c != 0) {
    return c;
  }
  if (const int c = Order(Month(a), Month(b)); c != 0) {
    return c;
  }
  if (const int c = Order(ReadDecimal(a.day), ReadDecimal(b.day)); c != 0) {
    return c;
  }
  return CompareTimesOfDay(a.tail, b.tail);
}

int CompareDateTimeView(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) {
    // Operands swapped on purpose: the lists have always ordered texts of
    // different lengths this way.
    const int c = second.compare(first);
    return (c > 0) - (c < 0);
  }
  if ((first.size() > 2 && first[2] == '/') || first.find('/') != std::string_view::npos) {
    return CompareDatesView(first, second, "/");
  }
  if (first.find('-') != std::string_view::npos) {
    return CompareDatesView(first, second, "-");
  }
  if (first.find(':') != std::string_view::npos) {
    // The 12-hour clock is not folded: only AM against PM is decided here.
    if (first.find("AM") != std::string_view::npos && second.find("PM") != std::string_view::npos) {
      return -1;
    }
    if (second.find("AM") != std::string_view::npos && first.find("PM") != std::string_view::npos) {
      return 1;
    }
    return CompareTimesOfDay(first.substr(0, 8), second.substr(0, 8));
  }
  return CompareDatesView(first, second, {});
}

}  // namespace dateutil

int comparedate1(char* first, int firstLength, char* second, int secondLength) {
  const auto bounded = [](const char* text, int length) {
    return text == nullptr || length <= 0 ? std::string_view()
                                          : std::string_view(text, ::strnlen(text, static_cast<size_t>(length)));
  };
  return dateutil::CompareTimesOfDay(bounded(first, firstLength), bounded(second, secondLength));
}

int CompareDates1(CString& first, CString& second, CString& separator) {
  return dateutil::CompareDatesView(first.view(), second.view(), separator.view());
}

int CompareDateTime1(char* first, char* second, int order) {
  const long long product =
      static_cast<long long>(dateutil::CompareDateTimeView(ViewOf(first), ViewOf(second))) * order;
  return product > INT_MAX ? INT_MAX : static_cast<int>(product);
}

bool CompareStringTimeWithCurrentTime(CString& date, int& result) {
  if (date.IsEmpty()) {
    return false;
  }
  // "%d/%d/%d": each number may follow white space; each "/" must follow
  // its number directly.
  const char* p = date.GetString();
  int fields[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
      ++p;
    }
    const char* start = p;
    if (*p == '+' || *p == '-') {
      ++p;
    }
    if (*p < '0' || *p > '9') {
      return false;
    }
    while (*p >= '0' && *p <= '9') {
      ++p;
    }
    fields[i] = dateutil::ReadDecimal(std::string_view(start, static_cast<size_t>(p - start)));
    if (fields[i] < 1 || (i < 2 && *p++ != '/')) {
      return false;
    }
  }
  const time_t now = dateutil::NowSeconds();
  struct tm today = {};
  if (::localtime_r(&now, &today) == nullptr) {
    return false;
  }
  const int day = fields[0];
  const int month = fields[1];
  const int year = fields[2];
  int c = Order(year, today.tm_year + 1900);
  if (c == 0) {
    c = Order(month, today.tm_mon + 1);
  }
  if (c == 0) {
    c = Order(day, today.tm_mday);
  }
  result = c;
  return true;
}
