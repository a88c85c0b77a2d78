#include "platform/test_support.h"

#include "platform/clipboard.h"
#include "platform/keyboard.h"
#include "platform/message_queue.h"
#include "platform/msgbox.h"
#include "platform/sys_colors.h"
#include "platform/window.h"
#include "platform/window_registry.h"

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
}

}  // namespace platform
