// A plain-text map of the windows a person sees, for tests that drive the
// desktop mode from outside (xdotool needs to know where to click). One line
// per visible window, children indented two spaces under their parent,
// top-level windows in the platform's z-order, top first:
//
//   CLASS #ID "TEXT" LEFT TOP RIGHT BOTTOM [items=N item-height=H] [rows=N]
//
// Rectangles are window rectangles in screen coordinates; items and
// item-height are given for list boxes (a combo box's list too), rows for
// list views. Quotes and backslashes in the text are escaped with a
// backslash; line breaks become "\n".
#pragma once

#include <string>

namespace terminal::desktop {

std::string WindowMap();

// Writes the map to `path` whole (a temporary file renamed over it), so a
// reader never sees half of it; false when it cannot be written.
bool WriteWindowMap(const std::string& path);

}  // namespace terminal::desktop
