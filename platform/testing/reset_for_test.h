// Helpers for tests of code built on the window layer (any folder's tests).
#pragma once

namespace platform {

// Puts the layer back to a clean headless state: everything AfxWinTerm does
// (every window destroyed, the queue, timers, keys, colours, clipboard,
// menus, logs and responders as a new process finds them), then the manual
// clock at 0. A window that survives its destruction aborts the program.
void ResetForTest();

}  // namespace platform
