#include "terminal/desktop/x11_mirror.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <span>
#include <tuple>
#include <utility>

namespace terminal::desktop {

namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                         KeyReleaseMask | FocusChangeMask | StructureNotifyMask | LeaveWindowMask;

int Width(const RECT& r) { return std::max(1, static_cast<int>(r.right - r.left)); }
int Height(const RECT& r) { return std::max(1, static_cast<int>(r.bottom - r.top)); }

// The rows of `a` and `b` (same size) that differ, as [first, last); empty when none.
std::pair<int, int> ChangedRows(const platform::Image& a, const platform::Image& b) {
  int first = 0;
  int last = a.height;
  const auto width = static_cast<size_t>(a.width);
  // Spans, so that a row past the picture is caught where the library checks.
  const std::span pa(a.pixels), pb(b.pixels);
  auto rowDiffers = [&](int y) {
    const auto begin = static_cast<size_t>(y) * width;
    return !std::ranges::equal(pa.subspan(begin, width), pb.subspan(begin, width));
  };
  while (first < last && !rowDiffers(first)) ++first;
  while (last > first && !rowDiffers(last - 1)) --last;
  return {first, last};
}

}  // namespace

XMirror::XMirror(XDisplay& display, HWND hwnd, const RECT& rect, bool managed, const std::string& title)
    : m_display(display), m_hwnd(hwnd), m_rect(rect), m_ledger(rect) {
  Display* d = display.get();
  XSetWindowAttributes attributes{};
  attributes.override_redirect = managed ? False : True;
  attributes.event_mask = kEvents;
  attributes.background_pixel = 0xC0C0C0;
  attributes.border_pixel = 0;
  attributes.colormap = display.colormap;
  m_window =
      XCreateWindow(d, display.Root(), rect.left, rect.top, static_cast<unsigned>(Width(rect)),
                    static_cast<unsigned>(Height(rect)), 0, display.Depth(), InputOutput, display.TrueColorVisual(),
                    CWOverrideRedirect | CWEventMask | CWBackPixel | CWBorderPixel | CWColormap, &attributes);
  m_gc = XCreateGC(d, m_window, 0, nullptr);
  if (managed) {
    XSetWMProtocols(d, m_window, &display.wmDeleteWindow, 1);
    // Motif hints: flags = decorations, decorations = none.
    const long hints[5] = {2, 0, 0, 0, 0};
    XChangeProperty(d, m_window, display.motifHints, display.motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    // Placed where the platform says, not where a window manager would like.
    XSizeHints size{};
    size.flags = USPosition | USSize;
    size.x = rect.left;
    size.y = rect.top;
    size.width = Width(rect);
    size.height = Height(rect);
    XSetWMNormalHints(d, m_window, &size);
  }
  XClassHint hint{const_cast<char*>("tarnterm"), const_cast<char*>("Tarnterm")};
  XSetClassHint(d, m_window, &hint);
  SetTitle(title);
}

XMirror::~XMirror() {
  Display* d = m_display.get();
  XFreeGC(d, m_gc);
  XDestroyWindow(d, m_window);
}

void XMirror::Place(const RECT& rect) {
  if (rect.left == m_rect.left && rect.top == m_rect.top && rect.right == m_rect.right &&
      rect.bottom == m_rect.bottom) {
    return;
  }
  m_rect = rect;
  m_ledger.Asked(rect);
  XMoveResizeWindow(m_display.get(), m_window, rect.left, rect.top, static_cast<unsigned>(Width(rect)),
                    static_cast<unsigned>(Height(rect)));
}

bool XMirror::Configured(const RECT& rect) {
  if (!m_ledger.Notified(rect)) return false;
  m_rect = rect;
  return true;
}

void XMirror::SetTitle(const std::string& title) {
  if (title == m_title && !title.empty()) return;
  m_title = title;
  Display* d = m_display.get();
  XStoreName(d, m_window, title.c_str());
  XChangeProperty(d, m_window, m_display.netWmName, m_display.utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
}

void XMirror::Show() {
  if (m_mapped) return;
  m_mapped = true;
  XMapRaised(m_display.get(), m_window);
}

void XMirror::Hide() {
  if (!m_mapped) return;
  m_mapped = false;
  XUnmapWindow(m_display.get(), m_window);
}

bool XMirror::Paint(platform::Image image) {
  if (image.width <= 0 || image.height <= 0) return false;
  int first = 0;
  int last = image.height;
  if (image.width == m_picture.width && image.height == m_picture.height) {
    std::tie(first, last) = ChangedRows(image, m_picture);
    if (first == last) return false;
  }
  m_picture = std::move(image);
  // The picture is kept even when the server cannot be sent it now (no
  // memory for the image's header): an expose sends it again.
  if (XImage* x = XCreateImage(m_display.get(), m_display.TrueColorVisual(), static_cast<unsigned>(m_display.Depth()),
                               ZPixmap, 0, reinterpret_cast<char*>(m_picture.pixels.data()),
                               static_cast<unsigned>(m_picture.width), static_cast<unsigned>(m_picture.height), 32, 0)) {
    // The picture's own layout, whatever the server's pixmaps are (a server
    // may pack depth 24 in three bytes); XPutImage converts where they differ.
    x->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    x->bits_per_pixel = 32;
    x->bytes_per_line = m_picture.width * 4;
    XInitImage(x);
    XPutImage(m_display.get(), m_window, m_gc, x, 0, first, 0, first, static_cast<unsigned>(m_picture.width),
              static_cast<unsigned>(last - first));
    x->data = nullptr;  // the pixels are the picture's
    XDestroyImage(x);
  }
  return true;
}

void XMirror::Repaint() { Paint(std::exchange(m_picture, {})); }

}  // namespace terminal::desktop
