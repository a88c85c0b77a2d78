#include "platform/render/canvas.h"

#include <mutex>

#include "platform/gdi/font_faces.h"

namespace platform {

Image PaintPicture(int width, int height, const std::function<void(cairo_t*)>& paint) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(image.pixels.data()),
                                                                 CAIRO_FORMAT_RGB24, width, height, width * 4);
  cairo_t* cr = cairo_create(surface);
  {
    std::lock_guard lock(PangoLock());
    paint(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  for (uint32_t& p : image.pixels) p &= 0xFFFFFF;  // RGB24 leaves the top byte undefined
  return image;
}

}  // namespace platform
