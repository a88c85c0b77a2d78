#include "platform/window/window_paint.h"

#include "platform/gdi/display_list.h"
#include "platform/window/messages.h"
#include "platform/window/winapi.h"

namespace {

HDC NewWindowDc(HWND hwnd) {
  return platform::CreateWindowDC(hwnd, reinterpret_cast<HFONT>(::SendMessage(hwnd, WM_GETFONT, 0, 0)));
}

}  // namespace

HDC GetDC(HWND hwnd) { return ::IsWindow(hwnd) ? NewWindowDc(hwnd) : nullptr; }

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
