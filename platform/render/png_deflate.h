// A zlib stream (RFC 1950 around RFC 1951) of a picture's PNG scanlines,
// made for pictures of windows. Such a picture is mostly rows equal to the
// row above and, in the others, long stretches equal to the row above:
// after the Up filter, runs of zeros. zlib's fastest level still looks at
// every byte through its general matcher and costs more than drawing the
// picture; this writer finds the runs a machine word at a time, matches
// them at distance 1 (what zlib's run-length strategy finds too), and codes
// the rest with dynamic Huffman blocks (of at most 2^18 tokens each, so a
// large picture is not held whole), so it packs about as tightly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform::png {

// Appends to `out` the zlib stream of the scanlines of `width` x `height`
// 0x00RRGGBB pixels, each row as PNG writes 8-bit RGB: a filter byte (0
// none for the first row, 2 Up for the others) and the row's bytes.
// `width` and `height` are above 0 and `pixels` holds width * height.
void DeflateScanlines(std::span<const uint32_t> pixels, size_t width, size_t height, std::vector<unsigned char>& out);

// The lengths (at most `maxBits`, at least 1 for every symbol of a non-zero
// count) of a complete prefix code for symbols of the given counts; when
// fewer than two symbols occur, the first one or two symbols get length 1
// so the code stays complete, as inflaters ask.
std::vector<uint8_t> CodeLengths(std::span<const uint32_t> counts, int maxBits);

}  // namespace platform::png
