// Rows of plain texts for the lists of the framework's tests: a row object
// holding one text per column index, its formatter, and a click that sorts
// by a column.
#pragma once

#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/comctl/cheaderctrl.h"
#include "platform/input/input_driver.h"

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

// A click on the caption of header item `item` (above its filter box, when
// the header has one), as a person sorts by that column; false when the
// click could not be delivered.
inline bool ClickHeaderItem(CHeaderCtrl& header, int item) {
  RECT rect{};
  header.GetItemRect(item, &rect);
  return platform::input::ClickAt(header.GetSafeHwnd(), POINT{(rect.left + rect.right) / 2, 5});
}

}  // namespace listview::testing
