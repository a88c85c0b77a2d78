// Settings changes of the drawing layer (WM_SYSCOLORCHANGE, WM_FONTCHANGE)
// reach every window: each top-level window, then its descendants depth
// first, so a control that caches system colours or font lists hears of the
// change without its dialog forwarding it.
#include <vector>

#include "platform/gdi/system_change.h"
#include "platform/window/winapi.h"

namespace {

BOOL Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

void SendToEveryWindow(platform::SystemChange change) {
  const UINT message = change == platform::SystemChange::Colors ? WM_SYSCOLORCHANGE : WM_FONTCHANGE;
  std::vector<HWND> tops;
  ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&tops));
  std::vector<HWND> all;
  for (HWND top : tops) {
    all.push_back(top);
    ::EnumChildWindows(top, &Collect, reinterpret_cast<LPARAM>(&all));
  }
  // A handler may destroy windows; those are skipped.
  for (HWND hwnd : all) {
    if (::IsWindow(hwnd)) ::SendMessage(hwnd, message, 0, 0);
  }
}

// Installed when the library is loaded, before any window can exist.
const struct BroadcastInstaller {
  BroadcastInstaller() { platform::SetSystemChangeBroadcast(&SendToEveryWindow); }
} kInstaller;

}  // namespace
