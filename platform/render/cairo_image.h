// The pixels of a cairo image surface (RGB24 or ARGB32) as an Image.
#pragma once

#include <cairo.h>

#include "platform/render/image.h"

namespace platform {

Image ImageOf(cairo_surface_t* surface);

}  // namespace platform
