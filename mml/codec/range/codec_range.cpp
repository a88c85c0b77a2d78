// Compression type 6: an adaptive range coder over bytes. The model is a
// frequency per symbol (bytes 0..255 and 256, end of message), starting at
// 1; coding uses a cumulative table that is rebuilt from the frequencies
// every MML_EC_UPDATE_INTERVAL symbols (default 100), so writer and reader
// change it at the same moments. Frequencies halve when their total would
// pass 2^16. The model carries from message to message.
//
// Message: the range coder's bytes for the message's symbols and then 256,
// followed by its four flush bytes (carry-less range coder, 32-bit low,
// renormalising a byte at a time below 2^24, forced below 2^16).
#include <algorithm>
#include <array>

#include "mml/codec/codec_internal.h"
#include "mml/status.h"

namespace mml {

namespace {

constexpr int kSymbols = 257;
constexpr uint32_t kEnd = 256;
constexpr uint32_t kTop = 1u << 24;
constexpr uint32_t kBottom = 1u << 16;
constexpr uint32_t kMaxTotal = 1u << 16;

// Whether the coder shifts a byte out (or in): the top byte is settled, or
// the range has become too small and is cut to the next 2^16 boundary.
inline bool must_shift(uint32_t low, uint32_t& range) {
  if ((low ^ (low + range)) < kTop) return true;
  if (range >= kBottom) return false;
  range = (0u - low) & (kBottom - 1);
  return true;
}

class CModel {
 public:
  explicit CModel(uint32_t interval) : m_interval(interval) {
    m_freq.fill(1);
    Rebuild();
  }
  uint32_t Total() const { return m_cum[kSymbols]; }
  uint32_t Low(uint32_t s) const { return m_cum[s]; }
  uint32_t Size(uint32_t s) const { return m_cum[s + 1] - m_cum[s]; }
  // The symbol whose range holds target. REQUIRES: target < Total().
  uint32_t Find(uint32_t target) const {
    uint32_t lo = 0, hi = kSymbols;
    while (hi - lo > 1) {
      const uint32_t mid = (lo + hi) / 2;
      (m_cum[mid] <= target ? lo : hi) = mid;
    }
    return lo;
  }
  void Update(uint32_t s) {
    ++m_freq[s];
    if (++m_seen < m_interval) return;
    m_seen = 0;
    Rebuild();
  }

 private:
  void Rebuild() {
    uint64_t total = 0;
    for (const uint32_t f : m_freq) total += f;
    while (total > kMaxTotal) {
      total = 0;
      for (uint32_t& f : m_freq) {
        f = (f + 1) / 2;
        total += f;
      }
    }
    m_cum[0] = 0;
    for (int s = 0; s < kSymbols; ++s)
      m_cum[static_cast<size_t>(s) + 1] = m_cum[static_cast<size_t>(s)] + m_freq[static_cast<size_t>(s)];
  }

  uint32_t m_interval;
  uint32_t m_seen = 0;
  std::array<uint32_t, kSymbols> m_freq{};
  std::array<uint32_t, kSymbols + 1> m_cum{};
};

class CRangeCodec : public CCodec {
 public:
  explicit CRangeCodec(uint32_t interval) : m_model(interval) {}

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    uint32_t low = 0;
    uint32_t range = 0xFFFFFFFF;
    const auto encode = [&](uint32_t s) {
      const uint32_t r = range / m_model.Total();
      low += r * m_model.Low(s);
      range = r * m_model.Size(s);
      while (must_shift(low, range)) {
        out.push_back(static_cast<uint8_t>(low >> 24));
        low <<= 8;
        range <<= 8;
      }
      m_model.Update(s);
    };
    for (uint32_t i = 0; i < len; ++i) encode(in[i]);
    encode(kEnd);
    for (int i = 0; i < 4; ++i, low <<= 8) out.push_back(static_cast<uint8_t>(low >> 24));
    return 0;
  }

  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    const size_t start = out.size();
    uint32_t pos = 0;
    bool overrun = false;
    const auto next = [&]() -> uint32_t {
      if (pos < len) return in[pos++];
      overrun = true;
      return 0;
    };
    uint32_t low = 0, code = 0, range = 0xFFFFFFFF;
    for (int i = 0; i < 4; ++i) code = (code << 8) | next();
    for (;;) {
      if (overrun) return CodecStatus::kNoMoreBits;  // a writer's message never needs bytes it did not send
      const uint32_t r = range / m_model.Total();
      const uint32_t target = std::min((code - low) / r, m_model.Total() - 1);
      const uint32_t s = m_model.Find(target);
      low += r * m_model.Low(s);
      range = r * m_model.Size(s);
      while (must_shift(low, range)) {
        code = (code << 8) | next();
        low <<= 8;
        range <<= 8;
      }
      m_model.Update(s);
      if (s == kEnd) return overrun || pos != len ? CodecStatus::kNoMoreBits : CodecStatus::kOk;
      out.push_back(static_cast<uint8_t>(s));
      if (past_cap(out, start)) return CodecStatus::kBadArgument;
    }
  }

 private:
  CModel m_model;
};

}  // namespace

int make_range_codec(Side, std::unique_ptr<CCodec>* out) {
  int32_t interval = 0;
  if (!int_setting_or("MML_EC_UPDATE_INTERVAL", 100, &interval) || interval < 1) return CodecStatus::kBadArgument;
  *out = std::make_unique<CRangeCodec>(static_cast<uint32_t>(interval));
  return 0;
}

}  // namespace mml
