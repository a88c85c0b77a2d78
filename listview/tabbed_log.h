// The terminal's log, as the list framework reaches it. The lists run in a
// plug-in, which reaches its terminal only through the terminal's exports;
// the framework knows no terminal, so its owner says where lines go.
#pragma once

#include "platform/base/cstring.h"

namespace listview {

using TabbedLog = void (*)(const CString& text);

// Lines go to `log` from now on; null sends them to standard error, where
// they go until an owner sets one.
void SetTabbedLog(TabbedLog log);

// Appends one line to the terminal's log.
void AddToTabbedLog(const CString& text);

}  // namespace listview
