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
  explicit CBitWriter(MVector<uint8_t>& out) : out_(out) {}
  // The low count bits of bits. REQUIRES: 0 <= count <= 32.
  void Put(uint32_t bits, int count) {
    acc_ = (acc_ << count) | (bits & ((1ULL << count) - 1));
    pending_ += count;
    if (pending_ >= 32) {
      pending_ -= 32;
      const auto word = static_cast<uint32_t>(acc_ >> pending_);
      const uint8_t bytes[4] = {static_cast<uint8_t>(word >> 24), static_cast<uint8_t>(word >> 16),
                                static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)};
      out_.insert(out_.end(), bytes, bytes + 4);
    }
  }
  void Bit(bool one) { Put(one ? 1 : 0, 1); }
  // Writes what is pending, the last byte padded with zeros.
  void Finish() {
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(static_cast<uint8_t>(acc_ >> pending_));
    }
    if (pending_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - pending_)));
    pending_ = 0;
  }

 private:
  MVector<uint8_t>& out_;
  uint64_t acc_ = 0;  // the low pending_ bits are not yet written
  int pending_ = 0;   // below 32 between calls
};

// Reads a byte range it does not own, which must outlive it.
class CBitReader {
 public:
  static constexpr int kWindow = 57;  // bits a window always holds
  static constexpr int kMaxPeek = 32;

  CBitReader(const uint8_t* data, size_t len) : data_(data), bytes_(len), bits_(len * 8) {}
  // False, with nothing consumed, when fewer than count bits remain.
  // REQUIRES: 0 <= count <= 32.
  bool Get(int count, uint32_t* out) {
    if (bits_ - pos_ < static_cast<size_t>(count)) return false;
    *out = count == 0 ? 0 : Peek(count);
    pos_ += static_cast<size_t>(count);
    return true;
  }
  bool Bit(uint32_t* out) {
    if (pos_ >= bits_) return false;
    *out = (data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1u;
    ++pos_;
    return true;
  }
  // The next kWindow bits from the top down, zeros standing in for bits
  // past the end; consumes nothing.
  uint64_t Window() const {
    const size_t at = pos_ >> 3;
    uint64_t word = 0;
    if (at + 8 <= bytes_) {
      std::memcpy(&word, data_ + at, 8);
      word = FromBigEndian(word);
    } else {
      for (size_t i = at; i < bytes_; ++i) word |= static_cast<uint64_t>(data_[i]) << (56 - 8 * (i - at));
    }
    return word << (pos_ & 7);  // the bits before pos_ in its byte leave on the left
  }
  // The next count bits as a number, as Window gives them.
  // REQUIRES: 0 < count <= kMaxPeek.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(Window() >> (64 - count)); }
  // REQUIRES: count <= BitsLeft().
  void Skip(size_t count) { pos_ += count; }
  size_t BitsLeft() const { return bits_ - pos_; }

 private:
  static uint64_t FromBigEndian(uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(v);
    return v;
  }

  const uint8_t* data_;
  size_t bytes_;
  size_t bits_;
  size_t pos_ = 0;
};

}  // namespace mml
