// Compression type 5: the symbol Huffman coder over the bytes of each
// message, adaptive with escape, refreshing every MML_HUFF_REFRESH_INTERVAL
// symbols (default 128). Its state carries from message to message.
//
// Message: 32-bit big-endian byte count, then one symbol per byte (a 1-byte
// key), then zero bits to the byte boundary.
#include "mml/codec/codec_internal.h"
#include "mml/codec/symbol/symbol_coder.h"
#include "mml/status.h"

namespace mml {

namespace {

class CHuffmanCodec : public CCodec {
 public:
  explicit CHuffmanCodec(std::unique_ptr<CSymbolCoder> coder) : m_coder(std::move(coder)) {}

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    CBitWriter w(out);
    w.Put(len, 32);
    sSymbolKey key;
    key.nLen = 1;
    for (uint32_t i = 0; i < len; ++i) {
      key.aBytes[0] = in[i];
      if (const int status = m_coder->Encode(key, w); status != 0) return status;
    }
    w.Finish();
    return 0;
  }

  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    CBitReader r(in, len);
    uint32_t count = 0;
    if (!r.Get(32, &count)) return CodecStatus::kNoMoreBits;
    if (count > r.BitsLeft()) return CodecStatus::kNoMoreBits;  // every symbol takes at least one bit
    out.reserve(out.size() + count);
    for (uint32_t i = 0; i < count; ++i) {
      sSymbolKey key;
      if (const int status = m_coder->Decode(r, &key); status != 0) return status;
      if (key.nLen != 1) return CodecStatus::kCorruptTokens;
      out.push_back(key.aBytes[0]);
    }
    return 0;
  }

 private:
  std::unique_ptr<CSymbolCoder> m_coder;
};

}  // namespace

int make_huffman_codec(Side, std::unique_ptr<CCodec>* out) {
  int32_t refresh = 0;
  if (!int_setting_or("MML_HUFF_REFRESH_INTERVAL", 128, &refresh)) return CodecStatus::kBadSetting;
  std::unique_ptr<CSymbolCoder> coder;
  if (const int status = CSymbolCoder::Create(CSymbolCoder::kAdaptiveEscape, 2, refresh, &coder); status != 0) {
    return status;
  }
  *out = std::make_unique<CHuffmanCodec>(std::move(coder));
  return 0;
}

}  // namespace mml
