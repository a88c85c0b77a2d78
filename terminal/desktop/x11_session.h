// What the desktop mode keeps while it runs: one X window (XMirror) per
// visible top-level window of the platform and per open drop-down list, and
// the translation of X events into input-driver calls.
//
// Sync() brings the X side in line with the platform's windows: it creates,
// places, shows and hides mirrors, raises the active window, and, when the
// loops delivered a message since the last time (a sign that something may
// have changed), paints every shown mirror afresh through the renderer,
// sending only the rows that changed; the keyboard focus follows the
// platform's active window, and the window manager's focus moves the
// platform's activation; a window moved or sized from outside (a window
// manager's ConfigureNotify) moves the platform's window. Wait() is the message loop's wait: it
// syncs, sleeps on the connection for at most the given time, and handles
// what arrived, up to the first key or button, which may end the loop.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The platform's headers before Xlib's, whose macros (None, Status, ...)
// would otherwise rewrite them.
#include "platform/afx.h"

#include "terminal/desktop/x11_clipboard.h"
#include "terminal/desktop/x11_display.h"
#include "terminal/desktop/x11_mirror.h"

namespace terminal::desktop {

class Session {
 public:
  struct Hooks {
    // A key with modifiers that names a hot key: true when it was one.
    std::function<bool(const std::string& name)> hotKey;
    // Called after each sync in which a window came, went, moved or was
    // painted differently.
    std::function<void()> painted;
    // Called at the start of every sync.
    std::function<void()> syncing;
  };
  Session(XDisplay& display, HWND mainWindow, int menuBarBottom, Hooks hooks);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void Sync();
  void Wait(int timeoutMs);
  void Handle(XEvent& event);
  XClipboard& Clipboard() { return m_clipboard; }

 private:
  XMirror* MirrorOf(Window window);
  void Place(HWND hwnd);
  HWND Target(const XMirror& mirror, POINT screen) const;
  void Press(const XButtonEvent& event);
  void Release(const XButtonEvent& event);
  void Motion(XEvent& event);
  void Key(XKeyEvent& event, bool down);
  void Focused(const XFocusChangeEvent& event);
  void Configured(XEvent& event);
  void SyncModifiers(unsigned xState);
  void Restack(const std::vector<HWND>& shown);
  void FocusActive();

  XDisplay& m_display;
  XClipboard m_clipboard;
  HWND m_main;
  int m_menuBarBottom;  // screen y below the main window's menu bar
  Hooks m_hooks;
  std::map<HWND, std::unique_ptr<XMirror>> m_mirrors;
  std::vector<HWND> m_placed;  // windows already given their first place
  uint64_t m_deliveredAtPaint = ~uint64_t{0};
  HWND m_active = nullptr;
  unsigned long m_focusSerial = 0;  // the request that last set the X focus
  std::vector<HWND> m_stacking;  // the mirrors' order last set, top first
  bool m_changed = true;
  // The last press, for double clicks and for where its release goes.
  HWND m_pressed = nullptr;
  Time m_pressTime = 0;
  POINT m_pressAt{-100, -100};
  unsigned m_pressButton = 0;
  unsigned m_hotKey = 0;  // the key of a hot key taken, whose release is swallowed
};

}  // namespace terminal::desktop
