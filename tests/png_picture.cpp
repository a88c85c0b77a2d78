#include "tests/png_picture.h"

#include <cairo.h>

#include <algorithm>
#include <memory>

namespace e2e {

namespace {

struct SurfaceFree {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

}  // namespace

std::optional<PngPicture> ReadPng(const std::string& path) {
  Surface png(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  PngPicture picture;
  picture.width = cairo_image_surface_get_width(png.get());
  picture.height = cairo_image_surface_get_height(png.get());
  // Whatever the file's format, paint it onto an opaque RGB24 surface, whose
  // rows are 32-bit 0x00RRGGBB words.
  Surface rgb(cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height));
  cairo_t* cr = cairo_create(rgb.get());
  cairo_set_source_surface(cr, png.get(), 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(rgb.get());
  if (cairo_surface_status(rgb.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  const unsigned char* data = cairo_image_surface_get_data(rgb.get());
  const int stride = cairo_image_surface_get_stride(rgb.get());
  picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
    std::copy(row, row + picture.width, picture.pixels.begin() + static_cast<ptrdiff_t>(y) * picture.width);
  }
  return picture;
}

}  // namespace e2e
