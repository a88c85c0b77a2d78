#include "platform/render/image_pixels.h"

#include <algorithm>

namespace platform {

COLORREF Image::At(int x, int y) const {
  const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Image::Count(const RECT& rect, COLORREF color) const {
  int n = 0;
  for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y) {
    for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x) {
      if (At(x, y) == color) ++n;
    }
  }
  return n;
}

}  // namespace platform
