// A PNG file as the tests read it back: cairo decodes it, so what the terminal
// wrote is checked by a reader other than the one that wrote it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace e2e {

struct PngPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, 0x00RRGGBB, rows from the top

  // REQUIRES: 0 <= x < width, 0 <= y < height.
  COLORREF At(int x, int y) const;
  // How many pixels of rect (clipped to the picture) have exactly this colour.
  int Count(const RECT& rect, COLORREF color) const;
};

// Nothing for a missing file or one cairo cannot decode.
std::optional<PngPicture> ReadPng(const std::string& path);

}  // namespace e2e
