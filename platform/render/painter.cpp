#include "platform/render/painter.h"

#include <pango/pangocairo.h>

#include <string>
#include <unordered_map>

#include "platform/gdi/sys_colors.h"

namespace platform {
namespace {

// One context for every picture, so that laid-out lines can be kept from
// one picture to the next: a list repaints the same cells again and again.
PangoContext* RenderContext() {
  static PangoContext* context = NewLayerContext().release();  // leaked: used to the end
  return context;
}

constexpr size_t kMaxKeptLayouts = 4096;

PangoLayout* KeptLayout(const FontSpec& font, std::string_view text) {
  static auto* kept = new std::unordered_map<std::string, GObjectPtr<PangoLayout>>;
  std::string key = font.face;
  key += '\0';
  key += std::to_string(font.emPixels) + "/" + std::to_string(font.weight) + (font.italic ? "i" : "") + '\0';
  key += text;
  auto found = kept->find(key);
  if (found != kept->end()) return found->second.get();
  if (kept->size() >= kMaxKeptLayouts) kept->clear();
  return kept->emplace(std::move(key), NewTextLayout(RenderContext(), font, text)).first->second.get();
}

}  // namespace

void SetSourceColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

Painter::Painter(cairo_t* cr) : m_cr(cr) {
  cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);  // fills land on whole pixels
  pango_cairo_update_context(m_cr, RenderContext());
}

void Painter::Fill(const RECT& r, COLORREF color) const {
  if (r.right <= r.left || r.bottom <= r.top) return;
  SetSourceColor(m_cr, color);
  cairo_rectangle(m_cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(m_cr);
}

void Painter::Frame(const RECT& r, COLORREF color) const { Edge(r, color, color); }

void Painter::Edge(const RECT& r, COLORREF light, COLORREF dark) const {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Fill(RECT{r.left, r.top, r.right - 1, r.top + 1}, light);
  Fill(RECT{r.left, r.top, r.left + 1, r.bottom - 1}, light);
  Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
  Fill(RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
}

void Painter::RaisedEdge(const RECT& r) const {
  Edge(r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  Edge(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_3DHILIGHT),
       GetSysColor(COLOR_3DSHADOW));
}

void Painter::SunkenEdge(const RECT& r) const {
  Edge(r, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
  Edge(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_3DDKSHADOW),
       GetSysColor(COLOR_3DLIGHT));
}

void Painter::EtchedFrame(const RECT& r) const {
  Frame(RECT{r.left + 1, r.top + 1, r.right, r.bottom}, GetSysColor(COLOR_3DHILIGHT));
  Frame(RECT{r.left, r.top, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_3DSHADOW));
}

void Painter::FocusFrame(const RECT& r) const {
  if (r.right <= r.left || r.bottom <= r.top) return;
  cairo_save(m_cr);
  cairo_set_operator(m_cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_set_source_rgb(m_cr, 1, 1, 1);
  // One path filled once: a pixel named twice (the sides of a frame one
  // pixel thin) is inverted once.
  for (int x = r.left; x < r.right; x += 2) {
    cairo_rectangle(m_cr, x, r.top, 1, 1);
    cairo_rectangle(m_cr, x, r.bottom - 1, 1, 1);
  }
  for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
    cairo_rectangle(m_cr, r.left, y, 1, 1);
    cairo_rectangle(m_cr, r.right - 1, y, 1, 1);
  }
  cairo_fill(m_cr);
  cairo_restore(m_cr);
}

void Painter::Text(const FontSpec& font, std::string_view text, POINT origin, COLORREF color) const {
  if (text.empty()) return;
  PangoLayout* layout = KeptLayout(font, text);
  const int baseline = PANGO_PIXELS(pango_layout_get_baseline(layout));
  SetSourceColor(m_cr, color);
  cairo_move_to(m_cr, origin.x, origin.y + MeasureFont(font).ascent - baseline);
  pango_cairo_show_layout(m_cr, layout);
  cairo_new_path(m_cr);
}

}  // namespace platform
