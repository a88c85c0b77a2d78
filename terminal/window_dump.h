// Text pictures of windows for people and scripts: a window tree, one
// window a line, children indented, with class, id, text, state and, for
// buttons, combos and lists, what is checked or selected.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace terminal {

// The visible top-level window whose caption is `caption`; null when none.
// Hidden windows are found too when no visible one has the caption.
HWND FindTopLevelWindow(const std::string& caption);

// A control of `window`, named by its numeric id ("20001") or by its text
// ("Add Group"); null when none.
HWND FindControl(HWND window, const std::string& name);

std::string DescribeWindow(HWND hwnd);
std::string DumpWindowTree(HWND root);

}  // namespace terminal
