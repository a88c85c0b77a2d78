#include "listview/filter/match_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>

namespace listview {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The rule as a person reads it, one alternative at a time.
bool ModelAlternative(const std::string& cell, const std::string& alternative, bool exact) {
  const std::string c = Lower(cell);
  const std::string a = Lower(alternative);
  if (exact) return c == a;
  if (a[0] == '>' || a[0] == '<') {
    double value = 0;
    double bound = 0;
    if (std::sscanf(c.c_str(), "%lf", &value) != 1 || std::sscanf(a.c_str() + 1, "%lf", &bound) != 1) return false;
    return a[0] == '>' ? value > bound : value < bound;
  }
  if (a[0] != '*') return c.starts_with(a);
  if (a.size() > 1 && a.back() == '*') return c.find(a.substr(1, a.size() - 2)) != std::string::npos;
  return c.ends_with(a.substr(1));
}

bool Model(const std::string& cell, const std::string& filter, bool exact) {
  if (filter.empty()) return true;
  std::string alternative;
  for (const char c : filter + "~") {
    if (c != '~') {
      alternative += c;
      continue;
    }
    if (!alternative.empty() && ModelAlternative(cell, alternative, exact)) return true;
    alternative.clear();
  }
  return false;
}

TEST(MatchFilter, GeneratedCellsAndFiltersPassAsTheRuleSays) {
  std::mt19937 random(11);
  const auto text = [&](const std::string& alphabet, size_t longest, size_t padding) {
    std::string out(random() % 8 == 0 ? padding : 0, ' ');
    for (size_t n = random() % (longest + 1); n > 0; --n) out += alphabet[random() % alphabet.size()];
    return out;
  };
  int passed = 0;
  for (int n = 0; n < 20000; ++n) {
    const std::string cell = text("aAbB1 2.-*", 5, 70);  // some past any short buffer
    const std::string filter = text("aB12.-*><~", 6, 0);
    const bool exact = n % 4 == 0;
    const bool got = MatchFilter(cell, filter, exact);
    EXPECT_EQ(got, Model(cell, filter, exact)) << "'" << cell << "' '" << filter << "'" << (exact ? " exact" : "");
    passed += got;
  }
  EXPECT_GT(passed, 2000) << "enough of both outcomes to mean something";
  EXPECT_LT(passed, 18000);
}

}  // namespace
}  // namespace listview
