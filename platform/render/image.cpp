#include "platform/render/image.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <memory>

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

COLORREF Image::At(int x, int y) const {
  const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Image::Count(const RECT& rect, COLORREF color) const {
  int n = 0;
  for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y) {
    for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x) {
      if (At(x, y) == color) ++n;
    }
  }
  return n;
}

bool SavePng(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(data + static_cast<ptrdiff_t>(y) * stride, &image.pixels[static_cast<size_t>(y) * image.width],
                static_cast<size_t>(image.width) * 4);
  }
  cairo_surface_mark_dirty(surface.get());
  return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
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
