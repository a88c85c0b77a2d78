// A picture of a window (Image, platform/render/image_pixels.h) and its PNG
// files.
#pragma once

#include "platform/base/export.h"

#include <optional>
#include <string>

#include "platform/render/image_pixels.h"

namespace platform {

// Writes the picture as a PNG file; false (nothing promised about the file)
// when it cannot be written.
PLATFORM_API bool SavePng(const Image& image, const std::string& path);
// Reads a PNG file; nothing for a missing or malformed file.
std::optional<Image> LoadPng(const std::string& path);

}  // namespace platform
