// The parts of ResetForTest (reset_for_test.h), one per floor, so that a
// floor's tests reset what they link and no more: a program of the floors
// up to input links reset_window_for_test.cpp, one up to user
// reset_user_for_test.cpp, and everything else reset_for_test.cpp.
#pragma once

namespace platform::test_reset {

// Window and gdi floors: destroys every window (aborting when one survives
// DestroyWindow), forgets the main window, sets the manual clock back to 0,
// drops posted messages, timers and a pending quit, releases every key,
// restores the system colours and a double-click time of 0.
void ResetWindowLayers();
// User floor: empties the message-box log and restores the default
// message-box responder, the clipboard, the menus (every pop-up destroyed,
// the log emptied, the default responder) and the colour chooser.
void ResetUserLayer();

}  // namespace platform::test_reset
