// Rows of plain texts for the lists of the framework's tests: a row object
// holding one text per column index, and its formatter.
#pragma once

#include <string>
#include <vector>

#include "platform/afx.h"

namespace listview::testing {

struct TextRow {
  std::vector<std::string> cells;  // per column index
};

// A row formatter over TextRow item data: the cell of `column`, failing for
// a column the row has no text for.
inline int FormatTextRow(DWORD_PTR data, int column, CString& text, COLORREF&, COLORREF&, int&) {
  const auto* row = reinterpret_cast<const TextRow*>(data);
  if (row == nullptr || column < 0 || column >= static_cast<int>(row->cells.size())) return 0;
  text = row->cells[static_cast<size_t>(column)].c_str();
  return 1;
}

}  // namespace listview::testing
