// Wire format of a tagged message. All integers are unsigned big-endian.
//
//   compact form (1)                   wide form (2)
//   +-------+-------+                  +-------+---------------+
//   | 41 41 | total |  header          | 42 42 |     total     |  header
//   +-------+-------+  4 bytes         +-------+---------------+  6 bytes
//   then `total` fields, deleted ones included, back to back:
//   +-------+-------+--------+         +-------+---------------+--------+
//   |  tag  |   L   | L bytes|         |  tag  |       L       | L bytes|
//   +-------+-------+--------+         +-------+---------------+--------+
//      2       2                          2           4
//
// Live tags are 0..32767 (compact) and 0..65534 (wide). A deleted field
// keeps its bytes; its tag word becomes tag + 32768 (compact) or 65535
// (wide). Messages follow one another in a buffer with nothing between.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace mml {

struct sWireForm {
  uint16_t nMarker;
  int32_t nWidth;  // bytes of the field total and of each length
  int32_t nMaxLiveTag;
  int64_t nMaxValue;   // largest value length
  int64_t nMaxFields;  // largest field total
  constexpr int32_t HeaderSize() const { return 2 + nWidth; }
  constexpr int32_t FieldHeaderSize() const { return 2 + nWidth; }
  constexpr bool IsLive(int64_t tagWord) const { return tagWord >= 0 && tagWord <= nMaxLiveTag; }
  constexpr uint16_t DeletedWord(int32_t tag) const {
    return nWidth == 2 ? static_cast<uint16_t>(tag + 32768) : uint16_t{65535};
  }
};

inline constexpr sWireForm kCompactForm{0x4141, 2, 32767, 65535, 65535};
inline constexpr sWireForm kWideForm{0x4242, 4, 65534, 2147483647, 2147483647};

// ---- Big-endian coding. REQUIRES: p has room for the width. ----
// One byte swap and one unaligned access each: these run for every field
// built or parsed.

template <class T>
inline T to_big_endian(T v) {
  if constexpr (std::endian::native == std::endian::big) {
    return v;
  } else if constexpr (sizeof(T) == 2) {
    return __builtin_bswap16(v);
  } else {
    return __builtin_bswap32(v);
  }
}

inline void put_be16(char* p, uint32_t v) {
  const auto be = to_big_endian(static_cast<uint16_t>(v));
  std::memcpy(p, &be, sizeof be);
}
inline void put_be32(char* p, uint32_t v) {
  const uint32_t be = to_big_endian(v);
  std::memcpy(p, &be, sizeof be);
}
inline void put_be(char* p, int32_t width, uint32_t v) { width == 2 ? put_be16(p, v) : put_be32(p, v); }

inline uint32_t get_be16(const char* p) {
  uint16_t be = 0;
  std::memcpy(&be, p, sizeof be);
  return to_big_endian(be);
}
inline uint32_t get_be32(const char* p) {
  uint32_t be = 0;
  std::memcpy(&be, p, sizeof be);
  return to_big_endian(be);
}
inline uint32_t get_be(const char* p, int32_t width) { return width == 2 ? get_be16(p) : get_be32(p); }

}  // namespace mml
