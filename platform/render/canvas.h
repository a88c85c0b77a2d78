// A new picture drawn by `paint` on a cairo context over its own pixels
// (opaque RGB, width * 4 bytes a row), with PangoLock() held throughout.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/render/image.h"

namespace platform {

// REQUIRES: width > 0, height > 0.
Image PaintPicture(int width, int height, const std::function<void(cairo_t*)>& paint);

}  // namespace platform
