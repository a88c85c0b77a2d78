#include "platform/gdi/font_description.h"

#include <utility>

#include "platform/kernel/mul_div.h"

namespace platform {

FontSpec FontSpec::FromPoints(std::string face, int points) {
  FontSpec fontSpec;
  fontSpec.face = std::move(face);
  fontSpec.emPixels = ::MulDiv(points, 96, 72);
  return fontSpec;
}

}  // namespace platform
