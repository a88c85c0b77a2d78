// Helpers for tests of code built on the window layer (any folder's tests).
#pragma once

namespace platform {

// Puts the layer back to a clean headless state: destroys every window,
// forgets the main window,
// drops posted messages, timers and a pending quit, sets the manual clock
// back to 0, releases every key, clears the message-box log, and restores
// the default message-box and modal responders, and destroys every pop-up
// menu, empties the menu log and restores the default menu responder.
void ResetForTest();

}  // namespace platform
