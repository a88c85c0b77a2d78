#include "mml/environment/number_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "mml/mml.h"
#include "mml/status.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Length of the run of digits at the front of text.
size_t digits_at(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && is_digit(text[n])) ++n;
  return n;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

bool parse_unsigned_double(std::string_view digits, double* out) {
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), *out);
  return ec == std::errc() && end == digits.data() + digits.size();
}

// "digits[.digits][(e|E)[sign]digits]" or ".digits[...]", no sign in front.
bool parse_decimal(std::string_view text, double* out) {
  size_t pos = digits_at(text);
  size_t mantissa = pos;
  if (pos < text.size() && text[pos] == '.') {
    const size_t fraction = digits_at(text.substr(pos + 1));
    mantissa += fraction;
    pos += 1 + fraction;
  }
  if (mantissa == 0) return false;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    size_t exp = pos + 1;
    if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
    const size_t expDigits = digits_at(text.substr(exp));
    if (expDigits == 0) return false;
    pos = exp + expDigits;
  }
  if (pos != text.size()) return false;
  return parse_unsigned_double(text, out) && std::isfinite(*out);
}

// "[whole blanks]num/den", no sign in front.
bool parse_fraction(std::string_view text, double* out) {
  double whole = 0;
  const size_t blank = text.find_first_of(" \t");
  if (blank != std::string_view::npos) {
    const std::string_view wholeText = text.substr(0, blank);
    if (wholeText.empty() || digits_at(wholeText) != wholeText.size()) return false;
    if (!parse_unsigned_double(wholeText, &whole)) return false;
    text = trim_blanks(text.substr(blank));
  }
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) return false;
  const std::string_view num = text.substr(0, slash);
  const std::string_view den = text.substr(slash + 1);
  if (num.empty() || den.empty() || digits_at(num) != num.size() || digits_at(den) != den.size()) return false;
  double n = 0, d = 0;
  if (!parse_unsigned_double(num, &n) || !parse_unsigned_double(den, &d) || d == 0) return false;
  *out = whole + n / d;
  return std::isfinite(*out);
}

}  // namespace

namespace mml {

bool parse_real(std::string_view text, double* out) {
  text = trim_blanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  double value = 0;
  const bool ok = text.find('/') == std::string_view::npos ? parse_decimal(text, &value) : parse_fraction(text, &value);
  if (!ok) return false;
  *out = negative ? -value : value;
  return true;
}

}  // namespace mml

extern "C" int mml_parse_int(int32_t* out, const mml_data* text, int* err) {
  if (out == nullptr || text == nullptr || text->data == nullptr || text->len < 1) {
    return mml::fail(err, mml::EnvStatus::kBadNumber);
  }
  std::string_view s(text->data, static_cast<size_t>(text->len));
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || digits_at(s) != s.size()) return mml::fail(err, mml::EnvStatus::kBadNumber);
  s.remove_prefix(std::min(s.find_first_not_of('0'), s.size()));  // a zero keeps no digit: read as 0
  // Ten significant digits are compared as text with the limit, which
  // for a negative number is one further from zero.
  if (s.size() > 10) return mml::fail(err, mml::EnvStatus::kBadNumber);
  if (s.size() == 10 && s > (negative ? "2147483648" : "2147483647")) return mml::fail(err, mml::EnvStatus::kBadNumber);
  int64_t value = 0;
  for (const char c : s) value = value * 10 + (c - '0');
  *out = static_cast<int32_t>(negative ? -value : value);
  return mml::succeed(err);
}
