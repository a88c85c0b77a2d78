#include "platform/render/replay.h"

#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"

namespace platform {
namespace {

// Nested blits stop here: a surface that copies itself must not recurse forever.
constexpr int kMaxBlitDepth = 8;

double Channel(COLOR16 c) { return c / 65280.0; }

void AddStop(cairo_pattern_t* p, double offset, const TRIVERTEX& v) {
  cairo_pattern_add_color_stop_rgb(p, offset, Channel(v.Red), Channel(v.Green), Channel(v.Blue));
}

void Gradient(const Painter& painter, const DrawOp& op) {
  cairo_t* cr = painter.cr();
  const auto& v = op.vertices;
  if (op.gradientMode == GRADIENT_FILL_TRIANGLE) {
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    for (size_t i = 0; i + 2 < op.mesh.size(); i += 3) {
      cairo_mesh_pattern_begin_patch(mesh);
      for (int k = 0; k < 3; ++k) {
        const TRIVERTEX& t = v[op.mesh[i + k]];
        if (k == 0) {
          cairo_mesh_pattern_move_to(mesh, t.x, t.y);
        } else {
          cairo_mesh_pattern_line_to(mesh, t.x, t.y);
        }
        cairo_mesh_pattern_set_corner_color_rgb(mesh, k, Channel(t.Red), Channel(t.Green), Channel(t.Blue));
      }
      cairo_mesh_pattern_end_patch(mesh);
    }
    cairo_set_source(cr, mesh);
    cairo_paint(cr);
    cairo_pattern_destroy(mesh);
    return;
  }
  for (size_t i = 0; i + 1 < op.mesh.size(); i += 2) {
    const TRIVERTEX& a = v[op.mesh[i]];
    const TRIVERTEX& b = v[op.mesh[i + 1]];
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);  // an empty rectangle fills nothing
    cairo_pattern_t* p = op.gradientMode == GRADIENT_FILL_RECT_H ? cairo_pattern_create_linear(a.x, 0, b.x, 0)
                                                                 : cairo_pattern_create_linear(0, a.y, 0, b.y);
    AddStop(p, 0, a);
    AddStop(p, 1, b);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
}

void Line(const Painter& painter, const DrawOp& op) {
  if (op.points.size() < 2 || op.pen.style == PS_NULL) return;
  const POINT a = op.points[0];
  const POINT b = op.points[1];
  const int w = std::max(1, op.pen.width);
  if (a.x == b.x && a.y == b.y) return;
  if (a.y == b.y) {  // the end point is not drawn
    painter.Fill(RECT{std::min(a.x, b.x + 1), a.y - (w - 1) / 2, std::max(a.x + 1, b.x), a.y - (w - 1) / 2 + w},
                 op.pen.color);
    return;
  }
  if (a.x == b.x) {
    const int top = std::min(a.y, b.y + 1);
    const int bottom = std::max(a.y + 1, b.y);
    painter.Fill(RECT{a.x - (w - 1) / 2, top, a.x - (w - 1) / 2 + w, bottom}, op.pen.color);
    return;
  }
  cairo_t* cr = painter.cr();
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  SetSourceColor(cr, op.pen.color);
  cairo_set_line_width(cr, w);
  cairo_move_to(cr, a.x + 0.5, a.y + 0.5);
  cairo_line_to(cr, b.x + 0.5, b.y + 0.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Text(const Painter& painter, const DrawOp& op, const ReplayOptions& options) {
  cairo_t* cr = painter.cr();
  cairo_save(cr);
  if (op.format != 0 && !(op.format & DT_NOCLIP)) {
    cairo_rectangle(cr, op.rect.left, op.rect.top, op.rect.right - op.rect.left, op.rect.bottom - op.rect.top);
    cairo_clip(cr);
  }
  const int height = MeasureFont(op.font).height;
  const bool emboss = options.embossGrayText && op.color == GetSysColor(COLOR_GRAYTEXT);
  for (const TextLine& line : op.lines) {
    if (op.opaque) {
      painter.Fill(RECT{line.origin.x, line.origin.y, line.origin.x + line.width, line.origin.y + height},
                   op.background);
    }
    if (emboss) {
      painter.Text(op.font, line.text, POINT{line.origin.x + 1, line.origin.y + 1}, GetSysColor(COLOR_3DHILIGHT));
    }
    painter.Text(op.font, line.text, line.origin, op.color);
  }
  cairo_restore(cr);
}

void Replay(const Painter& painter, const DrawOps& ops, const ReplayOptions& options, int depth);

void Blit(const Painter& painter, const DrawOp& op, const ReplayOptions& options, int depth) {
  cairo_t* cr = painter.cr();
  const RECT& r = op.rect;
  if (op.sourceOps == nullptr) {  // PATCOPY, BLACKNESS, WHITENESS
    painter.Fill(r, op.color);
    return;
  }
  if (depth >= kMaxBlitDepth) return;
  cairo_save(cr);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_clip(cr);
  cairo_push_group(cr);
  // A bitmap's pixels nothing drew are black, unless masked out.
  const bool clear = op.sourceUndrawnClear || (options.undrawnClear && op.rop == SRCCOPY);
  if (op.sourceBitmap != nullptr && !clear) painter.Fill(r, RGB(0, 0, 0));
  ReplayOptions inner = options;
  inner.undrawnClear = clear;
  cairo_save(cr);
  cairo_translate(cr, r.left - op.sourceOrigin.x, r.top - op.sourceOrigin.y);
  Replay(painter, *op.sourceOps, inner, depth + 1);
  cairo_restore(cr);
  cairo_pop_group_to_source(cr);
  switch (op.rop) {
    case SRCAND: cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY); break;
    case SRCPAINT: cairo_set_operator(cr, CAIRO_OPERATOR_LIGHTEN); break;
    case SRCINVERT: cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE); break;
    default: break;
  }
  cairo_paint(cr);
  cairo_restore(cr);
}

// Icon resources carry no pixels on this platform, so an icon is drawn as
// the generic glyph of an application icon: a little window with its title
// band, stretched over the rectangle the drawing asked for.
void Icon(const Painter& painter, const RECT& r) {
  if (r.right - r.left < 4 || r.bottom - r.top < 4) return;
  const int band = std::max(2, static_cast<int>((r.bottom - r.top) / 5));
  painter.Fill(r, GetSysColor(COLOR_WINDOW));
  painter.Frame(r, GetSysColor(COLOR_WINDOWTEXT));
  painter.Fill(RECT{r.left + 1, r.top + 1, r.right - 1, r.top + 1 + band}, GetSysColor(COLOR_ACTIVECAPTION));
}

void Replay(const Painter& painter, const DrawOps& ops, const ReplayOptions& options, int depth) {
  for (const DrawOp& op : ops) {
    switch (op.kind) {
      case DrawKind::FillRect: painter.Fill(op.rect, op.color); break;
      case DrawKind::FrameRect: painter.Frame(op.rect, op.color); break;
      case DrawKind::Rectangle:
        if (!op.brush.hollow) painter.Fill(op.rect, op.brush.color);
        if (op.pen.style != PS_NULL) painter.Frame(op.rect, op.pen.color);
        break;
      case DrawKind::Line: Line(painter, op); break;
      case DrawKind::Text: Text(painter, op, options); break;
      case DrawKind::FocusRect: painter.FocusFrame(op.rect); break;
      case DrawKind::Gradient: Gradient(painter, op); break;
      case DrawKind::Blit: Blit(painter, op, options, depth); break;
      case DrawKind::Icon: Icon(painter, op.rect); break;
    }
  }
}

}  // namespace

void Replay(const Painter& painter, const DrawOps& ops, const ReplayOptions& options) {
  Replay(painter, ops, options, 0);
}

}  // namespace platform
