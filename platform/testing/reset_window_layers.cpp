#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_layers.h"
#include "platform/window/cursor.h"
#include "platform/window/cwnd.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"

namespace platform::test_reset {
namespace {

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

// Only the library's public functions: the helper links against the same
// code as the code under test and sees what that code sees.
void ResetWindowLayers() {
  // Destroying one window may destroy others (owned pop-ups), so the list is
  // read again after every round. A window that outlives DestroyWindow is a
  // fault of the test (a destruction left half done), not something to hide.
  for (std::vector<HWND> windows = TopLevelWindows(); !windows.empty();) {
    for (HWND hwnd : windows) ::DestroyWindow(hwnd);
    std::vector<HWND> left = TopLevelWindows();
    if (left.size() >= windows.size()) {
      std::fprintf(stderr, "ResetForTest: %zu window(s) survived DestroyWindow\n", left.size());
      std::abort();
    }
    windows = std::move(left);
  }
  SetMainWindow(nullptr);
  SetClockMode(ClockMode::Manual);
  ResetMessageQueue();
  ResetKeyboard();
  ResetSysColors();
  ::SetDoubleClickTime(0);
}

}  // namespace platform::test_reset
