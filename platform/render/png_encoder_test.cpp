// The fast PNG writer's files read back (through cairo's reader) as the
// very pixels written.
#include "platform/render/png_encoder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace platform {
namespace {

TEST(PngEncoder, WrittenPicturesReadBackPixelForPixel) {
  Image image;
  image.width = 37;
  image.height = 23;
  image.pixels.resize(37 * 23);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      // Repeated rows (as windows have) and rows that change from the one above.
      const uint32_t p = y < 5 ? 0x00FF00 : static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
      image.pixels[static_cast<size_t>(y * image.width + x)] = p;
    }
  }
  const auto path =
      (std::filesystem::temp_directory_path() / ("png_encoder_test_" + std::to_string(::getpid()) + ".png")).string();
  ASSERT_TRUE(SavePng(image, path));
  const auto back = LoadPng(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, image.width);
  EXPECT_EQ(back->height, image.height);
  EXPECT_EQ(back->pixels, image.pixels);

  EXPECT_TRUE(EncodePng(Image{}).empty());
  EXPECT_FALSE(SavePng(image, "/proc/1/no.png")) << "a file that cannot be written is reported";
}

}  // namespace
}  // namespace platform
