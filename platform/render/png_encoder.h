// A PNG encoder for pictures of windows, tuned for speed: each row is
// filtered against the one above ("Up"), which turns the long runs of
// identical rows of a window picture into zeros, and libdeflate packs the
// scanlines. cairo's own writer compresses through zlib at its default level
// and costs some ten times the drawing of the picture it writes.
#pragma once

#include <vector>

#include "platform/render/image_pixels.h"

namespace platform {

// libdeflate's level for a picture's scanlines. On a 200-row list window
// (8.7 MB of scanlines) levels 1 to 4 pack alike (387 to 392 KB) and 2 is
// the fastest: level 1's matcher is slower on long runs of zeros. Levels 5
// and 6 save 4% for a quarter to a half more time.
inline constexpr int kPngDeflateLevel = 2;

// The PNG bytes of the picture (8-bit RGB); empty for an empty picture.
// SavePng's; not exported (the benchmark links the platform's archive).
std::vector<unsigned char> EncodePng(const Image& image);

// The picture's scanlines as PNG compresses them, into `lines` (whatever it
// held): each row a filter byte (0 none for the first row, 2 Up for the
// others) and its RGB bytes, an Up row's less the bytes above; empty for an
// empty picture. What EncodePng packs, for its benchmark's baseline too.
void PngScanlines(const Image& image, std::vector<unsigned char>& lines);

}  // namespace platform
