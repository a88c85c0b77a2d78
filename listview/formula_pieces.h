// The pieces of a computed column's formula. A formula alternates literal
// text and column references, each reference a column index between double
// quotes, starting with literal text (stored formulas begin with a space):
//
//   ` "5" * "2" / 100`   ->   " " lit, "5" ref, " * " lit, "2" ref, " / 100" lit
//
// Splitting follows the framework tokenizer on '"': a run of quotes is one
// separator and empty pieces are skipped, and the kind of piece simply
// alternates. Every reader of formulas (the cells, the dialog that writes
// them, the rewrite after a deletion) splits through here, so they cannot
// disagree about which piece is a reference.
#pragma once

#include <vector>

#include "platform/base/cstring.h"

namespace listview {

struct FormulaPiece {
  CString text;    // without the quotes
  bool reference;  // a column index (read with atoi), else literal text
  int start;       // offset of the piece's first character in the formula
};

std::vector<FormulaPiece> SplitFormula(const CString& formula);

// A reference as the stored formula writes it: the index between quotes.
CString QuotedIndex(int index);

// A reference to a column that no longer exists; its cell is never produced.
constexpr int kNoColumn = -1;

// The formula once column `removed` is gone: every reference above it one
// lower, a reference to `removed` itself kNoColumn, everything else (literal
// text, other references) byte for byte.
CString FormulaWithoutColumn(const CString& formula, int removed);

}  // namespace listview
