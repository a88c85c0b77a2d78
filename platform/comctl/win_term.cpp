#include "platform/comctl/win_term.h"

#include "platform/comctl/image_list_drag.h"
#include "platform/gdi/sys_colors.h"
#include "platform/user/clipboard.h"
#include "platform/user/color_dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/window/cwnd.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_registry.h"

void AfxWinTerm() {
  platform::DestroyAllWindows();
  ImageList_EndDrag();
  platform::SetMainWindow(nullptr);
  platform::ResetMessageQueue();
  platform::ResetKeyboard();
  platform::ResetSysColors();
  platform::ResetClipboard();
  platform::ResetMenus();
  platform::ResetColorChooser();
  platform::ClearMessageBoxLog();
  platform::SetMessageBoxResponder(nullptr);
}
