// Where the layer's fonts come from: face names mapped to installed
// families, read through pango from a fontconfig set of our own, so that a
// width measured on one machine is the width on every other.
//
// Only the DejaVu families (fonts-dejavu-core) are loaded: the machine's
// other fonts and its fontconfig files play no part. Face names map as
// follows (case ignored):
//   - monospaced faces ("Courier New", "Courier", "Consolas",
//     "Lucida Console", "Fixedsys", "Terminal") -> "DejaVu Sans Mono";
//   - serif faces ("Times New Roman", "Times", "Georgia", "MS Serif")
//     -> "DejaVu Serif";
//   - a face that names a DejaVu family keeps it;
//   - every other face ("MS Shell Dlg", "MS Sans Serif", "Tahoma", "Arial",
//     "Segoe UI", ...) -> "DejaVu Sans".
// DejaVu Sans and Serif are drawn a little smaller than the em asks, so that
// their average letter is 0.53 em, as narrow as the classic dialog faces:
// "MS Shell Dlg" 8 then keeps its dialog base units of 6 x 13 and a window
// is as large as its template says. DejaVu Sans Mono keeps its size.
//
// Text is laid out with whole-pixel advances (hinted metrics), without
// kerning or ligatures: a string is exactly as wide as the sum of its
// characters, in the measurer and on the picture alike.
//
// Narrow strings are Windows-1252 text; ToUtf8 converts them for pango.
//
// Pango is not thread-safe: hold PangoLock() around every call into it.
#pragma once

#include <pango/pango.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/gdi/font_description.h"

namespace platform {

struct FaceMapping {
  std::string family;  // a DejaVu family
  double scale = 1.0;  // drawn size = em * scale
};

FaceMapping MapFace(std::string_view face);

std::recursive_mutex& PangoLock();

// The font map over the DejaVu fonts (created on first use; lives to the end).
PangoFontMap* LayerFontMap();

struct PangoFontDescriptionDeleter {
  void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionDeleter>;
struct GObjectDeleter {
  void operator()(void* object) const;
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

FontDescriptionPtr NewFontDescription(const FontSpec& font);

// A context over LayerFontMap with the layer's font options (grey
// antialiasing, slight hinting, whole-pixel metrics).
GObjectPtr<PangoContext> NewLayerContext();

// A layout of `text` (Windows-1252) in `font`, without kerning or ligatures.
GObjectPtr<PangoLayout> NewTextLayout(PangoContext* context, const FontSpec& font, std::string_view text);

std::string ToUtf8(std::string_view windows1252);

}  // namespace platform
