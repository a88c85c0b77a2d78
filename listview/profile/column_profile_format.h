// The value of a list's "COLUMNPROFILE" key: one entry per column record, in
// column-index order, joined by single commas (no leading or trailing comma).
//
//   built-in column (index < N):   index,order,width
//   computed column (index >= N):  index,order,width,name#expression#description
//
// index and width are decimal; order is the display position, -1 for a
// hidden column (whose width is then 0); N is the list's built-in column
// count. Example, built-in 0..2 with 1 hidden and computed 3 shown first:
//   0,1,80,1,-1,0,2,2,75,3,0,100,Net#expression#description
// Names, expressions and descriptions never contain "," or "#".
#pragma once

#include <span>
#include <vector>

#include "platform/base/cstring.h"

namespace listview {

struct ColumnProfileEntry {
  int nIndex = 0;
  int nOrder = 0;  // display position, -1 hidden
  int nWidth = 0;
  // Computed columns only.
  CString strName;
  CString strExpression;
  CString strDescription;
  // Set by ParseColumnProfile: index, order and width were whole decimal
  // numbers within int (atoi reads junk and overflows silently).
  bool bNumbersValid = true;
};

// Entries of index `builtInCount` or more carry their three strings.
CString FormatColumnProfile(std::span<const ColumnProfileEntry> entries, int builtInCount);

// Reads entries as the C tokenizer does: numbers end at ",", a computed
// column's name and expression at "#", its description at ","; empty tokens
// are skipped. A missing token ends the reading and drops the partial entry.
// Numbers are read as atoi reads them (junk gives 0). `complete` tells
// whether the value ended after a whole entry (false when a partial entry
// was dropped).
std::vector<ColumnProfileEntry> ParseColumnProfile(const CString& value, int builtInCount, bool& complete);

}  // namespace listview
