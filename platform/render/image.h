// A picture of a window: 32-bit pixels, row by row from the top-left, and
// its PNG form. Pixels are opaque 0x00RRGGBB (cairo's RGB24 layout).
#pragma once

#include "platform/base/export.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace platform {

// Its members and LoadPng serve tests (which link the platform's archive)
// and are not exported; a host only passes pictures on to SavePng.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height

  // REQUIRES: 0 <= x < width, 0 <= y < height.
  COLORREF At(int x, int y) const;
  // How many pixels of rect (clipped to the picture) have exactly this colour.
  int Count(const RECT& rect, COLORREF color) const;
};

// Writes the picture as a PNG file; false (nothing promised about the file)
// when it cannot be written.
PLATFORM_API bool SavePng(const Image& image, const std::string& path);
// Reads a PNG file; nothing for a missing or malformed file.
std::optional<Image> LoadPng(const std::string& path);

}  // namespace platform
