// A picture of a window: 32-bit pixels, row by row from the top-left. Pixels
// are opaque 0x00RRGGBB (cairo's RGB24 layout). Its PNG form is in
// platform/render/image.h (files) and png_encoder.h (bytes).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/wintypes.h"

namespace platform {

// Its members serve tests (which link the platform's archive) and are not
// exported; a host only passes pictures on to SavePng.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height

  // REQUIRES: 0 <= x < width, 0 <= y < height.
  COLORREF At(int x, int y) const;
  // How many pixels of rect (clipped to the picture) have exactly this colour.
  int Count(const RECT& rect, COLORREF color) const;
};

}  // namespace platform
