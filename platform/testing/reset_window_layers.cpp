#include <cstdio>
#include <cstdlib>

#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_layers.h"
#include "platform/window/cursor.h"
#include "platform/window/cwnd.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"
#include "platform/window/window_registry.h"

namespace platform::test_reset {

// The floors' own functions: the programs that use this helper link the
// floors' objects, not the shared library.
void ResetWindowLayers() {
  // A window that outlives DestroyWindow is a fault of the test (a
  // destruction left half done), not something to hide.
  if (const size_t left = DestroyAllWindows(); left > 0) {
    std::fprintf(stderr, "ResetForTest: %zu window(s) survived DestroyWindow\n", left);
    std::abort();
  }
  SetMainWindow(nullptr);
  SetClockMode(ClockMode::Manual);
  ResetMessageQueue();
  ResetKeyboard();
  ResetSysColors();
  ::SetDoubleClickTime(0);
}

}  // namespace platform::test_reset
