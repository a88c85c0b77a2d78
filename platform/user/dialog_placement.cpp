#include "platform/user/dialog_placement.h"

#include <algorithm>

#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"
#include "platform/window/winapi.h"

namespace platform {

HWND DefaultDialogOwner() {
  if (const HWND active = ::GetActiveWindow(); active != nullptr && ::IsWindowVisible(active)) return active;
  CWnd* main = AfxGetMainWnd();
  return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

std::optional<POINT> PlaceClearOfOpener(HWND owner, SIZE size) {
  const HWND opener = ::GetFocus();
  if (owner == nullptr || opener == nullptr || opener == owner || !::IsChild(owner, opener)) return std::nullopt;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT box;
  ::GetWindowRect(owner, &box);
  if (box.bottom + size.cy <= screenHeight && box.left + size.cx <= screenWidth) return POINT{box.left, box.bottom};
  if (box.right + size.cx <= screenWidth && box.top + size.cy <= screenHeight) return POINT{box.right, box.top};
  RECT control;
  ::GetWindowRect(opener, &control);
  return POINT{
      std::clamp(static_cast<int>(box.left), 0, std::max(0, screenWidth - static_cast<int>(size.cx))),
      std::clamp(static_cast<int>(control.bottom) + 2, 0, std::max(0, screenHeight - static_cast<int>(size.cy)))};
}

}  // namespace platform
