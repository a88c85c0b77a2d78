// ResetForTest for programs that link the whole platform: the framework's
// own end of session (AfxWinTerm), then the test clock. Programs of the lower
// floors use reset_layers.h instead, which reaches the floors' resets
// directly.
#include "platform/testing/reset_for_test.h"

#include <cstdio>
#include <cstdlib>

#include "platform/comctl/win_term.h"
#include "platform/window/cursor.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"

void platform::ResetForTest() {
  AfxWinTerm();
  // A window that outlives DestroyWindow is a fault of the test (a
  // destruction left half done), not something to hide.
  int left = 0;
  ::EnumWindows([](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<int*>(count), TRUE; },
                reinterpret_cast<LPARAM>(&left));
  if (left > 0) {
    std::fprintf(stderr, "ResetForTest: %d window(s) survived DestroyWindow\n", left);
    std::abort();
  }
  SetClockMode(ClockMode::Manual);
  ::SetDoubleClickTime(0);
}
