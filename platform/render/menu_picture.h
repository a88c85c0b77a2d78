// Pictures of pop-up menus, laid out from the record (platform/user/
// menu_layout.h): a headless menu is no window (a responder chooses,
// platform/user/menu.h); the window a person chooses in
// (platform/user/popup_menu_window.h) is drawn the same way:
//   - a raised 3-D frame around the menu colour; separators an etched line;
//   - a check mark in the left column, "&" prefixes underlined-less, a text
//     after a tab right-aligned;
//   - greyed or disabled entries embossed; the hot entry (under the pointer
//     or the arrow keys) and the chosen one (once answered) in the
//     highlight colours.
#pragma once

#include "platform/base/export.h"

#include "platform/render/image.h"
#include "platform/user/menu.h"

namespace platform {

PLATFORM_API Image RenderPopupMenu(const MenuRecord& menu);

}  // namespace platform
