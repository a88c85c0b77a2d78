// The filter row's matching rule: does one cell's text pass one filter text?
//
// An empty filter passes every cell. Otherwise the filter is a list of
// alternatives separated by "~" (empty ones skipped); the cell passes when
// any alternative matches it:
//   exact mode      the alternative equals the cell, ignoring case;
//   "*text*"        the cell contains text, ignoring case ("*", "**": all);
//   "*text"         the cell ends with text, ignoring case;
//   ">n", "<n"      cell and n read as numbers (scanf "%lf" on their start)
//                   compare greater, less; a side that reads as no number
//                   never matches;
//   anything else   the cell begins with the alternative, ignoring case.
#pragma once

#include <string_view>

namespace listview {

bool MatchFilter(std::string_view cell, std::string_view filter, bool exact);

}  // namespace listview
