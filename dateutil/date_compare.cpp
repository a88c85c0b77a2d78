// Comparisons of dates and times held as text, field by field.
#include <climits>
#include <cstring>

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

struct DateFields {
  int year = 0;
  int month = 0;
  int day = 0;
  std::string_view tail;  // what follows the year (the time, if any)
};

DateFields ReadFixedPositions(std::string_view text) {
  // "05Jan2024": day at 0-1, month name at 2-4, year at 5-8.
  return {dateutil::ReadDecimal(dateutil::Sub(text, 5, 4)), dateutil::MonthNumber(dateutil::Sub(text, 2, 3)),
          dateutil::ReadDecimal(dateutil::Sub(text, 0, 2)), {}};
}

DateFields ReadSeparated(std::string_view text, std::string_view separator) {
  DateFields f;
  size_t pos = 0;
  f.day = dateutil::ReadDecimal(NextToken(text, separator, pos));
  f.month = dateutil::ReadDecimal(NextToken(text, separator, pos));  // a month name reads 0
  if (pos != std::string_view::npos) {
    f.year = dateutil::ReadDecimal(dateutil::Sub(text, pos, 4));
    f.tail = dateutil::Sub(text, pos + 4);
  }
  return f;
}

}  // namespace

namespace dateutil {

int CompareTimesOfDay(std::string_view first, std::string_view second) {
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
  const DateFields a = separator.empty() ? ReadFixedPositions(first) : ReadSeparated(first, separator);
  const DateFields b = separator.empty() ? ReadFixedPositions(second) : ReadSeparated(second, separator);
  if (const int c = Order(a.year, b.year); c != 0) {
    return c;
  }
  if (const int c = Order(a.month, b.month); c != 0) {
    return c;
  }
  if (const int c = Order(a.day, b.day); c != 0) {
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
  if (first.find('/') != std::string_view::npos) {
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
  const long long product = static_cast<long long>(dateutil::CompareDateTimeView(ViewOf(first), ViewOf(second))) * order;
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
  const time_t now = std::time(nullptr);
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
