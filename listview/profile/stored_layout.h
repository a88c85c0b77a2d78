// A stored column profile checked before a list builds its header from it.
//
// Values that count as damaged (the column concerned then takes the list's
// default layout, and the line is reported once):
//   - an entry whose index, order or width is not a whole number within int;
//   - an index below 0 or at kMaxListColumns and beyond, a built-in index
//     given twice, or a computed index that is not the next one (computed
//     columns are stored as N, N+1, ... in that order; anything else would
//     make the list invent columns to fill the gap);
//   - a computed column without a name or without an expression;
//   - an order below -1, at or beyond the number of columns, or one that an
//     earlier entry already took;
//   - a negative width of a shown column;
//   - a value that names no whole column, ends in a partial entry, or filled
//     the read buffer (it was cut).
// A shown width beyond the screen is clamped to the screen's width (a header
// wider than every screen shows nothing useful) and reported as well.
// A sound value that names fewer columns than the list has leaves the rest
// hidden, as a profile written before those columns existed does.
//
// A computed column whose formula cannot give a value is kept as stored
// (the person may mend or delete it) and described in `formulaDamage`: a
// reference to itself or to a later column (a cell never refers forward,
// so that no two columns can wait on each other), to a column that does not
// exist, or that is no number; or a text that is no formula even with every
// referenced cell a number.
#pragma once

#include <string>
#include <vector>

#include "listview/profile/column_profile_format.h"
#include "platform/base/cstring.h"

namespace listview {

// More columns than any list holds. (A 4,095-character profile can name
// 280 hidden computed columns: the index is checked all the same.)
constexpr int kMaxListColumns = 256;

struct StoredColumn {
  bool bListed = false;  // a sound entry describes the column
  int nOrder = -1;       // display position, -1 hidden (when listed)
  int nWidth = 0;        // pixels (when listed)
};

struct StoredLayout {
  std::vector<StoredColumn> columns;         // per column index, built-in then computed
  std::vector<ColumnProfileEntry> computed;  // sound computed columns, index N on, in order
  std::string damage;                        // what was wrong; empty for a sound value
  std::string formulaDamage;                 // computed columns kept whose cells cannot be computed
  bool Damaged() const { return !damage.empty(); }
};

// `cut`: the value filled the read buffer. `maxWidth`: the screen's width.
StoredLayout CheckColumnProfile(const CString& value, int builtInCount, int maxWidth, bool cut);

}  // namespace listview
