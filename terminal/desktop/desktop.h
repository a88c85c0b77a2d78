// The desktop mode (tarnterm --window): the terminal's main window, and every
// top-level window of the platform layer, as windows on an X server, painted
// by the renderer and driven by a person's mouse and keyboard through the
// input driver. Timers run on the real-time clock.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/afx.h"

namespace terminal::desktop {

struct DesktopSetup {
  std::string display;               // the X display; empty: $DISPLAY
  std::string menuTitle;             // the plug-in's menu caption
  std::vector<std::string> hotKeys;  // as the plug-in registered them ("Alt+A")
  // Runs a hot key; false with the reason when it could not.
  std::function<bool(const std::string& key, std::string& why)> runHotKey;
  std::string windowMap;  // --window-map FILE: see window_map.h
  HWND log = nullptr;     // the main window's log pane: minimised windows park above it
};

// True when this build has the desktop mode (it was built with Xlib).
bool Available();

// Shows `mainWindow` with a menu bar entry for the plug-in and runs the
// message loop until the main window is closed; returns the exit status:
// 0 then, 1 when the display cannot be used (with the reason on stderr).
// The connection lost later ends the process with status 1.
int RunDesktop(CWnd& mainWindow, const DesktopSetup& setup);

// A message box shown as a modal window (message_box_window.h); returns the
// answer.
int ShowMessageBox(const platform::MessageBoxRecord& box);

}  // namespace terminal::desktop
