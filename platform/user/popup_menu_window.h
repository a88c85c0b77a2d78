// A pop-up menu as a window a person chooses in (the desktop mode installs
// ShowPopupMenu as the menu responder): a caption-less pop-up of class
// "#32768" at the menu's place, kept on the screen, drawn as the menu
// pictures are (render/menu_picture.h).
//
// The entry under the pointer is hot (highlighted), except separators and
// greyed or disabled entries; Up and Down move the hot entry to the next
// entry that can be chosen, passing over the others and wrapping around at
// the ends; Home and End go to the first and last. A letter chooses the
// entry whose mnemonic it is (the letter after "&", else a label's first
// letter), or makes the next of several such entries hot. Enter, or a click
// released on an entry, chooses it when it can be chosen; Escape, or the
// menu losing the activation (a click anywhere else), dismisses it. At
// first the first entry that can be chosen is hot.
#pragma once

#include "platform/base/export.h"

#include "platform/user/menu.h"

namespace platform {

// Shows the menu and runs a modal loop until an entry is chosen or the menu
// dismissed; returns the entry's id, 0 when dismissed. The window is gone
// before this returns, and the window active before gets the activation
// back unless a click gave it to another.
PLATFORM_API UINT_PTR ShowPopupMenu(const MenuRecord& menu);

// The menu a pop-up menu window shows, its `hot` entry kept current; null
// for any other window. For the renderer, and the desktop mode's window map.
PLATFORM_API const MenuRecord* PopupMenuOf(HWND hwnd);

}  // namespace platform
