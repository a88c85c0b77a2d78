#include "platform/testing/reset_for_test.h"

#include "platform/user/clipboard.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/cwnd.h"
#include "platform/window/window_registry.h"

namespace platform {

void ResetForTest() {
  auto& registry = WindowRegistry::Get();
  while (!registry.TopLevel().empty()) {
    const HWND top = registry.TopLevel().front();
    ::DestroyWindow(top);
    // A window that refuses to die must not hang the reset.
    auto& list = registry.TopLevel();
    if (!list.empty() && list.front() == top) list.erase(list.begin());
  }
  registry.focus = registry.active = registry.capture = nullptr;
  SetMainWindow(nullptr);
  SetClockMode(ClockMode::Manual);
  ResetMessageQueue();
  ResetKeyboard();
  ClearMessageBoxLog();
  SetMessageBoxResponder(nullptr);
  ResetSysColors();
  ResetClipboard();
  ResetMenus();
}

}  // namespace platform
