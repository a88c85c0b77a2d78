#include "platform/testing/reset_layers.h"
#include "platform/user/clipboard.h"
#include "platform/user/color_dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"

namespace platform::test_reset {

void ResetUserLayer() {
  ClearMessageBoxLog();
  SetMessageBoxResponder(nullptr);
  ResetClipboard();
  ResetMenus();
  ResetColorChooser();
}

}  // namespace platform::test_reset
