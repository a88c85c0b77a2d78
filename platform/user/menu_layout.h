// Where a pop-up menu's entries lie, in the classic look, for the window a
// person chooses in (popup_menu_window.h) and for its picture
// (render/menu_picture.h) alike:
//   - a raised 3-D frame of 3 pixels around the menu colour;
//   - entries 19 pixels high, separators 9;
//   - a column of 17 pixels on the left for check marks, the text after it,
//     a text after a tab right-aligned, a right margin of 17.
#pragma once

#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/menu.h"

namespace platform {

constexpr int kMenuFrame = 3;
constexpr int kMenuEntryHeight = 19;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuCheckColumn = 17;
constexpr int kMenuRightMargin = 17;
constexpr int kMenuTabGap = 16;

struct MenuLayout {
  int width = 0;
  int height = 0;
  std::vector<RECT> rows;  // one per entry, from frame to frame
};

// In the menu's own coordinates, its top-left corner at (0, 0).
MenuLayout LayOutMenu(const std::vector<MenuEntry>& entries);

// An entry's text: the label, and the accelerator after a tab.
struct MenuText {
  std::string label;
  std::string accelerator;
};
MenuText SplitMenuText(const std::string& text);

// Whether an entry can be chosen (not a separator, greyed or disabled).
bool Choosable(const MenuEntry& entry);

// The entry a letter chooses: the one whose mnemonic ("&x") it is, or for
// a label without one its first letter (case ignored).
char MenuMnemonic(const MenuEntry& entry);

}  // namespace platform
