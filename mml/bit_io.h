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
  bool Get(int count, uint32_t* out) {
    if (bits_ - pos_ < static_cast<size_t>(count)) return false;
    uint32_t v = 0;
    for (int i = 0; i < count; ++i, ++pos_) v = (v << 1) | ((data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1u);
    *out = v;
    return true;
  }
  bool Bit(uint32_t* out) { return Get(1, out); }
  size_t BitsLeft() const { return bits_ - pos_; }

 private:
  const uint8_t* data_;
  size_t bits_;
  size_t pos_ = 0;
};

}  // namespace mml
