#include "platform/render/png_encoder.h"

#include "platform/render/png_deflate.h"

#include <zlib.h>

#include <cstdint>

namespace platform {
namespace {

void PutBigEndian(std::vector<unsigned char>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

// One chunk: length, type, data, CRC of type and data.
//   +--------+------+------....------+-------+
//   | length | type | data (length)  | CRC32 |
//   +--------+------+------....------+-------+
void PutChunk(std::vector<unsigned char>& out, const char (&type)[5], const unsigned char* data, size_t size) {
  PutBigEndian(out, static_cast<uint32_t>(size));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size > 0) out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
  PutBigEndian(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<unsigned char> EncodePng(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  const auto width = static_cast<size_t>(image.width);
  const auto height = static_cast<size_t>(image.height);
  if (image.pixels.size() < width * height) return {};
  std::vector<unsigned char> packed;
  png::DeflateScanlines(image.pixels, width, height, packed);

  std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // IHDR: width, height, bit depth 8, colour type 2 (RGB), compression 0,
  // filter method 0, no interlace.
  std::vector<unsigned char> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(png, "IHDR", header.data(), header.size());
  PutChunk(png, "IDAT", packed.data(), packed.size());
  PutChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace platform
