// Pictures of pop-up menus. Menus are not windows here (a responder chooses,
// platform/user/menu.h), so their picture is laid out from the record:
//   - a raised 3-D frame of 3 pixels around the menu colour;
//   - entries 19 pixels high, separators 9 with an etched line;
//   - a column of 17 pixels on the left for check marks, the text after it
//     with "&" prefixes underlined-less, a text after a tab right-aligned;
//   - greyed or disabled entries embossed; the chosen entry (once answered)
//     in the highlight colours.
#pragma once

#include "platform/base/export.h"

#include "platform/render/image.h"
#include "platform/user/menu.h"

namespace platform {

PLATFORM_API Image RenderPopupMenu(const MenuRecord& menu);

}  // namespace platform
