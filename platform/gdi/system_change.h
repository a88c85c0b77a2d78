// How the drawing layer announces a change of system-wide settings (system
// colours, installed fonts) to windows it knows nothing of: the window layer
// installs a broadcaster at load, and the drawing layer calls it after the
// change. Internal to the library.
#pragma once

namespace platform {

enum class SystemChange { Colors, Fonts };  // WM_SYSCOLORCHANGE, WM_FONTCHANGE

using SystemChangeBroadcast = void (*)(SystemChange change);
// Installed once by the window layer (window/window_broadcast.cpp).
void SetSystemChangeBroadcast(SystemChangeBroadcast broadcast);
// Tells every window; nothing before a broadcaster is installed.
void BroadcastSystemChange(SystemChange change);

}  // namespace platform
