// The comparison kinds of the lists' sorts, on two cell texts. A negative
// result puts `a` first. `direction` is -1 for ascending, +1 descending.
#pragma once

#include "platform/base/cstring.h"

namespace listview {

// The base list's kinds 1 to 9: whole numbers (1, 4), floating point with
// "-" and "NA" as -1 (2, 5, 7, 9), byte-wise text (3, 8), date and time (6);
// any other kind compares equal.
int CompareCellsBase(int sortType, const CString& a, const CString& b, int direction);

// The filter list's kinds: 1 atoi, 2 and 5 floating point (no "-"/"NA"
// rule), 3 text, 4 atol, 6 date and time; 7 to 9 and any other compare equal.
int CompareCellsFiltered(int sortType, const CString& a, const CString& b, int direction);

}  // namespace listview
