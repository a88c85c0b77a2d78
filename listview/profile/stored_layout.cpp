#include "listview/profile/stored_layout.h"

#include <algorithm>
#include <cstdlib>

#include "listview/expression.h"
#include "listview/formula_pieces.h"

namespace listview {

namespace {

void Note(std::string& damage, const std::string& what) {
  if (damage.find(what) != std::string::npos) return;
  if (!damage.empty()) damage += "; ";
  damage += what;
}

// Why the formula of computed column `own` (of `columns` in all) gives no
// value; empty when it can. Its cells refer to built-in columns and to
// computed columns before it only.
std::string FormulaProblem(const CString& formula, int own, int columns) {
  CString test;
  for (const FormulaPiece& piece : SplitFormula(formula)) {
    if (!piece.reference) {
      test += piece.text;
      continue;
    }
    // Read as a cell's computation reads it, by its leading digits: a
    // reference the cells can follow is no damage.
    const int index = std::atoi(piece.text);
    if (index > own && index < columns) return "refers to a later column";
    if (index == own) return "refers to itself";
    if (index < 0 || index >= columns) return "refers to column " + std::to_string(index) + ", which does not exist";
    test += "1";  // any number: only the form is checked here
  }
  double value = 0;
  const int status = EvaluateExpression(test, value);
  if (status == expression_status::kUnbalanced || status == expression_status::kNotANumber) return "is no formula";
  return {};
}

}  // namespace

StoredLayout CheckColumnProfile(const CString& value, int builtInCount, int maxWidth, bool cut) {
  StoredLayout layout;
  bool complete;  // every parse sets it
  const auto entries = ParseColumnProfile(value, builtInCount, complete);
  if (cut) Note(layout.damage, "longer than the reader keeps, cut");
  if (!complete) Note(layout.damage, "ends in a partial column entry");

  // First pass: which entries name a column soundly.
  std::vector<const ColumnProfileEntry*> sound;
  std::vector<bool> seenBuiltIn(static_cast<size_t>(std::max(builtInCount, 0)), false);
  for (const ColumnProfileEntry& entry : entries) {
    if (!entry.bNumbersValid) {
      Note(layout.damage, "a number that is not a whole number");
      continue;
    }
    if (entry.nIndex < 0 || entry.nIndex >= kMaxListColumns) {
      Note(layout.damage, "column index " + std::to_string(entry.nIndex) + " out of range");
      continue;
    }
    if (entry.nIndex < builtInCount) {
      if (seenBuiltIn[static_cast<size_t>(entry.nIndex)]) {
        Note(layout.damage, "column " + std::to_string(entry.nIndex) + " given twice");
        continue;
      }
      seenBuiltIn[static_cast<size_t>(entry.nIndex)] = true;
    } else {
      const int next = builtInCount + static_cast<int>(layout.computed.size());
      if (entry.nIndex != next) {
        Note(layout.damage,
             "computed column index " + std::to_string(entry.nIndex) + " where " + std::to_string(next) + " belongs");
        continue;
      }
      if (entry.strName.IsEmpty() || entry.strExpression.IsEmpty()) {
        Note(layout.damage, "a computed column without name or formula");
        continue;
      }
      layout.computed.push_back(entry);
    }
    sound.push_back(&entry);
  }
  if (entries.empty()) Note(layout.damage, "names no column");

  // Second pass: orders and widths, now that the number of columns is known.
  const int columns = builtInCount + static_cast<int>(layout.computed.size());
  layout.columns.resize(static_cast<size_t>(std::max(columns, 0)));
  std::vector<bool> taken(layout.columns.size(), false);
  for (const ColumnProfileEntry* entry : sound) {
    StoredColumn& column = layout.columns[static_cast<size_t>(entry->nIndex)];
    if (entry->nOrder < -1 || entry->nOrder >= columns) {
      Note(layout.damage, "position " + std::to_string(entry->nOrder) + " out of range");
      continue;
    }
    if (entry->nOrder >= 0 && taken[static_cast<size_t>(entry->nOrder)]) {
      Note(layout.damage, "position " + std::to_string(entry->nOrder) + " given twice");
      continue;
    }
    int width = entry->nWidth;
    if (entry->nOrder >= 0) {
      if (width < 0) {
        Note(layout.damage, "negative width");
        continue;
      }
      if (width > maxWidth) {
        Note(layout.damage, "width " + std::to_string(width) + " clamped to " + std::to_string(maxWidth));
        width = maxWidth;
      }
      taken[static_cast<size_t>(entry->nOrder)] = true;
    }
    column.bListed = true;
    column.nOrder = entry->nOrder;
    column.nWidth = width;
  }
  // More entries than columns: no entry can be trusted to mean its column.
  if (static_cast<int>(entries.size()) > columns) {
    Note(layout.damage, "more entries than columns");
    for (StoredColumn& column : layout.columns) column = StoredColumn{};
  }
  for (size_t k = 0; k < layout.computed.size(); ++k) {
    const ColumnProfileEntry& column = layout.computed[k];
    const std::string problem = FormulaProblem(column.strExpression, builtInCount + static_cast<int>(k), columns);
    if (!problem.empty()) {
      Note(layout.formulaDamage,
           "the formula of computed column \"" + std::string(column.strName.GetString()) + "\" " + problem);
    }
  }
  return layout;
}

}  // namespace listview
