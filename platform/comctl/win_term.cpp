#include "platform/comctl/win_term.h"

#include <utility>
#include <vector>

#include "platform/comctl/image_list_drag.h"
#include "platform/gdi/sys_colors.h"
#include "platform/user/clipboard.h"
#include "platform/user/color_dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/window/cwnd.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"

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

void AfxWinTerm() {
  // Destroying one window may destroy others (owned pop-ups), so the list is
  // read again after every round; a round that frees nothing ends it.
  for (std::vector<HWND> windows = TopLevelWindows(); !windows.empty();) {
    for (HWND hwnd : windows) ::DestroyWindow(hwnd);
    std::vector<HWND> left = TopLevelWindows();
    if (left.size() >= windows.size()) break;
    windows = std::move(left);
  }
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
