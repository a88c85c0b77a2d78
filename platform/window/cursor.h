// The mouse pointer's position on the headless screen, and the double-click time.
//
// The input driver moves the pointer with every mouse action, so a control
// that checks whether the pointer left it (GetCursorPos on a timer) sees
// where a person's mouse would be; a test may also move it by itself.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

PLATFORM_API BOOL GetCursorPos(POINT* point);
// Clamped to the screen, as the pointer cannot leave it.
PLATFORM_API BOOL SetCursorPos(int x, int y);

// The longest time between the clicks of a double click, in milliseconds
// (500 at start); tool-tips take their default delays from it.
PLATFORM_API UINT GetDoubleClickTime();
// 0 restores the default.
PLATFORM_API BOOL SetDoubleClickTime(UINT ms);
