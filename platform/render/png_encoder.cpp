#include "platform/render/png_encoder.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

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
  // zlib's fastest level with run-length matching only: after the Up
  // filter a window picture is mostly runs of zeros, which this packs about
  // as well as a full search, several times faster. Rows are filtered and
  // packed one at a time: the unpacked picture is never held whole.
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, MAX_WBITS, 8, Z_RLE) != Z_OK) return {};
  std::vector<unsigned char> packed;
  unsigned char chunk[1 << 16];
  auto pack = [&](const unsigned char* data, size_t size, int flush) {
    stream.next_in = const_cast<unsigned char*>(data);
    stream.avail_in = static_cast<uInt>(size);
    int status = Z_OK;
    do {
      stream.next_out = chunk;
      stream.avail_out = sizeof chunk;
      status = deflate(&stream, flush);
      packed.insert(packed.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    } while (stream.avail_out == 0 && status == Z_OK);
    return status != Z_STREAM_ERROR;
  };
  // A filtered scanline: the filter (0 none for the first row, 2 Up after)
  // and the row's RGB bytes minus those of the row above. A row equal to
  // the one above, as most rows of a window's background are, is all zeros.
  std::vector<unsigned char> line(1 + 3 * width);
  bool ok = true;
  for (size_t y = 0; y < height && ok; ++y) {
    const uint32_t* pixels = &image.pixels[y * width];
    const uint32_t* above = y > 0 ? pixels - width : nullptr;
    line[0] = y == 0 ? 0 : 2;
    unsigned char* out = &line[1];
    if (above != nullptr && std::memcmp(pixels, above, width * sizeof(uint32_t)) == 0) {
      std::memset(out, 0, 3 * width);
    } else {
      for (size_t x = 0; x < width; ++x) {
        const uint32_t p = pixels[x];
        const uint32_t q = above != nullptr ? above[x] : 0;
        out[3 * x] = static_cast<unsigned char>((p >> 16) - (q >> 16));
        out[3 * x + 1] = static_cast<unsigned char>((p >> 8) - (q >> 8));
        out[3 * x + 2] = static_cast<unsigned char>(p - q);
      }
    }
    ok = pack(line.data(), line.size(), Z_NO_FLUSH);
  }
  ok = ok && pack(nullptr, 0, Z_FINISH);
  deflateEnd(&stream);
  if (!ok) return {};

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
