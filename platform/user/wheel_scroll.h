// Mouse-wheel scrolling shared by the list controls.
#pragma once

#include <functional>

#include "platform/base/wintypes.h"

namespace platform {

// WM_MOUSEWHEEL for a list whose first shown row is `top` of `count` rows:
// three rows per whole notch of 120, down the list for a wheel turned towards
// the user. Calls setTop with the new first row (setTop clamps it) and
// repaints `list`. Each message counts alone: a part of a notch moves nothing.
// Returns false, leaving the message to go on to the parent, for less than a
// notch or an empty list.
bool ScrollByWheel(HWND list, WPARAM wParam, int top, int count, const std::function<void(int)>& setTop);

}  // namespace platform
