// A PNG encoder for pictures of windows, tuned for speed: rows go
// unfiltered, so that a row equal to the one above is a copy of its bytes
// that the compressor matches whole, and libdeflate packs the scanlines.
// Filtering against the row above ("Up") packed a 200-row list window 14%
// larger and 4% slower: its runs of zeros cost the matcher as much. cairo's
// own writer compresses through zlib at its default level and costs some
// ten times the drawing of the picture it writes.
#pragma once

#include <vector>

#include "platform/render/image_pixels.h"

namespace platform {

// libdeflate's level for a picture's scanlines. On a 200-row list window
// (8.7 MB of scanlines) levels 1 to 4 pack within 5% of each other (326 to
// 343 KB) and 2 is the fastest: level 1's matcher is slower on long runs of
// repeats. Level 6 saves 9% for 40% more time.
inline constexpr int kPngDeflateLevel = 2;

// The PNG bytes of the picture (8-bit RGB); empty for an empty picture.
// SavePng's; not exported (the benchmark links the platform's archive).
std::vector<unsigned char> EncodePng(const Image& image);

// The picture's scanlines as PNG compresses them, into `lines` (whatever it
// held): each row a filter byte (0, None) and its RGB bytes; empty for an
// empty picture. What EncodePng packs, for its benchmark's baseline too.
void PngScanlines(const Image& image, std::vector<unsigned char>& lines);

}  // namespace platform
