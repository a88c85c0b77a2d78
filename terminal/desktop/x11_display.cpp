#include "terminal/desktop/x11_display.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace terminal::desktop {

namespace {

// A protocol error (a window gone between two requests, say) is the server's
// answer to one request, not a fault of the session: go on. Xlib's default
// handler would end the process.
int OnProtocolError(Display*, XErrorEvent*) { return 0; }

[[noreturn]] int OnConnectionLost(Display*) {
  std::fprintf(stderr, "tarnterm: the connection to the X display was lost\n");
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

std::unique_ptr<XDisplay> XDisplay::Open(const std::string& name, std::string& error) {
  const char* wanted = name.empty() ? std::getenv("DISPLAY") : name.c_str();
  if (wanted == nullptr || *wanted == '\0') {
    error =
        "no X display: DISPLAY is not set (the desktop mode needs an X server; without --window the terminal runs "
        "headless)";
    return nullptr;
  }
  Display* display = XOpenDisplay(wanted);
  if (display == nullptr) {
    error = std::string("cannot open the X display \"") + wanted + "\"";
    return nullptr;
  }
  XVisualInfo visual{};
  const int screen = DefaultScreen(display);
  bool found = false;
  for (int depth : {24, 32}) {
    if (XMatchVisualInfo(display, screen, depth, TrueColor, &visual) && visual.red_mask == 0xFF0000 &&
        visual.green_mask == 0x00FF00 && visual.blue_mask == 0x0000FF) {
      found = true;
      break;
    }
  }
  if (!found) {
    XCloseDisplay(display);
    error = std::string("the X display \"") + wanted + "\" has no 24-bit TrueColor visual";
    return nullptr;
  }
  XSetErrorHandler(OnProtocolError);
  XSetIOErrorHandler(OnConnectionLost);
  return std::unique_ptr<XDisplay>(new XDisplay(display, visual));
}

XDisplay::XDisplay(Display* display, const XVisualInfo& visual)
    : m_display(display),
      m_screen(visual.screen),
      m_visual(visual),
      // The screen's own colormap when the visual is the screen's; tools that
      // read the screen (xwd) then need no colormap of ours.
      m_ownColormap(visual.visual != DefaultVisual(display, visual.screen)) {
  colormap = m_ownColormap ? XCreateColormap(display, RootWindow(display, m_screen), visual.visual, AllocNone)
                           : DefaultColormap(display, m_screen);
  wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
  wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  utf8String = XInternAtom(display, "UTF8_STRING", False);
}

XDisplay::~XDisplay() {
  if (m_ownColormap) XFreeColormap(m_display, colormap);
  XCloseDisplay(m_display);
}

}  // namespace terminal::desktop
