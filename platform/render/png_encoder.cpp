#include "platform/render/png_encoder.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <thread>

namespace platform {
namespace {

// A PNG chunk's length field takes at most 2^31 - 1; the image data goes in
// chunks of at most this many bytes, as a reader takes them one after another.
constexpr size_t kIdatMax = size_t{1} << 20;

// Scanlines of at least this many bytes (a window of some 350 x 1000
// pixels) are packed in two parts at once, the first on a thread of its own;
// below it a thread costs more than it saves.
constexpr size_t kTwoPartsMin = size_t{1} << 20;

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// zlib's raw deflate stream, kept from one picture to the next.
class FirstPartStream {
 public:
  FirstPartStream() { m_ready = deflateInit2(&m_stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~FirstPartStream() {
    if (m_ready) deflateEnd(&m_stream);
  }
  FirstPartStream(const FirstPartStream&) = delete;
  FirstPartStream& operator=(const FirstPartStream&) = delete;

  bool Ready() const { return m_ready; }
  // Deflates `in` into `out` (resized to what was written), ending with a
  // sync flush: an empty stored block that leaves the stream open and on a
  // byte boundary. False when it did not fit, which the bound rules out.
  bool Pack(std::span<const unsigned char> in, std::vector<unsigned char>& out) {
    if (deflateReset(&m_stream) != Z_OK) return false;
    // The bound is for a finished stream; a sync flush adds at most 5 bytes
    // to it (a block header padded to a byte and four bytes of lengths).
    out.resize(deflateBound(&m_stream, static_cast<uLong>(in.size())) + 16);
    m_stream.next_in = const_cast<Bytef*>(in.data());  // zlib's type; it only reads
    m_stream.avail_in = static_cast<uInt>(in.size());
    m_stream.next_out = out.data();
    m_stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&m_stream, Z_SYNC_FLUSH);
    out.resize(out.size() - m_stream.avail_out);
    return status == Z_OK && m_stream.avail_in == 0 && m_stream.avail_out > 0;
  }

 private:
  z_stream m_stream{};
  bool m_ready = false;
};

// What a thread keeps from one picture to the next (a script writes them
// one after another): the compressor and the scanlines' buffer, as large as
// the largest picture's. Made anew for each picture, the buffer's megabytes
// of fresh pages made writing a 200-row window three times as slow.
struct Workspace {
  std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor;
  std::unique_ptr<FirstPartStream> firstPart;
  std::vector<unsigned char> lines;
  std::vector<unsigned char> stream;     // the zlib stream
  std::vector<unsigned char> firstBytes;  // the two parts' deflate bytes
  std::vector<unsigned char> restBytes;
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
    for (const size_t i : {0, 1, 2, 3}) {
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

namespace {

// Rows [begin, end) of the picture into their scanlines, `lines` already
// sized. A row equal to the one above copies that row's bytes, except the
// first row of the range: another thread may be writing the row above it.
void PackRows(const Image& image, std::span<unsigned char> lines, size_t begin, size_t end) {
  const auto width = static_cast<size_t>(image.width);
  const size_t stride = 1 + 3 * width;
  for (size_t y = begin; y < end; ++y) {
    const uint32_t* row = &image.pixels[y * width];
    unsigned char* line = &lines[y * stride];
    line[0] = 0;  // filter type None
    // Most rows of a window repeat the one above.
    if (y > begin && std::memcmp(row, row - width, width * sizeof(uint32_t)) == 0) {
      std::memcpy(line + 1, line + 1 - stride, stride - 1);
      continue;
    }
    PackRow(row, width, line + 1);
  }
}

}  // namespace

void PngScanlines(const Image& image, std::vector<unsigned char>& lines) {
  if (!Encodable(image)) {
    lines.clear();
    return;
  }
  // Every byte is written: what the buffer held is not cleared first.
  lines.resize((1 + 3 * static_cast<size_t>(image.width)) * static_cast<size_t>(image.height));
  PackRows(image, lines, 0, static_cast<size_t>(image.height));
}

namespace {

// The scanlines as one zlib stream, made and packed in two parts at once:
//   +-------+------------------------------+----------------------------+----------+
//   | 78 01 | first rows: zlib's raw       | the rest: libdeflate's raw | Adler-32 |
//   |       | deflate, ended by a sync     | deflate, its last block    | of all,  |
//   |       | flush (open, byte-aligned)   | marked final               | big-end. |
//   +-------+------------------------------+----------------------------+----------+
// The second part's matches reach back only within itself, which a reader's
// window over the whole stream allows. libdeflate cannot leave a stream open
// (its output always ends with a block marked final, where a reader stops),
// so the part that comes first is zlib's, whose level 1 is about as fast on
// these rows. `work.lines` is sized; each thread fills its own rows.
bool PackTwoParts(const Image& image, Workspace& work) {
  const std::span<const unsigned char> lines(work.lines);
  const auto height = static_cast<size_t>(image.height);
  const size_t stride = lines.size() / height;
  // The split that ends both parts together depends on the processor: zlib's
  // level 1 took some 10% longer than libdeflate's level 2 on a list
  // window's rows on one machine and 30% less on another, where 55% of the
  // rows to zlib was the fastest of 47, 55 and 60% (render_bench).
  const size_t firstRows = height * 55 / 100;
  const auto first = lines.first(firstRows * stride);
  const auto rest = lines.subspan(firstRows * stride);
  bool firstPacked = false;
  uint32_t firstAdler = 0;
  std::thread worker([&] {
    PackRows(image, work.lines, 0, firstRows);
    firstPacked = work.firstPart->Pack(first, work.firstBytes);
    firstAdler = libdeflate_adler32(1, first.data(), first.size());
  });
  PackRows(image, work.lines, firstRows, height);
  work.restBytes.resize(libdeflate_deflate_compress_bound(work.compressor.get(), rest.size()));
  const size_t restSize = libdeflate_deflate_compress(work.compressor.get(), rest.data(), rest.size(),
                                                      work.restBytes.data(), work.restBytes.size());
  const uint32_t restAdler = libdeflate_adler32(1, rest.data(), rest.size());
  worker.join();
  if (!firstPacked || restSize == 0) return false;
  const auto adler = static_cast<uint32_t>(adler32_combine(firstAdler, restAdler, static_cast<z_off_t>(rest.size())));
  work.stream.assign({0x78, 0x01});
  work.stream.insert(work.stream.end(), work.firstBytes.begin(), work.firstBytes.end());
  work.stream.insert(work.stream.end(), work.restBytes.begin(),
                     work.restBytes.begin() + static_cast<std::ptrdiff_t>(restSize));
  PutBigEndian(work.stream, adler);
  return true;
}

// The scanlines as one zlib stream, by libdeflate alone.
bool PackOnePart(Workspace& work) {
  work.stream.resize(libdeflate_zlib_compress_bound(work.compressor.get(), work.lines.size()));
  const size_t size = libdeflate_zlib_compress(work.compressor.get(), work.lines.data(), work.lines.size(),
                                               work.stream.data(), work.stream.size());
  work.stream.resize(size);
  return size > 0;  // 0 cannot happen within the bound
}

}  // namespace

std::vector<unsigned char> EncodePng(const Image& image) {
  thread_local Workspace work;
  if (!Encodable(image)) return {};
  if (work.compressor == nullptr) work.compressor.reset(libdeflate_alloc_compressor(kPngDeflateLevel));
  if (work.compressor == nullptr) return {};
  const size_t stride = 1 + 3 * static_cast<size_t>(image.width);
  const auto height = static_cast<size_t>(image.height);
  bool packed = false;
  if (stride * height >= kTwoPartsMin && std::thread::hardware_concurrency() > 1) {
    if (work.firstPart == nullptr) work.firstPart = std::make_unique<FirstPartStream>();
    if (work.firstPart->Ready()) {
      work.lines.resize(stride * height);  // every byte is written by the two parts
      packed = PackTwoParts(image, work);
    }
  }
  if (!packed) {
    PngScanlines(image, work.lines);
    if (!PackOnePart(work)) return {};
  }
  const size_t size = work.stream.size();
  const unsigned char* packedBytes = work.stream.data();

  std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.reserve(png.size() + 25 + size + 12 * (size / kIdatMax + 1) + 12);
  // IHDR: width, height, bit depth 8, colour type 2 (RGB), compression 0,
  // filter method 0, no interlace.
  std::vector<unsigned char> header;
  PutBigEndian(header, static_cast<uint32_t>(image.width));
  PutBigEndian(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(png, "IHDR", header.data(), header.size());
  for (size_t at = 0; at < size; at += kIdatMax) PutChunk(png, "IDAT", packedBytes + at, std::min(kIdatMax, size - at));
  PutChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace platform
