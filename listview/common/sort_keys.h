// The keys of one column's cells for one sort, each made once: a sort of a
// million rows makes some twenty million comparisons, and reading the
// numbers out of two cell texts at each of them costs more than the sort.
//
// Compare gives exactly what CompareCellsBase / CompareCellsFiltered
// (compare_cells.h) give on the two rows' texts: only how often a text is
// read changes, not what a comparison says.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/cstring.h"

namespace listview {

enum class CompareRules { kBase, kFiltered };

class SortKeys {
 public:
  SortKeys(CompareRules rules, int sortType);

  // Appends the key of the next row's cell.
  void Add(const CString& text);
  // Makes room for `rows` keys, to be given in any order with Set.
  void Resize(size_t rows);
  // The key of row `row` (below the size given to Resize).
  void Set(size_t row, const CString& text);
  size_t Size() const;
  // The comparison of rows a and b (the order they were added in).
  int Compare(size_t a, size_t b, int direction) const;

  // The rows' order after a stable sort by this column: Order()[i] is the
  // row shown i-th. Rows that compare equal keep their order.
  std::vector<int> Order(int direction) const;

 private:
  enum class Kind { kNone, kWhole, kFloat, kText, kDate };
  Kind m_kind = Kind::kNone;
  bool m_minusOneWords;    // "-" and "NA" read as -1 (the base list's floats)
  bool m_intOnly = false;  // whole numbers read as int (the filter list's kind 1)
  std::vector<long long> m_whole;
  std::vector<double> m_float;
  std::vector<CString> m_text;
};

}  // namespace listview
