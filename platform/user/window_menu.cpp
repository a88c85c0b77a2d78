// The window menu (Alt+Space): what the frame's boxes and its caption and
// sides do, from the keyboard. The window floor opens it for SC_KEYMENU
// (window/move_size.h); menus are this floor's, so it is installed from here.
#include "platform/user/menu.h"
#include "platform/window/move_size.h"
#include "platform/window/metrics.h"
#include "platform/window/winapi.h"

namespace {

UINT Allowed(bool yes) { return yes ? MF_STRING : MF_STRING | MF_GRAYED; }

// Entries as the platform offers them: a dialog without boxes has Move and
// Close; Size only with a sizing frame; each greyed where the window's state
// makes it do nothing.
WPARAM TrackWindowMenu(HWND hwnd) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtr(hwnd, GWL_STYLE));
  const bool iconic = (style & WS_MINIMIZE) != 0;
  const bool zoomed = (style & WS_MAXIMIZE) != 0;
  const bool boxes = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
  HMENU menu = ::CreatePopupMenu();
  if (boxes) ::AppendMenu(menu, Allowed(iconic || zoomed), SC_RESTORE, "&Restore");
  ::AppendMenu(menu, Allowed(!zoomed), SC_MOVE, "&Move");
  if (style & WS_THICKFRAME) ::AppendMenu(menu, Allowed(!iconic && !zoomed), SC_SIZE, "&Size");
  if (boxes) {
    ::AppendMenu(menu, Allowed((style & WS_MINIMIZEBOX) && !iconic), SC_MINIMIZE, "Mi&nimize");
    ::AppendMenu(menu, Allowed((style & WS_MAXIMIZEBOX) && !zoomed), SC_MAXIMIZE, "Ma&ximize");
  }
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  // Below the caption's left end, where its icon would be.
  RECT window{};
  ::GetWindowRect(hwnd, &window);
  const RECT frame = platform::NonClientInsets(style & ~(WS_HSCROLL | WS_VSCROLL),
                                               static_cast<DWORD>(::GetWindowLongPtr(hwnd, GWL_EXSTYLE)));
  const auto chosen = static_cast<WPARAM>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD, window.left + frame.left, window.top + frame.top, 0, hwnd, nullptr));
  ::DestroyMenu(menu);
  return chosen;
}

const bool kInstalled = platform::SetWindowMenuTracker(&TrackWindowMenu);

}  // namespace
