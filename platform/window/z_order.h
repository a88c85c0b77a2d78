// The rules the z-order of top-level windows keeps, whatever changes it:
// an owned window always lies above its owner (a dialog above the window it
// was opened from, a modal dialog above the window it disables, a tool-tip
// above its window), so raising or activating an owner brings what it owns
// up with it, in the order they had. The one routine that restacks windows
// (SetWindowPos, and so BringWindowToTop and activation) applies them.
#pragma once

#include "platform/base/export.h"

#include <vector>

#include "platform/base/wintypes.h"

namespace platform {

// Moves each owned window of `topLevel` (top first) that lies below its
// owner to just above it, keeping the order of the others; a window only
// ever moves up. The window layer's own: not exported.
void KeepOwnedAboveOwners(std::vector<HWND>& topLevel);

// Whether `owner` is `hwnd` or owned by it, directly or through others: an
// owner that would make a cycle, which the window layer refuses.
bool WouldOwnItself(HWND hwnd, HWND owner);

// The window a disabled top-level window waits for: the topmost shown,
// enabled window it owns (directly or through others), such as the modal
// dialog that disabled it; null when there is none.
HWND EnabledPopupOf(HWND owner);

}  // namespace platform
