// Small readers of a window's text and class, and of a list's or combo's
// items, shared by the window dump, the control names and the script runner.
#pragma once

#include <string>

#include "platform/base/wintypes.h"

namespace terminal {

std::string WindowText(HWND hwnd);
std::string WindowClass(HWND hwnd);
bool IsWindowClass(HWND hwnd, const char* className);  // without regard to case
// Text of item `index` of a list or combo, through its length and text messages.
std::string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, WPARAM index);

}  // namespace terminal
