#include "platform/window/cursor.h"

#include <algorithm>

#include "platform/window/metrics.h"

namespace {
constexpr UINT kDefaultDoubleClickMs = 500;

POINT& Pointer() {
  static POINT pointer;
  return pointer;
}
UINT& DoubleClickMs() {
  static UINT ms = kDefaultDoubleClickMs;
  return ms;
}
}  // namespace

UINT GetDoubleClickTime() { return DoubleClickMs(); }

BOOL SetDoubleClickTime(UINT ms) {
  DoubleClickMs() = ms == 0 ? kDefaultDoubleClickMs : ms;
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (point == nullptr) return FALSE;
  *point = Pointer();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  Pointer() =
      POINT{std::clamp(x, 0, GetSystemMetrics(SM_CXSCREEN) - 1), std::clamp(y, 0, GetSystemMetrics(SM_CYSCREEN) - 1)};
  return TRUE;
}
