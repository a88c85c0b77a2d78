// A PNG file as the tests read it back: cairo decodes it, so what the terminal
// wrote is checked by a reader other than the one that wrote it.
#pragma once

#include <optional>
#include <string>

#include "platform/render/image_pixels.h"

namespace e2e {

using PngPicture = platform::Image;

// Nothing for a missing file or one cairo cannot decode.
std::optional<PngPicture> ReadPng(const std::string& path);

}  // namespace e2e
