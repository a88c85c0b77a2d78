// ::DefWindowProc's WM_NCHITTEST for one window: its own scroll bars answer
// from the geometry they are drawn with (platform/window/scroll_bar.h), the
// rest from the frame's layout on the screen (platform/window/non_client.h).
#pragma once

#include "platform/base/wintypes.h"

namespace platform {

// The HT code of a screen point; HTNOWHERE for no window.
LRESULT NonClientHitTest(HWND hwnd, POINT screen);

}  // namespace platform
