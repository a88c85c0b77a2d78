#include "platform/render/png_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <queue>

namespace platform::png {
namespace {

constexpr int kLiteralCodes = 286;  // 0..255 bytes, 256 end of block, 257..285 lengths
constexpr int kDistanceCodes = 30;
constexpr int kEndOfBlock = 256;
constexpr size_t kMaxMatch = 258;
constexpr size_t kMinMatch = 3;

// A token is a byte (below 256) or a match of kMatch | length at distance 1.
constexpr uint32_t kMatch = 1u << 31;

// The length codes: code 257 + i covers kLengthBase[i] and the extra bits after it.
constexpr std::array<uint16_t, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// The length code index (0..28) of every match length 3..258; 258 has a
// code of its own (285), not 284 with all extra bits set.
constexpr std::array<uint8_t, kMaxMatch + 1> MakeLengthIndex() {
  std::array<uint8_t, kMaxMatch + 1> index{};
  for (size_t length = kMinMatch; length <= kMaxMatch; ++length) {
    size_t i = 0;
    while (i + 1 < kLengthBase.size() && kLengthBase[i + 1] <= length) ++i;
    index[length] = static_cast<uint8_t>(i);
  }
  return index;
}
constexpr std::array<uint8_t, kMaxMatch + 1> kLengthIndex = MakeLengthIndex();

// Bits go out least significant first, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(std::vector<unsigned char>& out) : m_out(out) {}
  // `count` is at most 16: codes and extra bits are never longer.
  void Put(uint32_t bits, int count) {
    m_bits |= static_cast<uint64_t>(bits) << m_count;
    m_count += count;
    if (m_count >= 32) {
      const size_t at = m_out.size();
      m_out.resize(at + 4);
      for (int i = 0; i < 4; ++i) m_out[at + static_cast<size_t>(i)] = static_cast<unsigned char>(m_bits >> (8 * i));
      m_bits >>= 32;
      m_count -= 32;
    }
  }
  void Reserve(size_t bytes) { m_out.reserve(m_out.size() + bytes); }
  void Flush() {
    for (; m_count > 0; m_count -= 8, m_bits >>= 8) m_out.push_back(static_cast<unsigned char>(m_bits));
    m_bits = 0;
    m_count = 0;
  }

 private:
  std::vector<unsigned char>& m_out;
  uint64_t m_bits = 0;
  int m_count = 0;
};

// A canonical prefix code: each symbol's code, bit-reversed for BitWriter.
struct Code {
  std::vector<uint16_t> bits;
  std::vector<uint8_t> lengths;
};

Code CanonicalCode(std::vector<uint8_t> lengths) {
  std::array<uint16_t, 16> perLength{};
  for (const uint8_t l : lengths) ++perLength[l];
  perLength[0] = 0;
  std::array<uint16_t, 16> next{};
  uint16_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = static_cast<uint16_t>((code + perLength[bits - 1]) << 1);
    next[bits] = code;
  }
  Code out;
  out.bits.resize(lengths.size());
  for (size_t s = 0; s < lengths.size(); ++s) {
    const int l = lengths[s];
    if (l == 0) continue;
    uint16_t c = next[l]++;
    uint16_t reversed = 0;
    for (int b = 0; b < l; ++b, c >>= 1) reversed = static_cast<uint16_t>((reversed << 1) | (c & 1));
    out.bits[s] = reversed;
  }
  out.lengths = std::move(lengths);
  return out;
}

// How many bytes from `from` on equal `value`, up to `end`, a machine word at a time.
size_t RunOf(const unsigned char* from, const unsigned char* end, unsigned char value) {
  const uint64_t pattern = 0x0101010101010101ull * value;
  const unsigned char* p = from;
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    const uint64_t diff = word ^ pattern;
    if (diff != 0) {
      if constexpr (std::endian::native == std::endian::little)
        return static_cast<size_t>(p - from) + (std::countr_zero(diff) >> 3);
      break;
    }
    p += 8;
  }
  while (p < end && *p == value) ++p;
  return static_cast<size_t>(p - from);
}

// Cuts one scanline into tokens; `previous` is the byte before it in the
// stream (-1 before the first), which a run may start from.
class Tokenizer {
 public:
  void Add(std::span<const unsigned char> line) {
    const unsigned char* p = line.data();
    const unsigned char* end = p + line.size();
    while (p < end) {
      if (m_previous >= 0 && *p == m_previous) {
        size_t run = RunOf(p, end, static_cast<unsigned char>(m_previous));
        while (run >= kMinMatch) {
          const size_t length = std::min(run, kMaxMatch);
          m_tokens.push_back(kMatch | static_cast<uint32_t>(length));
          ++m_literalCounts[257 + kLengthIndex[length]];
          ++m_distanceCounts[0];
          p += length;
          run -= length;
        }
        // One or two equal bytes left: cheaper as literals.
        for (; run > 0; --run, ++p) Literal(*p);
      } else {
        Literal(*p++);
      }
    }
  }
  // Closes the block of the tokens so far (written, then Clear()ed).
  void EndBlock() {
    m_tokens.push_back(kEndOfBlock);
    ++m_literalCounts[kEndOfBlock];
  }
  // Starts the next block; a run may still start from the byte before it.
  void Clear() {
    m_tokens.clear();
    m_literalCounts.fill(0);
    m_distanceCounts.fill(0);
  }
  const std::vector<uint32_t>& Tokens() const { return m_tokens; }
  std::span<const uint32_t> LiteralCounts() const { return m_literalCounts; }
  std::span<const uint32_t> DistanceCounts() const { return m_distanceCounts; }

 private:
  void Literal(unsigned char byte) {
    m_tokens.push_back(byte);
    ++m_literalCounts[byte];
    m_previous = byte;
  }

  std::vector<uint32_t> m_tokens;
  std::array<uint32_t, kLiteralCodes> m_literalCounts{};
  std::array<uint32_t, kDistanceCodes> m_distanceCounts{};
  int m_previous = -1;
};

// Writes a dynamic-Huffman block of the tokens (the last one with BFINAL). The code
// lengths are sent plainly (symbols 0..15, no repeat codes): some 150
// bytes, next to a picture's hundreds of kilobytes.
void WriteBlock(const Tokenizer& tokens, bool last, BitWriter& out) {
  out.Reserve(tokens.Tokens().size() + 1024);
  std::vector<uint8_t> literalLengths = CodeLengths(tokens.LiteralCounts(), 15);
  std::vector<uint8_t> distanceLengths = CodeLengths(tokens.DistanceCounts(), 15);
  size_t literalCount = kLiteralCodes;
  while (literalCount > 257 && literalLengths[literalCount - 1] == 0) --literalCount;
  size_t distanceCount = kDistanceCodes;
  while (distanceCount > 1 && distanceLengths[distanceCount - 1] == 0) --distanceCount;

  std::vector<uint8_t> sequence(literalLengths.begin(), literalLengths.begin() + static_cast<ptrdiff_t>(literalCount));
  sequence.insert(sequence.end(), distanceLengths.begin(),
                  distanceLengths.begin() + static_cast<ptrdiff_t>(distanceCount));
  std::array<uint32_t, 19> lengthCounts{};
  for (const uint8_t l : sequence) ++lengthCounts[l];
  const Code lengthCode = CanonicalCode(CodeLengths(lengthCounts, 7));
  static constexpr std::array<uint8_t, 19> kOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  size_t orderCount = kOrder.size();
  while (orderCount > 4 && lengthCode.lengths[kOrder[orderCount - 1]] == 0) --orderCount;

  //   BFINAL | BTYPE=2 (dynamic) | HLIT-257 (5) | HDIST-1 (5) | HCLEN-4 (4)
  //   | HCLEN x 3-bit code-length lengths | the lengths | the tokens | end of block
  out.Put(last ? 1 : 0, 1);
  out.Put(2, 2);
  out.Put(static_cast<uint32_t>(literalCount - 257), 5);
  out.Put(static_cast<uint32_t>(distanceCount - 1), 5);
  out.Put(static_cast<uint32_t>(orderCount - 4), 4);
  for (size_t i = 0; i < orderCount; ++i) out.Put(lengthCode.lengths[kOrder[i]], 3);
  for (const uint8_t l : sequence) out.Put(lengthCode.bits[l], lengthCode.lengths[l]);

  const Code literal = CanonicalCode(std::move(literalLengths));
  const Code distance = CanonicalCode(std::move(distanceLengths));
  for (const uint32_t token : tokens.Tokens()) {
    if ((token & kMatch) == 0) {
      out.Put(literal.bits[token], literal.lengths[token]);
      continue;
    }
    const size_t length = token & ~kMatch;
    const int index = kLengthIndex[length];
    out.Put(literal.bits[257 + index], literal.lengths[257 + index]);
    if (kLengthExtra[index] > 0) out.Put(static_cast<uint32_t>(length - kLengthBase[index]), kLengthExtra[index]);
    out.Put(distance.bits[0], distance.lengths[0]);  // distance 1: code 0, no extra bits
  }
}

}  // namespace

std::vector<uint8_t> CodeLengths(std::span<const uint32_t> counts, int maxBits) {
  std::vector<uint8_t> lengths(counts.size(), 0);
  std::vector<uint32_t> weights(counts.begin(), counts.end());
  std::vector<size_t> used;
  for (size_t s = 0; s < counts.size(); ++s) {
    if (counts[s] > 0) used.push_back(s);
  }
  if (used.size() < 2) {
    // One code of one bit is no complete code: a second symbol gets the other.
    const size_t first = used.empty() ? 0 : used[0];
    const size_t second = first == 0 ? 1 : 0;
    if (first < lengths.size()) lengths[first] = 1;
    if (second < lengths.size()) lengths[second] = 1;
    return lengths;
  }
  for (;;) {
    // Huffman's merging of the two lightest; nodes past used.size() are inner.
    using Node = std::pair<uint64_t, size_t>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    std::vector<size_t> parent(2 * used.size() - 1, 0);
    for (size_t i = 0; i < used.size(); ++i) queue.push({weights[used[i]], i});
    size_t next = used.size();
    while (queue.size() > 1) {
      const Node a = queue.top();
      queue.pop();
      const Node b = queue.top();
      queue.pop();
      parent[a.second] = next;
      parent[b.second] = next;
      queue.push({a.first + b.first, next++});
    }
    // Parents come after their children: depths from the root down.
    const size_t root = next - 1;
    std::vector<int> depth(parent.size(), 0);
    for (size_t n = root; n-- > 0;) depth[n] = depth[parent[n]] + 1;
    int longest = 0;
    for (size_t i = 0; i < used.size(); ++i) longest = std::max(longest, depth[i]);
    if (longest <= maxBits) {
      for (size_t i = 0; i < used.size(); ++i) lengths[used[i]] = static_cast<uint8_t>(depth[i]);
      return lengths;
    }
    // Too deep: flatten the weights and build again.
    for (const size_t s : used) weights[s] = (weights[s] + 1) / 2;
  }
}

void DeflateScanlines(std::span<const uint32_t> pixels, size_t width, size_t height, std::vector<unsigned char>& out) {
  const size_t stride = 1 + 3 * width;
  Tokenizer tokenizer;
  uLong adler = adler32(0L, Z_NULL, 0);
  // The Up-filtered scanline of a row equal to the one above, and its checksum.
  std::vector<unsigned char> zeroLine(stride, 0);
  zeroLine[0] = 2;
  const uLong zeroAdler = adler32(adler32(0L, Z_NULL, 0), zeroLine.data(), static_cast<uInt>(stride));
  std::vector<unsigned char> line(stride);
  //   CMF 0x78 (deflate, 32K window) | FLG 0x01 (fastest, check bits) | blocks | Adler-32, big end first
  out.push_back(0x78);
  out.push_back(0x01);
  BitWriter bits(out);
  // A block is written once it holds kBlockTokens tokens, so a large or
  // noisy picture never holds more than that many (a few hundred bytes of
  // code lengths a block, next to the megabyte of tokens).
  constexpr size_t kBlockTokens = size_t{1} << 18;
  auto flushFull = [&] {
    if (tokenizer.Tokens().size() < kBlockTokens) return;
    tokenizer.EndBlock();
    WriteBlock(tokenizer, false, bits);
    tokenizer.Clear();
  };
  for (size_t y = 0; y < height; ++y) {
    const uint32_t* row = &pixels[y * width];
    const uint32_t* above = y > 0 ? row - width : nullptr;
    if (above != nullptr && std::memcmp(row, above, width * sizeof(uint32_t)) == 0) {
      tokenizer.Add(zeroLine);
      flushFull();
      adler = adler32_combine(adler, zeroAdler, static_cast<z_off_t>(stride));
      continue;
    }
    // The filter (0 none for the first row, 2 Up after) and the row's RGB
    // bytes minus those of the row above.
    line[0] = above == nullptr ? 0 : 2;
    unsigned char* bytes = &line[1];
    for (size_t x = 0; x < width; ++x) {
      const uint32_t p = row[x];
      const uint32_t q = above != nullptr ? above[x] : 0;
      // Each byte of p minus the same byte of q, modulo 256, in one word.
      const uint32_t d = ((p | 0x80808080u) - (q & 0x7F7F7F7Fu)) ^ ((p ^ ~q) & 0x80808080u);
      bytes[3 * x] = static_cast<unsigned char>(d >> 16);
      bytes[3 * x + 1] = static_cast<unsigned char>(d >> 8);
      bytes[3 * x + 2] = static_cast<unsigned char>(d);
    }
    tokenizer.Add(line);
    flushFull();
    adler = adler32(adler, line.data(), static_cast<uInt>(stride));
  }
  tokenizer.EndBlock();
  WriteBlock(tokenizer, true, bits);
  bits.Flush();
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(adler >> shift));
}

}  // namespace platform::png
