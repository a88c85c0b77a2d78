// The formula of a new computed column as the user typed it (captions in
// double quotes) turned into the formula the list stores (column indexes in
// double quotes) and a test formula (bare indexes) that checks its syntax.
#pragma once

#include <span>

#include "platform/base/cstring.h"

namespace listview {

// A column a formula may name: its caption and column index.
struct NamedColumn {
  CString caption;
  int index;
};

// From `shown`, with a space put in front and split at double quotes
// (listview/formula_pieces.h): literal pieces are copied into both
// results; each quoted piece must be the exact caption of one of `columns`
// and becomes "\"%d\"" in `stored` and "%d" in `test`. False (results
// unspecified) when a quoted piece names none of them.
bool TranslateFormula(const CString& shown, std::span<const NamedColumn> columns, CString& stored, CString& test);

// TranslateFormula, then the test formula evaluated: true when both succeed.
// The test takes column indexes for values, so it checks the syntax only.
bool CheckFormula(const CString& shown, std::span<const NamedColumn> columns, CString& stored);

}  // namespace listview
