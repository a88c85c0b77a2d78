// Text pictures of windows for people and scripts: a window tree, one
// window a line, children indented, with class, id, text, state and, for
// buttons, combos and lists, what is checked or selected, a combo's items
// and a list view's columns and row count.
#pragma once

#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "terminal/readout/window_readers.h"

namespace terminal {

// The visible top-level window whose caption is `caption`; null when none.
// Hidden windows are found too when no visible one has the caption.
HWND FindTopLevelWindow(const std::string& caption);

// Every top-level window, visible or not, top of the z-order first.
std::vector<HWND> TopLevelWindows();

std::string DescribeWindow(HWND hwnd);

std::string DumpWindowTree(HWND root);

}  // namespace terminal
