#include <cstdio>
#include <optional>

// The platform's headers before Xlib's (see x11_session.h).
#include "platform/user/clipboard.h"
#include "platform/user/color_chooser_dlg.h"
#include "platform/user/popup_menu_window.h"
#include "terminal/desktop/desktop.h"
#include "terminal/desktop/menu_bar.h"
#include "terminal/desktop/window_map.h"
#include "terminal/desktop/x11_display.h"
#include "terminal/desktop/x11_session.h"

namespace terminal::desktop {

bool Available() { return true; }

int RunDesktop(CWnd& mainWindow, const DesktopSetup& setup) {
  std::string error;
  const std::unique_ptr<XDisplay> display = XDisplay::Open(setup.display, error);
  if (!display) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  platform::SetClockMode(platform::ClockMode::RealTime);

  auto runHotKey = [&](const std::string& key) {
    std::string why;
    if (!setup.runHotKey(key, why)) std::fprintf(stderr, "tarnterm: %s\n", why.c_str());
  };
  std::vector<MenuBar::Entry> entries;
  for (const std::string& key : setup.hotKeys) entries.push_back({setup.menuTitle, key});
  MenuBar menuBar(entries, runHotKey);
  // The platform's screen is the display's; the main window fills it, as a
  // terminal's frame does, its log along the bottom (the bar made after, as wide).
  platform::SetScreenSize(DisplayWidth(display->get(), display->Screen()),
                          DisplayHeight(display->get(), display->Screen()));
  mainWindow.ShowWindow(SW_SHOWMAXIMIZED);
  menuBar.Create(mainWindow);
  ::SetActiveWindow(mainWindow.m_hWnd);
  POINT below{0, MenuBar::kHeight};
  mainWindow.ClientToScreen(&below);

  Session::Hooks hooks;
  // Minimised windows park above the log, however the main window is sized.
  hooks.syncing = [log = setup.log] {
    RECT r{};
    if (log != nullptr && ::IsWindowVisible(log) && ::GetWindowRect(log, &r)) platform::SetMinimizedBottom(r.top);
  };
  hooks.hotKey = [&](const std::string& name) {
    for (const std::string& key : setup.hotKeys) {
      if (key == name) {
        runHotKey(key);
        return true;
      }
    }
    return false;
  };
  if (!setup.windowMap.empty()) {
    hooks.painted = [&, warned = false]() mutable {
      if (!WriteWindowMap(setup.windowMap) && !warned) {
        warned = true;  // once: the map is rewritten after every change
        std::fprintf(stderr, "tarnterm: cannot write %s\n", setup.windowMap.c_str());
      }
    };
  }
  int status = 0;
  {
    Session session(*display, mainWindow.m_hWnd, below.y, hooks);
    platform::SetExternalWait([&](int timeoutMs) { session.Wait(timeoutMs); });
    platform::SetMenuResponder(platform::ShowPopupMenu);
    // Copies reach other programs, and their copies paste here.
    XClipboard& clipboard = session.Clipboard();
    platform::SetClipboardBridge({[&clipboard](const std::string& text) { clipboard.Publish(text); },
                                  [&clipboard] { return clipboard.Fetch(); }});
    // A person is there to pick: colour choosers open the "Color" dialog.
    const platform::ColorResponder headlessColors = platform::CurrentColorResponder();
    platform::SetColorResponder(platform::ShowColorChooser);
    status = platform::RunMessageLoop();
    platform::SetColorResponder(headlessColors);
    platform::SetMenuResponder({});
    platform::SetClipboardBridge({});
    platform::SetExternalWait({});
  }
  // Either may be gone already (the loop ends when the main window is); both calls then do nothing.
  menuBar.DestroyWindow();
  mainWindow.ShowWindow(SW_HIDE);
  platform::SetClockMode(platform::ClockMode::Manual);
  platform::SetScreenSize(0, 0);
  platform::SetMinimizedBottom(0);
  return status;
}

}  // namespace terminal::desktop
