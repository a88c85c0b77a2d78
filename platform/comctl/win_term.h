// The end of the framework's session in a process, the program's last step
// before it leaves main: every window still open is destroyed (owned pop-ups
// with their owners), an image-list drag ends, and the framework's state goes
// back to how a new process finds it: no posted message, timer or pending
// quit; no key down; the classic system colours; an empty, closed clipboard;
// no menu; the colour chooser's and message boxes' logs and responders at
// their defaults; no main window. A window that will not be destroyed is
// left after one round that destroys nothing more.
#pragma once

#include "platform/base/export.h"

PLATFORM_API void AfxWinTerm();
