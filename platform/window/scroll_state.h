// What a window keeps of its own scroll bars (platform/window/scroll_bar.h
// says how they behave): per bar its numbers, the dragged thumb's position
// and the arrows disabled. The window's record holds it; the bars' code
// alone reads and changes it.
#pragma once

#include "platform/base/wintypes.h"

namespace platform {

// One bar's range nMin..nMax, page and position, as SCROLLINFO has them.
struct ScrollNumbers {
  int min = 0;
  int max = 100;
  int page = 0;
  int pos = 0;
};

// Per-window state, kept in the window's record (made on first use).
struct ScrollBarState {
  struct Bar {
    ScrollNumbers numbers;
    int trackPos = 0;
    UINT disabledArrows = 0;  // ESB_ bits
  };
  Bar horz;
  Bar vert;
};

}  // namespace platform
