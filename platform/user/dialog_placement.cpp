#include "platform/user/dialog_placement.h"

#include <algorithm>

#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"
#include "platform/window/winapi.h"

namespace platform {

HWND DefaultDialogOwner() {
  if (CWnd* main = AfxGetMainWnd(); main != nullptr && ::IsWindow(main->GetSafeHwnd())) return main->GetSafeHwnd();
  const HWND active = ::GetActiveWindow();
  return active != nullptr && ::IsWindowVisible(active) ? active : nullptr;
}

HWND DialogOpener() {
  if (const HWND active = ::GetActiveWindow(); active != nullptr && ::IsWindowVisible(active)) return active;
  return DefaultDialogOwner();
}

std::optional<POINT> PlaceClearOfOpener(HWND opener, SIZE size) {
  const HWND control = ::GetFocus();
  if (opener == nullptr || control == nullptr || control == opener || !::IsChild(opener, control)) return std::nullopt;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT box;
  ::GetWindowRect(opener, &box);
  if (box.bottom + size.cy <= screenHeight && box.left + size.cx <= screenWidth) return POINT{box.left, box.bottom};
  if (box.right + size.cx <= screenWidth && box.top + size.cy <= screenHeight) return POINT{box.right, box.top};
  RECT pressed;
  ::GetWindowRect(control, &pressed);
  return POINT{
      std::clamp(static_cast<int>(box.left), 0, std::max(0, screenWidth - static_cast<int>(size.cx))),
      std::clamp(static_cast<int>(pressed.bottom) + 2, 0, std::max(0, screenHeight - static_cast<int>(size.cy)))};
}

}  // namespace platform
