// The connection to an X server, for the desktop mode. It needs a TrueColor
// visual of depth 24 or 32, whose pixels have the renderer's 0x00RRGGBB
// layout, so that a picture goes to the server as it is.
//
// A server that goes away is fatal: Xlib calls the I/O error handler, which
// says so on stderr and ends the process with status 1 (it must not return).
// Protocol errors (a request on a window the server has just destroyed) are
// counted and otherwise ignored.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

namespace terminal::desktop {

class XDisplay {
 public:
  // Opens `name` (the DISPLAY variable when empty); nothing, with `error`
  // saying why, when it cannot be opened or has no suitable visual.
  static std::unique_ptr<XDisplay> Open(const std::string& name, std::string& error);
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  Display* get() const { return m_display; }
  int Screen() const { return m_screen; }
  Visual* TrueColorVisual() const { return m_visual.visual; }
  int Depth() const { return static_cast<int>(m_visual.depth); }
  Window Root() const { return RootWindow(m_display, m_screen); }
  int Fd() const { return ConnectionNumber(m_display); }

  Colormap colormap = None;  // of the TrueColor visual
  Atom wmProtocols = None;
  Atom wmDeleteWindow = None;
  Atom motifHints = None;
  Atom netWmName = None;
  Atom utf8String = None;

 private:
  XDisplay(Display* display, const XVisualInfo& visual);
  Display* m_display;
  int m_screen;
  XVisualInfo m_visual;
  const bool m_ownColormap;
};

}  // namespace terminal::desktop
