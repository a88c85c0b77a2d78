// Text pictures of windows for people and scripts: a window tree, one
// window a line, children indented, with class, id, text, state and, for
// buttons, combos and lists, what is checked or selected.
#pragma once

#include <string>

#include "platform/base/wintypes.h"

namespace terminal {

// The visible top-level window whose caption is `caption`; null when none.
// Hidden windows are found too when no visible one has the caption.
HWND FindTopLevelWindow(const std::string& caption);

// A control of `window`, named by its numeric id ("20001") or by its text
// ("Add Group"); null when none.
HWND FindControl(HWND window, const std::string& name);

std::string DescribeWindow(HWND hwnd);

// Small readers shared by the dump and the script runner.
std::string WindowClass(HWND hwnd);
bool IsWindowClass(HWND hwnd, const char* className);  // without regard to case
// Text of item `index` of a list or combo, through its length and text messages.
std::string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, WPARAM index);
std::string DumpWindowTree(HWND root);

}  // namespace terminal
