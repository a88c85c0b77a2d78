// The one text measurer of the layer: every width and height the system's
// code asks for (dialog units, auto-size, tool-tip fits) comes from here, so
// a picture drawn later matches the numbers.
//
// Widths come from the installed font the face maps to, read through pango
// (platform/gdi/font_faces.h says how faces map); the renderer draws with
// the same fonts and options, so a measured width is the painted width.
//   - the em is the point size at 96 dots per inch: MulDiv(points, 96, 72)
//     pixels (8 pt gives 11);
//   - ascent round(0.96 em), descent round(0.22 em), height their sum
//     (8 pt: 11 + 2 = 13), whatever the face: line heights and dialog
//     units do not move with the font file;
//   - each character advances by a whole number of pixels (hinted metrics,
//     no kerning), so a string's width is the sum of its characters';
//     bold faces are wider, italics are not;
//   - the average character width is that of the 52 letters A-Z and a-z,
//     (sum + 26) / 52: 6 pixels at 8 pt, so the dialog base units of
//     "MS Shell Dlg" 8 are 6 x 13, as on the platform.
#pragma once

#include "platform/base/export.h"

#include <string>
#include <string_view>

#include "platform/base/wintypes.h"
#include "platform/gdi/font_description.h"
#include "platform/kernel/mul_div.h"

namespace platform {

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;            // ascent + descent
  int averageCharWidth = 0;  // of the 52 letters
  int maxCharWidth = 0;
};

FontMetrics MeasureFont(const FontSpec& font);
int TextWidth(const FontSpec& font, std::string_view text);
int CharWidth(const FontSpec& font, char ch);

// A stable handle for a font: the same FontSpec always gives the same handle,
// valid for the life of the process.
HFONT FontHandle(const FontSpec& font);
// The FontSpec behind a handle from FontHandle; null for anything else.
const FontSpec* FontFromHandle(HFONT font);
// The font windows use when none was set ("MS Shell Dlg" 8).
HFONT DefaultGuiFont();

// Dialog base units of a font: x is the average character width, y the height.
SIZE DialogBaseUnits(const FontSpec& font);

}  // namespace platform
