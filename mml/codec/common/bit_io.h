// Bit streams, most significant bit first; the last byte of a written
// stream is padded with zero bits. The reader reports running out instead
// of reading past its bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mml/memory/mml_allocator.h"

namespace mml {

template <class T>
using MVector = std::vector<T, CMmlAllocator<T>>;  // accounted storage

// Appends to a byte vector. Whole 32-bit words go out as they fill; the
// vector holds every bit written only after Finish.
class CBitWriter {
 public:
  explicit CBitWriter(MVector<uint8_t>& out) : m_out(out) {}
  // The low count bits of bits. REQUIRES: 0 <= count <= 32.
  void Put(uint32_t bits, int count) {
    m_acc = (m_acc << count) | (bits & ((1ULL << count) - 1));
    m_pending += count;
    if (m_pending >= 32) {
      m_pending -= 32;
      const auto word = static_cast<uint32_t>(m_acc >> m_pending);
      const uint8_t bytes[4] = {static_cast<uint8_t>(word >> 24), static_cast<uint8_t>(word >> 16),
                                static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)};
      m_out.insert(m_out.end(), bytes, bytes + 4);
    }
  }
  void Bit(bool one) { Put(one ? 1 : 0, 1); }
  // Writes what is pending, the last byte padded with zeros.
  void Finish() {
    while (m_pending >= 8) {
      m_pending -= 8;
      m_out.push_back(static_cast<uint8_t>(m_acc >> m_pending));
    }
    if (m_pending > 0) m_out.push_back(static_cast<uint8_t>(m_acc << (8 - m_pending)));
    m_pending = 0;
  }

 private:
  MVector<uint8_t>& m_out;
  uint64_t m_acc = 0;  // the low m_pending bits are not yet written
  int m_pending = 0;   // below 32 between calls
};

// Reads a byte range it does not own, which must outlive it.
class CBitReader {
 public:
  static constexpr int kWindow = 57;  // bits a window always holds
  static constexpr int kMaxPeek = 32;

  CBitReader(const uint8_t* data, size_t len) : m_data(data), m_bytes(len), m_bits(len * 8) {}
  // False, with nothing consumed, when fewer than count bits remain.
  // REQUIRES: 0 <= count <= 32.
  bool Get(int count, uint32_t* out) {
    if (m_bits - m_pos < static_cast<size_t>(count)) return false;
    *out = count == 0 ? 0 : Peek(count);
    m_pos += static_cast<size_t>(count);
    return true;
  }
  bool Bit(uint32_t* out) {
    if (m_pos >= m_bits) return false;
    *out = (m_data[m_pos >> 3] >> (7 - (m_pos & 7))) & 1u;
    ++m_pos;
    return true;
  }
  // The next kWindow bits from the top down, zeros standing in for bits
  // past the end; consumes nothing.
  uint64_t Window() const {
    const size_t at = m_pos >> 3;
    uint64_t word = 0;
    if (at + 8 <= m_bytes) {
      std::memcpy(&word, m_data + at, 8);
      word = FromBigEndian(word);
    } else {
      for (size_t i = at; i < m_bytes; ++i) word |= static_cast<uint64_t>(m_data[i]) << (56 - 8 * (i - at));
    }
    return word << (m_pos & 7);  // the bits before m_pos in its byte leave on the left
  }
  // The next count bits as a number, as Window gives them.
  // REQUIRES: 0 < count <= kMaxPeek.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(Window() >> (64 - count)); }
  // REQUIRES: count <= BitsLeft().
  void Skip(size_t count) { m_pos += count; }
  size_t BitsLeft() const { return m_bits - m_pos; }

 private:
  static uint64_t FromBigEndian(uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(v);
    return v;
  }

  const uint8_t* m_data;
  size_t m_bytes;
  size_t m_bits;
  size_t m_pos = 0;
};

}  // namespace mml
