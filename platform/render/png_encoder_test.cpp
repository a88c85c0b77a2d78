// The fast PNG writer's files read back (through cairo's reader) as the
// very pixels written.
#include "platform/render/png_encoder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/render/image.h"

namespace platform {
namespace {

// Writes the picture and reads it back through cairo's (libpng's) reader,
// which checks every code, the Adler-32 and the CRCs on its way.
std::optional<Image> RoundTrip(const Image& image) {
  const auto path =
      (std::filesystem::temp_directory_path() / ("png_encoder_test_" + std::to_string(::getpid()) + ".png")).string();
  if (!SavePng(image, path)) return std::nullopt;
  auto back = LoadPng(path);
  std::filesystem::remove(path);
  return back;
}

TEST(PngEncoder, RunsOfEveryLengthAcrossRowsReadBack) {
  // A window's picture: a background, rows equal to the one above, and
  // rows where stretches of 1 to some 1,100 pixels change, so that the runs
  // of equal bytes end at every length, within rows and across them.
  Image image;
  image.width = 400;
  image.height = 120;
  image.pixels.assign(400 * 120, 0xF0F0F0);
  for (int y = 0; y < image.height; ++y) {
    if (y % 3 == 0) continue;  // equal to the row above
    for (int x = 0; x < image.width; ++x) {
      if ((x * y) % (y + 83) < y % 7) image.pixels[static_cast<size_t>(y * image.width + x)] = 0x102030u * (x % 5);
    }
  }
  const auto back = RoundTrip(image);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->pixels, image.pixels);
}

TEST(PngEncoder, SkewedBytesKeepTheirCodesWithinFifteenBits) {
  // Filtered bytes whose counts halve from one value to the next (1 << 20
  // of one, 1 << 19 of the next, ...): a plain Huffman code would give the
  // rarest codes of 21 bits, more than a PNG reader takes. Equal bytes are
  // never neighbours, so every one of them is a literal.
  std::vector<unsigned char> filtered;
  std::vector<unsigned char> others;
  for (int value = 2; value <= 21; ++value)
    others.insert(others.end(), size_t{1} << (21 - value), static_cast<unsigned char>(value));
  for (const unsigned char other : others) {
    filtered.push_back(1);
    filtered.push_back(other);
  }
  Image image;
  image.width = 1000;
  image.height = static_cast<int>(filtered.size() / 3000);
  image.pixels.assign(static_cast<size_t>(image.width * image.height), 0);
  // Pixels whose Up-filtered bytes are those above (bytes: R, G, B).
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const uint32_t above = i >= 1000 ? image.pixels[i - 1000] : 0;
    uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
      const int shift = 16 - 8 * c;
      pixel |= ((((above >> shift) & 0xFFu) + filtered[3 * i + static_cast<size_t>(c)]) & 0xFFu) << shift;
    }
    image.pixels[i] = pixel;
  }
  const auto back = RoundTrip(image);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->pixels, image.pixels);
}

}  // namespace
}  // namespace platform
