#include "terminal/readout/window_readers.h"

#include <strings.h>

#include "platform/afx.h"

namespace terminal {

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLength(hwnd);
  if (length <= 0) return {};
  // The terminator lands on the string's own, one past its characters.
  std::string text(static_cast<size_t>(length), '\0');
  GetWindowText(hwnd, text.data(), length + 1);
  return text;
}

std::string WindowClass(HWND hwnd) {
  char name[64] = {};
  GetClassName(hwnd, name, sizeof name);
  return name;
}

bool IsWindowClass(HWND hwnd, const char* className) { return strcasecmp(WindowClass(hwnd).c_str(), className) == 0; }

std::string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, WPARAM index) {
  const auto length = SendMessage(hwnd, lengthMessage, index, 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length), '\0');
  SendMessage(hwnd, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  return text;
}

}  // namespace terminal
