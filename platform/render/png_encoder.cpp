#include "platform/render/png_encoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace platform {
namespace {

// A PNG chunk's length field takes at most 2^31 - 1; the image data goes in
// chunks of at most this many bytes, as a reader takes them one after another.
constexpr size_t kIdatMax = size_t{1} << 20;

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// What a thread keeps from one picture to the next (a script writes them
// one after another): the compressor and the scanlines' buffer, as large as
// the largest picture's. Made anew for each picture, the buffer's megabytes
// of fresh pages made writing a 200-row window three times as slow.
struct Workspace {
  std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor;
  std::vector<unsigned char> lines;
};

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
  PutBigEndian(out, libdeflate_crc32(0, out.data() + start, out.size() - start));
}

// 0x00RRGGBB pixels to R, G, B bytes, four pixels (twelve bytes) at a
// time where it can.
void PackRow(const uint32_t* row, size_t width, unsigned char* bytes) {
  size_t x = 0;
  for (; x + 4 <= width; x += 4, bytes += 12) {
    unsigned char quad[16];
    for (size_t i = 0; i < 4; ++i) {
      uint32_t rgb0 = row[x + i] << 8;  // 0xRRGGBB00
      if constexpr (std::endian::native == std::endian::little) rgb0 = __builtin_bswap32(rgb0);
      std::memcpy(quad + 3 * i, &rgb0, 4);  // R, G, B, and a byte the next pixel overwrites
    }
    std::memcpy(bytes, quad, 12);
  }
  for (; x < width; ++x, bytes += 3) {
    const uint32_t p = row[x];
    bytes[0] = static_cast<unsigned char>(p >> 16);
    bytes[1] = static_cast<unsigned char>(p >> 8);
    bytes[2] = static_cast<unsigned char>(p);
  }
}

bool Encodable(const Image& image) {
  return image.width > 0 && image.height > 0 &&
         image.pixels.size() >= static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
}

}  // namespace

void PngScanlines(const Image& image, std::vector<unsigned char>& lines) {
  if (!Encodable(image)) {
    lines.clear();
    return;
  }
  const auto width = static_cast<size_t>(image.width);
  const auto height = static_cast<size_t>(image.height);
  const size_t stride = 1 + 3 * width;
  // Every byte is written below: what the buffer held is not cleared first.
  lines.resize(stride * height);
  for (size_t y = 0; y < height; ++y) {
    const uint32_t* row = &image.pixels[y * width];
    unsigned char* line = &lines[y * stride];
    line[0] = 0;  // filter type None
    // Most rows of a window repeat the one above: copy its bytes.
    if (y > 0 && std::memcmp(row, row - width, width * sizeof(uint32_t)) == 0) {
      std::memcpy(line + 1, line + 1 - stride, stride - 1);
      continue;
    }
    PackRow(row, width, line + 1);
  }
}

std::vector<unsigned char> EncodePng(const Image& image) {
  thread_local Workspace work;
  PngScanlines(image, work.lines);
  if (work.lines.empty()) return {};
  if (work.compressor == nullptr) work.compressor.reset(libdeflate_alloc_compressor(kPngDeflateLevel));
  if (work.compressor == nullptr) return {};
  // Room for the worst case, left unwritten: only what the stream fills is touched.
  const size_t room = libdeflate_zlib_compress_bound(work.compressor.get(), work.lines.size());
  const auto packed = std::make_unique_for_overwrite<unsigned char[]>(room);
  const size_t size =
      libdeflate_zlib_compress(work.compressor.get(), work.lines.data(), work.lines.size(), packed.get(), room);
  if (size == 0) return {};  // cannot happen within the bound

  std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.reserve(png.size() + 25 + size + 12 * (size / kIdatMax + 1) + 12);
  // IHDR: width, height, bit depth 8, colour type 2 (RGB), compression 0,
  // filter method 0, no interlace.
  std::vector<unsigned char> header;
  PutBigEndian(header, static_cast<uint32_t>(image.width));
  PutBigEndian(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(png, "IHDR", header.data(), header.size());
  for (size_t at = 0; at < size; at += kIdatMax) PutChunk(png, "IDAT", &packed[at], std::min(kIdatMax, size - at));
  PutChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace platform
