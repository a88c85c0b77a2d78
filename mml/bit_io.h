// Bit streams, most significant bit first; the last byte of a written
// stream is padded with zero bits. The reader reports running out instead
// of reading past its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "mml/mml_allocator.h"

namespace mml {

template <class T>
using MVector = std::vector<T, CMmlAllocator<T>>;  // accounted storage

class CBitWriter {
 public:
  explicit CBitWriter(MVector<uint8_t>& out) : out_(out) {}
  // REQUIRES: 0 <= count <= 32.
  void Put(uint32_t bits, int count) {
    if (count == 0) return;
    acc_ = (acc_ << count) | (bits & (count == 32 ? 0xFFFFFFFFu : ((1u << count) - 1)));
    pending_ += count;
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(static_cast<uint8_t>(acc_ >> pending_));
    }
  }
  void Bit(bool one) { Put(one ? 1 : 0, 1); }
  // Pads the last byte with zeros.
  void Finish() {
    if (pending_ > 0) Put(0, 8 - pending_);
  }

 private:
  MVector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int pending_ = 0;  // bits in acc_ not yet written
};

class CBitReader {
 public:
  CBitReader(const uint8_t* data, size_t len) : data_(data), bits_(len * 8) {}
  // False, with nothing consumed, when fewer than count bits remain.
  // REQUIRES: 0 <= count <= 32.
  bool Get(int count, uint32_t* out) {
    if (bits_ - pos_ < static_cast<size_t>(count)) return false;
    if (count == 0) {
      *out = 0;
      return true;
    }
    // The bytes holding bits pos_ .. pos_+count-1 (at most 5), then a shift.
    const size_t first = pos_ >> 3;
    const size_t last = (pos_ + static_cast<size_t>(count) - 1) >> 3;
    uint64_t v = 0;
    for (size_t i = first; i <= last; ++i) v = (v << 8) | data_[i];
    const size_t unusedLow = (last + 1) * 8 - (pos_ + static_cast<size_t>(count));
    *out = static_cast<uint32_t>((v >> unusedLow) & ((1ULL << count) - 1));
    pos_ += static_cast<size_t>(count);
    return true;
  }
  bool Bit(uint32_t* out) {
    if (pos_ >= bits_) return false;
    *out = (data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1u;
    ++pos_;
    return true;
  }
  size_t BitsLeft() const { return bits_ - pos_; }

 private:
  const uint8_t* data_;
  size_t bits_;
  size_t pos_ = 0;
};

}  // namespace mml
