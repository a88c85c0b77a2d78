#include "platform/render/image.h"

#include <cairo.h>

#include <cstdio>

#include <cstring>
#include <memory>

#include "platform/render/png_encoder.h"

namespace platform {
namespace {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

Image ImageOf(cairo_surface_t* surface) {
  Image image;
  cairo_surface_flush(surface);
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) image.pixels[static_cast<size_t>(y) * image.width + x] = row[x] & 0xFFFFFF;
  }
  return image;
}

}  // namespace

bool SavePng(const Image& image, const std::string& path) {
  const std::vector<unsigned char> png = EncodePng(image);
  if (png.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

std::optional<Image> LoadPng(const std::string& path) {
  SurfacePtr png(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  const int width = cairo_image_surface_get_width(png.get());
  const int height = cairo_image_surface_get_height(png.get());
  // Whatever format the file had, copy it onto an opaque RGB24 picture.
  SurfacePtr rgb(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  cairo_t* cr = cairo_create(rgb.get());
  cairo_set_source_surface(cr, png.get(), 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return ImageOf(rgb.get());
}

}  // namespace platform
