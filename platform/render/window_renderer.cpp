#include "platform/render/window_renderer.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/render/canvas.h"
#include "platform/render/control_chrome.h"
#include "platform/render/replay.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

struct Frame {
  RECT window;  // in picture coordinates
  RECT client;
};

Frame FrameOf(HWND w, POINT origin) {
  RECT wr;
  ::GetWindowRect(w, &wr);
  RECT cr;
  ::GetClientRect(w, &cr);
  POINT topLeft{0, 0};
  ::ClientToScreen(w, &topLeft);
  Frame f;
  f.window = RECT{wr.left - origin.x, wr.top - origin.y, wr.right - origin.x, wr.bottom - origin.y};
  f.client = RECT{topLeft.x - origin.x, topLeft.y - origin.y, topLeft.x - origin.x + cr.right,
                  topLeft.y - origin.y + cr.bottom};
  return f;
}

bool Visible(HWND w) { return (::GetWindowLongPtr(w, GWL_STYLE) & WS_VISIBLE) != 0; }

// Children bottom of the z-order first, so that the top one is drawn last.
std::vector<HWND> ChildrenBottomUp(HWND w) {
  std::vector<HWND> out;
  for (HWND c = ::GetWindow(w, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  std::reverse(out.begin(), out.end());
  return out;
}

// The visible pop-ups `owner` owns (tool-tips, lists, menus: windows
// without a caption of their own), bottom first. An owned dialog is a
// picture of its own.
std::vector<HWND> OwnedPopups(HWND owner) {
  struct Search {
    HWND owner;
    std::vector<HWND> found;
  } search{owner, {}};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        const bool captioned = (::GetWindowLongPtr(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        if (w != s->owner && ::GetParent(w) == s->owner && Visible(w) && !captioned) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::reverse(search.found.begin(), search.found.end());
  return search.found;
}

void Clip(cairo_t* cr, const RECT& r) {
  cairo_rectangle(cr, r.left, r.top, std::max(0L, static_cast<long>(r.right - r.left)),
                  std::max(0L, static_cast<long>(r.bottom - r.top)));
  cairo_clip(cr);
}

class TreePainter {
 public:
  TreePainter(cairo_t* cr, POINT origin) : m_painter(cr), m_origin(origin) {}

  void DrawTopLevel(HWND top) {
    DrawWindow(top);
    // Open combo lists and owned pop-ups float over everything, clipped to the picture only. (A
    // list holds no windows: drawing one adds none to float.)
    for (HWND list : std::vector<HWND>(m_floating)) DrawWindow(list);
    for (HWND popup : OwnedPopups(top)) DrawWindow(popup);
  }

 private:
  void DrawWindow(HWND w) {
    cairo_t* cr = m_painter.cr();
    const Frame f = FrameOf(w, m_origin);
    cairo_save(cr);
    Clip(cr, f.window);
    DrawNonClient(m_painter, w, f.window, f.client);
    Clip(cr, f.client);
    cairo_save(cr);
    cairo_translate(cr, f.client.left, f.client.top);
    const RECT client{0, 0, f.client.right - f.client.left, f.client.bottom - f.client.top};
    DrawUnderContent(m_painter, w, client);
    ReplayOptions options;
    options.embossGrayText = !::IsWindowEnabled(w) && !IsOwnerDrawn(w);
    Replay(m_painter, WindowDisplayList(w), options);
    DrawOverContent(m_painter, w, client);
    cairo_restore(cr);
    for (HWND child : ChildrenBottomUp(w)) {
      if (!Visible(child)) continue;
      if (LowerClassName(child) == "combolbox") {
        m_floating.push_back(child);
      } else {
        DrawWindow(child);
      }
    }
    cairo_restore(cr);
  }

  Painter m_painter;
  POINT m_origin;
  std::vector<HWND> m_floating;
};

// Paints the window, its children and its pop-ups afresh so their lists show the state now.
void Refresh(HWND top) {
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
  ::RedrawWindow(top, nullptr, nullptr, flags);
  for (HWND popup : OwnedPopups(top)) ::RedrawWindow(popup, nullptr, nullptr, flags);
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

void Draw(cairo_surface_t* surface, HWND top, POINT origin) {
  std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(surface));
  std::lock_guard lock(PangoLock());
  TreePainter(cr.get(), origin).DrawTopLevel(top);
}

bool EndsWithSvg(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
  return extension == ".svg";
}

}  // namespace

Image RenderWindow(HWND window) {
  if (window == nullptr || !::IsWindow(window)) return Image{};
  Refresh(window);
  RECT wr;
  ::GetWindowRect(window, &wr);
  const POINT origin{wr.left, wr.top};
  return PaintPicture(std::max(1, static_cast<int>(wr.right - wr.left)),
                      std::max(1, static_cast<int>(wr.bottom - wr.top)),
                      [&](cairo_t* cr) { TreePainter(cr, origin).DrawTopLevel(window); });
}

bool WriteWindowPicture(HWND window, const std::string& path, std::string* error) {
  auto fail = [&](std::string why) {
    if (error != nullptr) *error = std::move(why);
    return false;
  };
  if (window == nullptr || !::IsWindow(window)) return fail("no such window");
  if (!EndsWithSvg(path)) {
    return SavePng(RenderWindow(window), path) ? true : fail("cannot write " + path);
  }
  Refresh(window);
  RECT wr;
  ::GetWindowRect(window, &wr);
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_svg_surface_create(path.c_str(), wr.right - wr.left, wr.bottom - wr.top));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return fail("cannot write " + path);
  Draw(surface.get(), window, POINT{wr.left, wr.top});
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return fail("cannot write " + path);
  return true;
}

}  // namespace platform
