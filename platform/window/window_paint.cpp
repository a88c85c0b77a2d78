#include "platform/window/window_paint.h"

#include "platform/gdi/display_list.h"
#include "platform/window/messages.h"
#include "platform/window/winapi.h"

namespace {

HDC NewWindowDc(HWND hwnd) {
  return platform::CreateWindowDC(hwnd, reinterpret_cast<HFONT>(::SendMessage(hwnd, WM_GETFONT, 0, 0)));
}

}  // namespace

// No window names the screen: a DC to measure text with, in the default font.
HDC GetDC(HWND hwnd) {
  if (hwnd == nullptr) return platform::CreateWindowDC(nullptr, nullptr);
  return ::IsWindow(hwnd) ? NewWindowDc(hwnd) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) { return platform::ReleaseWindowDC(hwnd, dc) ? 1 : 0; }

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (ps == nullptr || !::IsWindow(hwnd)) return nullptr;
  *ps = PAINTSTRUCT{};
  platform::ClearDisplayList(hwnd);
  ::ValidateRect(hwnd, nullptr);
  ps->hdc = NewWindowDc(hwnd);
  ::GetClientRect(hwnd, &ps->rcPaint);
  ps->fErase = ::SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) == 0 ? TRUE : FALSE;
  return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps == nullptr) return FALSE;
  return ::ReleaseDC(hwnd, ps->hdc) ? TRUE : FALSE;
}

int GetClipBox(HDC dc, LPRECT rect) {
  if (rect == nullptr || !platform::IsDC(dc)) return 0;
  *rect = RECT{0, 0, 0, 0};
  if (const HWND window = ::WindowFromDC(dc); window != nullptr) {
    if (!::GetClientRect(window, rect)) return 0;
  } else {
    BITMAP bitmap;
    if (::GetObject(::GetCurrentObject(dc, OBJ_BITMAP), sizeof(bitmap), &bitmap) == 0) return 0;
    *rect = RECT{0, 0, bitmap.bmWidth, bitmap.bmHeight};
  }
  return rect->right > rect->left && rect->bottom > rect->top ? SIMPLEREGION : NULLREGION;
}
