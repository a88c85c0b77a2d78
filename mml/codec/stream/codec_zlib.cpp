// Compression types 9 and 10: zlib. The writer is one deflate stream for the
// connection's life at the default level; each message is deflated with a
// synchronising flush, so its bytes end on a byte boundary and the reader
// (one inflate stream) can expand it completely on arrival.
#include <zlib.h>

#include "mml/codec/codec_internal.h"

namespace mml {

namespace {

constexpr uint32_t kGrowth = 4096;              // output grows this much at a time
constexpr size_t kLargestExpansion = 64 << 20;  // a reader's cap per message

class CZlibCodec : public CCodec {
 public:
  explicit CZlibCodec(Side side) : side_(side) {}
  ~CZlibCodec() override {
    if (!open_) return;
    if (side_ == Side::Writer) {
      deflateEnd(&z_);
    } else {
      inflateEnd(&z_);
    }
  }
  int Open() {
    const int rc = side_ == Side::Writer ? deflateInit(&z_, Z_DEFAULT_COMPRESSION) : inflateInit(&z_);
    open_ = rc == Z_OK;
    return rc;
  }

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (side_ != Side::Writer) return 4;
    return Run(in, len, out, [this] { return deflate(&z_, Z_SYNC_FLUSH); });
  }
  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    if (side_ != Side::Reader) return 4;
    return Run(in, len, out, [this] { return inflate(&z_, Z_SYNC_FLUSH); });
  }

 private:
  // Feeds the whole input, growing the output by 4096 bytes while the
  // stream fills it.
  template <class Step>
  int Run(const uint8_t* in, uint32_t len, MVector<uint8_t>& out, Step step) {
    const size_t start = out.size();
    z_.next_in = const_cast<Bytef*>(in);
    z_.avail_in = len;
    for (;;) {
      const size_t used = out.size();
      if (used - start > kLargestExpansion) return 4;
      out.resize(used + kGrowth);
      z_.next_out = out.data() + used;
      z_.avail_out = kGrowth;
      const int rc = step();
      out.resize(used + (kGrowth - z_.avail_out));
      if (rc != Z_OK && rc != Z_BUF_ERROR) return 4;  // data or stream error
      if (z_.avail_in == 0 && z_.avail_out != 0) return 0;
      if (rc == Z_BUF_ERROR && z_.avail_out != 0) return 4;  // no progress possible
    }
  }

  Side side_;
  bool open_ = false;
  z_stream z_{};
};

}  // namespace

int make_zlib_codec(Side side, std::unique_ptr<CCodec>* out) {
  auto c = std::make_unique<CZlibCodec>(side);
  if (const int rc = c->Open(); rc != Z_OK) return rc;
  *out = std::move(c);
  return 0;
}

}  // namespace mml
