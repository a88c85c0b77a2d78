#include "listview/filter/match_filter.h"

#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

namespace listview {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  for (size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (SameIgnoringCase(text.substr(at, part.size()), part)) return true;
  }
  return false;
}

// What strtod (as "%lf") reads from the start of the text, if anything. Runs
// once per row and filter: short texts are terminated on the stack, with no
// allocation.
std::optional<double> Number(std::string_view text) {
  char shortCopy[64];
  std::string longCopy;
  const char* begin = shortCopy;
  if (text.size() < sizeof shortCopy) {
    text.copy(shortCopy, text.size());
    shortCopy[text.size()] = '\0';
  } else {
    longCopy.assign(text);
    begin = longCopy.c_str();
  }
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin) return std::nullopt;
  return value;
}

bool MatchAlternative(std::string_view cell, std::string_view alternative, bool exact) {
  if (exact) return SameIgnoringCase(cell, alternative);
  const char first = alternative.front();
  const std::string_view rest = alternative.substr(1);
  if (first == '*') {
    if (!rest.empty() && rest.back() == '*') return ContainsIgnoringCase(cell, rest.substr(0, rest.size() - 1));
    if (rest.empty()) return true;  // "*" alone
    return cell.size() >= rest.size() && SameIgnoringCase(cell.substr(cell.size() - rest.size()), rest);
  }
  if (first == '>' || first == '<') {
    const auto value = Number(cell);
    const auto bound = Number(rest);
    if (!value || !bound) return false;
    return first == '>' ? *value > *bound : *value < *bound;
  }
  return cell.size() >= alternative.size() && SameIgnoringCase(cell.substr(0, alternative.size()), alternative);
}

}  // namespace

bool MatchFilter(std::string_view cell, std::string_view filter, bool exact) {
  if (filter.empty()) return true;
  // Alternatives are split by '~'; an empty one (as after a trailing '~')
  // matches nothing. A plain loop, not std::views::split: clang 14 cannot
  // compile libstdc++ 12's ranges, and the fuzz preset builds with it.
  for (std::string_view rest = filter;;) {
    const size_t tilde = rest.find('~');
    const std::string_view alternative = rest.substr(0, tilde);
    if (!alternative.empty() && MatchAlternative(cell, alternative, exact)) return true;
    if (tilde == std::string_view::npos) return false;
    rest.remove_prefix(tilde + 1);
  }
}

}  // namespace listview
