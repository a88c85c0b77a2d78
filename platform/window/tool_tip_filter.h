// Where a window's own mouse messages meet the tool-tips. The window layer
// only holds the hook: CWnd::PreTranslateMessage passes a message of a window
// with tool-tips enabled to the installed filter. The common controls
// (comctl/cwnd_tool_tips.cpp), which own the tool-tip control, install it
// when a window first enables its tool-tips, so that the window layer links
// without them. Used on the user-interface thread only.
#pragma once

#include "platform/window/messages.h"

class CWnd;

namespace platform {

using ToolTipFilter = void (*)(CWnd& window, const MSG& msg);

// Installs `filter` (null removes it); the last one installed is used.
void SetToolTipFilter(ToolTipFilter filter);
// The installed filter, or null.
ToolTipFilter InstalledToolTipFilter();

}  // namespace platform
