// A picture of a window: 32-bit pixels, row by row from the top-left. Pixels
// are opaque 0x00RRGGBB (cairo's RGB24 layout). Its PNG form is in
// platform/render/image.h (files) and png_encoder.h (bytes).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/wintypes.h"

namespace platform {

// A host only passes pictures on to SavePng; the members read them, for tests.
// They are inline, so the end-to-end tests, which reach the platform only
// through its exports, read their pictures back into the same type.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height

  // REQUIRES: 0 <= x < width, 0 <= y < height.
  COLORREF At(int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // How many pixels of rect (clipped to the picture) have exactly this colour.
  int Count(const RECT& rect, COLORREF color) const {
    int n = 0;
    for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y) {
      for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x) {
        if (At(x, y) == color) ++n;
      }
    }
    return n;
  }
};

}  // namespace platform
