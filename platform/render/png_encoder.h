// A PNG encoder for pictures of windows, tuned for speed: each row is
// filtered against the one above ("Up"), which turns the long runs of
// identical rows of a window picture into zeros, and the scanlines are
// packed by png_deflate.h's writer, which finds those runs a word at a time.
// cairo's own writer compresses at zlib's default level and costs some ten
// times the drawing of the picture it writes; zlib's fastest level still
// costs more than the drawing.
#pragma once

#include <string>
#include <vector>

#include "platform/base/export.h"
#include "platform/render/image_pixels.h"

namespace platform {

// The PNG bytes of the picture (8-bit RGB); empty for an empty picture.
// SavePng's; not exported (the benchmark links the platform's archive).
std::vector<unsigned char> EncodePng(const Image& image);

}  // namespace platform
