// Compression types 9 and 10: zlib. The writer is one deflate stream for the
// connection's life at the default level; each message is deflated with a
// synchronising flush, so its bytes end on a byte boundary and the reader
// (one inflate stream) can expand it completely on arrival.
#include <zlib.h>

#include "mml/codec/codec_internal.h"
#include "mml/status.h"

namespace mml {

namespace {

constexpr uint32_t kGrowth = 4096;  // output grows this much at a time

class CZlibCodec : public CCodec {
 public:
  explicit CZlibCodec(Side side) : m_side(side) {}
  ~CZlibCodec() override {
    if (!m_open) return;
    if (m_side == Side::Writer) {
      deflateEnd(&m_z);
    } else {
      inflateEnd(&m_z);
    }
  }
  int Open() {
    const int rc = m_side == Side::Writer ? deflateInit(&m_z, Z_DEFAULT_COMPRESSION) : inflateInit(&m_z);
    m_open = rc == Z_OK;
    return rc;
  }

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (m_side != Side::Writer) return CodecStatus::kBadArgument;
    return Run(in, len, out, [this] { return deflate(&m_z, Z_SYNC_FLUSH); });
  }
  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (m_side != Side::Reader) return CodecStatus::kBadArgument;
    return Run(in, len, out, [this] { return inflate(&m_z, Z_SYNC_FLUSH); });
  }

 private:
  // Feeds the whole input, growing the output by 4096 bytes while the
  // stream fills it; more than the cap is refused, either way.
  template <class Step>
  int Run(const uint8_t* in, uint32_t len, MVector<uint8_t>& out, Step step) {
    const size_t start = out.size();
    m_z.next_in = const_cast<Bytef*>(in);
    m_z.avail_in = len;
    for (;;) {
      const size_t used = out.size();
      out.resize(used + kGrowth);
      m_z.next_out = out.data() + used;
      m_z.avail_out = kGrowth;
      const int rc = step();
      out.resize(used + (kGrowth - m_z.avail_out));
      if (past_cap(out, start)) return CodecStatus::kBadArgument;
      if (rc != Z_OK && rc != Z_BUF_ERROR) return CodecStatus::kBadArgument;  // data or stream error
      // With room left over, zlib has stopped for want of input: done when
      // it read it all, stuck (no progress possible) when it did not.
      if (m_z.avail_out != 0) return m_z.avail_in == 0 ? 0 : CodecStatus::kBadArgument;
    }
  }

  Side m_side;
  bool m_open = false;
  z_stream m_z{};
};

}  // namespace

int make_zlib_codec(Side side, std::unique_ptr<CCodec>* out) {
  auto c = std::make_unique<CZlibCodec>(side);
  if (const int rc = c->Open(); rc != Z_OK) return rc;
  *out = std::move(c);
  return 0;
}

}  // namespace mml
