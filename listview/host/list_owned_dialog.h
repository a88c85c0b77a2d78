// The window of a process-wide dialog that serves whichever list opens it
// (the custom column dialog, the filter text pop-up).
#pragma once

#include "platform/afx.h"
#include "platform/user/cdialog.h"

namespace listview {

// Makes `dialog`'s window from template `id`, owned by the top-level window
// of `list`, so that it goes when that window goes. A window owned by
// another list's top-level window is destroyed and made again. Returns
// true when the window was made now (the caller's first-time set-up), and
// sets `ok` to whether the dialog has a window.
bool CreateForList(CDialog& dialog, UINT id, const CWnd& list, bool& ok);

}  // namespace listview
