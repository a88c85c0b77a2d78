// The renderer's pen on a cairo surface: whole-pixel fills and frames in
// COLORREF colours, and text through the layer's pango fonts
// (platform/gdi/font_faces.h), placed exactly where the measurer said.
//
// Coordinates are pixels; a RECT covers left..right-1 and top..bottom-1, as
// the platform fills it. Fills are not antialiased; text is.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string_view>

#include "platform/gdi/font_faces.h"
#include "platform/gdi/text_metrics.h"
#include "platform/base/wintypes.h"

namespace platform {

class Painter {
 public:
  // REQUIRES: cr outlives the painter. Hold PangoLock() from here until the
  // last text is painted: the laid-out lines are shared by every painter.
  explicit Painter(cairo_t* cr);

  cairo_t* cr() const { return m_cr; }

  void Fill(const RECT& r, COLORREF color) const;
  void Frame(const RECT& r, COLORREF color) const;  // one pixel inside r
  // One-pixel edge inside r: top and left in `light`, bottom and right in `dark`.
  void Edge(const RECT& r, COLORREF light, COLORREF dark) const;
  // The classic two-pixel edges (outer pair first).
  void RaisedEdge(const RECT& r) const;
  void SunkenEdge(const RECT& r) const;
  void EtchedFrame(const RECT& r) const;
  // The focus frame: every other pixel of r's edge inverted.
  void FocusFrame(const RECT& r) const;
  // A line of text whose cell's top-left is `origin` (the baseline sits
  // the font's ascent below it).
  void Text(const FontSpec& font, std::string_view text, POINT origin, COLORREF color) const;

 private:
  cairo_t* m_cr;
};

void SetSourceColor(cairo_t* cr, COLORREF color);

}  // namespace platform
