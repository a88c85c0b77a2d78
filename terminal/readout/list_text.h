// A list view's texts read whole: its cells and its header's captions, of
// any length. The list copies a text into the caller's buffer and cuts it
// there, so every reader asks with a buffer that grows until the text fits.
#pragma once

#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace terminal {

// The columns of a list view in display order: each column's index and caption.
struct ListColumn {
  int index;
  std::string caption;
};
std::vector<ListColumn> ListColumns(HWND list);

// One cell of a list view, as the list asks its owner for it; "" for a row
// or column the list does not have.
std::string ListCell(HWND list, LRESULT row, int column);

// The caption of header item `index`; "" when there is none.
std::string HeaderCaption(HWND header, int index);

// The header item whose caption is exactly `caption`, -1 when none.
int HeaderItemByCaption(HWND header, const std::string& caption);

}  // namespace terminal
