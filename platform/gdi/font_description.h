// A font as the layer knows it: a face name, an em in pixels, a weight and
// italics. The measurer (platform/gdi/text_metrics.h) and the font faces
// (platform/gdi/font_faces.h) both take it; handles stand for it.
#pragma once

#include <string>

namespace platform {

// The measurer's own terms, not exported: a host sizes text through a DC
// (GetTextExtentPoint32, GetTextMetrics); tests reach FontSpec::FromPoints,
// MeasureFont and TextWidth by linking the platform's archive.
struct FontSpec {
  std::string face = "MS Shell Dlg";
  int emPixels = 11;  // 8 points
  int weight = 400;   // FW_NORMAL
  bool italic = false;

  // The em of `points` at 96 dots per inch: MulDiv(points, 96, 72) pixels.
  static FontSpec FromPoints(std::string face, int points);
  bool operator==(const FontSpec&) const = default;
};

}  // namespace platform
