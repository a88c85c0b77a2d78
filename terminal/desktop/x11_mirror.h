// One X window standing for one window of the platform layer: placed where
// the platform has it (screen coordinates), shown and hidden with it, and
// showing the renderer's picture of it. A window with a caption is a managed
// window without the window manager's decorations (the picture has its own
// caption); a caption-less pop-up (a drop-down list, a tool-tip) bypasses
// the window manager.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The platform's headers before Xlib's (see x11_session.h).
#include "platform/base/wintypes.h"
#include "platform/render/image.h"

#include "terminal/desktop/place_ledger.h"
#include "terminal/desktop/x11_display.h"

namespace terminal::desktop {

class XMirror {
 public:
  XMirror(XDisplay& display, HWND hwnd, const RECT& rect, bool managed, const std::string& title);
  ~XMirror();
  XMirror(const XMirror&) = delete;
  XMirror& operator=(const XMirror&) = delete;

  HWND Hwnd() const { return m_hwnd; }
  Window Xid() const { return m_window; }
  const RECT& Rect() const { return m_rect; }
  bool Mapped() const { return m_mapped; }

  // Moves and sizes the X window to `rect` when it differs.
  void Place(const RECT& rect);
  // The server says the window now lies at `rect`: true when that is not
  // what this mirror asked for (a window manager or another client moved
  // it); the mirror then takes it as its place.
  bool Configured(const RECT& rect);
  void SetTitle(const std::string& title);
  void Show();
  void Hide();
  // Keeps the picture and sends what changed; true when anything did.
  bool Paint(platform::Image image);
  // Sends the whole picture again (after an expose).
  void Repaint();

 private:
  XDisplay& m_display;
  HWND m_hwnd;
  Window m_window = None;
  GC m_gc = nullptr;
  RECT m_rect;
  PlaceLedger m_ledger;  // the places asked for, to tell the server's notices of them from others
  bool m_mapped = false;
  std::string m_title;
  platform::Image m_picture;
};

}  // namespace terminal::desktop
