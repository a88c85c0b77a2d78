// The PNG writer's files read back (through cairo's reader) as the very
// pixels written.
#include "platform/render/png_encoder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/render/image.h"

namespace platform {
namespace {

// Two pictures: a window's, with a background, rows equal to the one
// above and rows where stretches of 1 to some 1,100 pixels change, so that
// the runs of equal bytes end at every length, within rows and across
// them; and noise that does not pack, whose compressed data runs over
// several IDAT chunks, which a reader joins in order, in a width that is no
// multiple of four, so that the last pixels of a row are packed one by one.
TEST(PngEncoder, RunsOfEveryLengthAndNoiseOverSeveralChunksReadBack) {
  Image window;
  window.width = 400;
  window.height = 120;
  window.pixels.assign(400 * 120, 0xF0F0F0);
  for (int y = 0; y < window.height; ++y) {
    if (y % 3 == 0) continue;  // equal to the row above
    for (int x = 0; x < window.width; ++x) {
      if ((x * y) % (y + 83) < y % 7) window.pixels[static_cast<size_t>(y * window.width + x)] = 0x102030u * (x % 5);
    }
  }
  Image noise;
  noise.width = 999;
  noise.height = 600;
  noise.pixels.resize(999 * 600);
  uint32_t seed = 7;
  for (uint32_t& pixel : noise.pixels) {
    seed = seed * 1664525u + 1013904223u;
    pixel = seed >> 8;
  }
  // Each is written and read back through cairo's (libpng's) reader, which
  // checks every code, the Adler-32 and the CRCs on its way.
  const auto path =
      (std::filesystem::temp_directory_path() / ("png_encoder_test_" + std::to_string(::getpid()) + ".png")).string();
  // The noise is large enough to be packed in two parts at once, zlib's
  // first: its stream opens with zlib's header for level 1 (libdeflate's
  // alone would say level 2).
  const std::vector<unsigned char> packed = EncodePng(noise);
  if (std::thread::hardware_concurrency() > 1) {
    EXPECT_EQ(std::string(packed.begin() + 37, packed.begin() + 43), std::string("IDAT\x78\x01", 6));
  }
  for (const Image* image : {&window, &noise}) {
    ASSERT_TRUE(SavePng(*image, path)) << image->width;
    const auto back = LoadPng(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(back.has_value()) << image->width;
    EXPECT_EQ(back->pixels, image->pixels) << image->width;
  }
}

}  // namespace
}  // namespace platform
