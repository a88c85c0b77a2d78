// The mouse pointer's position on the headless screen.
//
// The input driver moves the pointer where a person's mouse would be; until
// it does so by itself, a test that needs GetCursorPos (a control checking
// whether the pointer left it) moves it with SetCursorPos alongside.
#pragma once

#include "platform/wintypes.h"

BOOL GetCursorPos(POINT* point);
// Clamped to the screen, as the pointer cannot leave it.
BOOL SetCursorPos(int x, int y);
