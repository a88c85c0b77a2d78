// Fuzz target: the date text parsers and the list sort comparison get
// arbitrary bytes. Besides the sanitizers' checks, each result must be one
// the function can return and written texts must keep their promised shape.
// Input: the whole input feeds the parsers; for the comparisons it is split
// at the first newline into the two operands.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "dateutil/dateutil.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// An exact-size heap copy, so that a read or write past it is caught.
std::vector<char> CText(std::string_view text, size_t minimumSize = 0) {
  std::vector<char> buf(std::max(text.size() + 1, minimumSize), '\0');
  if (!text.empty()) {
    std::memcpy(buf.data(), text.data(), text.size());
  }
  return buf;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void Parsers(std::string_view text) {
  {
    std::vector<char> buf = CText(text);
    const long r = Convert_DateString_to_longDate(buf.data());
    Require(r >= INT32_MIN && r <= INT32_MAX);
  }
  {
    long out = 77;
    const int r = ConvertDateFormat(CString(text), out);
    Require(r == 1 || ((r == -1 || r == -2) && out == 77));
    Require(out >= INT32_MIN && out <= INT32_MAX);
  }
  {
    std::vector<char> buf = CText(text, 11);
    const size_t capacity = std::max(::strnlen(buf.data(), buf.size()) + 1, size_t{11});
    if (tarnu_format_date(buf.data()) == 1) {
      const size_t length = std::strlen(buf.data());
      Require(length < capacity && buf[2] == '/' && buf[5] == '/');
    }
  }
  {
    CString s(text);
    if (tarnu_convert_date_format(s) == 1) {
      Require(s.GetLength() == 10 && s[2] == '/' && s[5] == '/');
      for (const int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
        Require(IsDigit(s[i]));
      }
    }
  }
  {
    std::vector<char> buf = CText(text);
    struct tm t;
    std::memset(&t, 0x5a, sizeof t);
    tarnu_get_date_time_in_TM(buf.data(), &t);
    Require(t.tm_mon >= 0 && t.tm_mon <= 12 && t.tm_wday == 0 && t.tm_yday == 0 && t.tm_isdst == 0);
  }
  {
    long seconds = -1;
    Require(tarnu_cnvrt_hrminsec_to_sec(seconds, CString(text)) == 1 && seconds >= 0);
  }
}

void Comparisons(std::string_view text) {
  const size_t newline = text.find('\n');
  const std::string_view a = text.substr(0, newline);
  const std::string_view b = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
  std::vector<char> x = CText(a);
  std::vector<char> y = CText(b);
  const int up = CompareDateTime1(x.data(), y.data(), 1);
  Require(up >= -1 && up <= 1);
  Require(CompareDateTime1(x.data(), y.data(), -1) == -up);
  Require(CompareDateTime1(x.data(), x.data(), 1) == 0 || std::strstr(x.data(), "AM") != nullptr);
  const int t = comparedate1(x.data(), static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()));
  Require(t >= -1 && t <= 1);
  CString first(a);
  CString second(b);
  for (const char* separator : {"", "/", "-"}) {
    CString s(separator);
    const int d = CompareDates1(first, second, s);
    Require(d >= -2 && d <= 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Local time matters to the parsers; use a zone with daylight saving.
  static const bool zoneSet = [] {
    ::setenv("TZ", "America/New_York", 1);
    ::tzset();
    return true;
  }();
  (void)zoneSet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Parsers(text);
  Comparisons(text);
  return 0;
}
