#include "platform/user/wheel_scroll.h"

#include "platform/window/winapi.h"

namespace platform {

bool ScrollByWheel(HWND list, WPARAM wParam, int top, int count, const std::function<void(int)>& setTop) {
  constexpr int kRowsPerNotch = 3;
  const int notches = static_cast<short>(HIWORD(wParam)) / 120;
  if (notches == 0 || count == 0) return false;
  setTop(top - kRowsPerNotch * notches);
  ::InvalidateRect(list, nullptr, TRUE);
  return true;
}

}  // namespace platform
