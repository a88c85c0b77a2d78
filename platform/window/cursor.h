// The mouse pointer's position on the headless screen.
//
// The input driver moves the pointer with every mouse action, so a control
// that checks whether the pointer left it (GetCursorPos on a timer) sees
// where a person's mouse would be; a test may also move it by itself.
#pragma once

#include "platform/base/wintypes.h"

BOOL GetCursorPos(POINT* point);
// Clamped to the screen, as the pointer cannot leave it.
BOOL SetCursorPos(int x, int y);
