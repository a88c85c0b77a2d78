// Compile-time checks of the layouts that cross file and API boundaries.
#include "platform/base/wintypes.h"

static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4, "32-bit types stay 32-bit");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*));
static_assert(RGB(0x12, 0x34, 0x56) == 0x00563412u, "COLORREF is 0x00BBGGRR");
static_assert(GET_X_LPARAM(MAKELPARAM(static_cast<WORD>(-5), 7)) == -5);
static_assert(sizeof(RECT) == 16 && sizeof(POINT) == 8);
