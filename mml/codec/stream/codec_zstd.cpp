// Compression type 7: zstd streaming, one context per side for the
// connection's life. The writer compresses each message with a flush, so the
// reader can expand it completely on arrival; the frame stays open across
// messages and the window keeps what earlier messages taught it. The level
// and window log come from the connection's settings (0: zstd's default).
#include <zstd.h>

#include <algorithm>

#include "mml/codec/codec_internal.h"
#include "mml/status.h"

namespace mml {

namespace {

class CZstdCodec : public CCodec {
 public:
  explicit CZstdCodec(Side side) : m_side(side) {}
  ~CZstdCodec() override {
    ZSTD_freeCCtx(m_c);
    ZSTD_freeDCtx(m_d);
  }
  bool Open(int32_t level, int32_t windowLog) {
    if (m_side == Side::Writer) {
      m_c = ZSTD_createCCtx();
      return m_c != nullptr && !ZSTD_isError(ZSTD_CCtx_setParameter(m_c, ZSTD_c_compressionLevel, level)) &&
             (windowLog == 0 || !ZSTD_isError(ZSTD_CCtx_setParameter(m_c, ZSTD_c_windowLog, windowLog)));
    }
    m_d = ZSTD_createDCtx();
    return m_d != nullptr &&
           (windowLog == 0 || !ZSTD_isError(ZSTD_DCtx_setParameter(m_d, ZSTD_d_windowLogMax, windowLog)));
  }

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (m_side != Side::Writer) return CodecStatus::kBadArgument;
    ZSTD_inBuffer input{in, len, 0};
    for (;;) {
      const size_t used = out.size();
      // Room for the whole message at once, without zero-filling 128 KiB.
      const size_t room = ZSTD_compressBound(len) + 64;
      out.resize(used + room);
      ZSTD_outBuffer output{out.data() + used, room, 0};
      const size_t left = ZSTD_compressStream2(m_c, &output, &input, ZSTD_e_flush);
      out.resize(used + output.pos);
      if (ZSTD_isError(left)) return CodecStatus::kBadArgument;
      if (left == 0) return 0;
    }
  }

  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (m_side != Side::Reader) return CodecStatus::kBadArgument;
    // An empty message leaves the writer's frame unchanged: nothing to do
    // (and zstd refuses calls that can make no progress).
    if (len == 0) return 0;
    ZSTD_inBuffer input{in, len, 0};
    const size_t start = out.size();
    for (;;) {
      const size_t used = out.size();
      const size_t room = std::max<size_t>(4096, 4 * static_cast<size_t>(len));
      out.resize(used + room);
      ZSTD_outBuffer output{out.data() + used, room, 0};
      const size_t rc = ZSTD_decompressStream(m_d, &output, &input);
      out.resize(used + output.pos);
      if (ZSTD_isError(rc) || past_cap(out, start)) return CodecStatus::kBadArgument;
      // Done once the input is used up and the output was not filled.
      if (input.pos == input.size && output.pos < output.size) return 0;
    }
  }

 private:
  Side m_side;
  ZSTD_CCtx* m_c = nullptr;
  ZSTD_DCtx* m_d = nullptr;
};

}  // namespace

int make_zstd_codec(Side side, int32_t level, int32_t windowLog, std::unique_ptr<CCodec>* out) {
  auto c = std::make_unique<CZstdCodec>(side);
  if (!c->Open(level, windowLog)) return CodecStatus::kBadArgument;
  *out = std::move(c);
  return 0;
}

}  // namespace mml
