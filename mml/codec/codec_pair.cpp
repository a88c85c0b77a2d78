// Coder pairs by compression type, and the C operations over any coder.
#include <new>

#include "mml/codec/codec_internal.h"
#include "mml/codec/common/coded_output.h"
#include "mml/codec/dictionary/dict_coder.h"
#include "mml/status.h"

namespace mml {

bool int_setting_or(const char* name, int32_t fallback, int32_t* out) {
  int err = 0;
  if (mml_get_int_setting(name, out, &err) != 0) return true;
  *out = fallback;
  return err == 5;
}

namespace {

// The dictionary coder behind the common interface.
class CDictCodec : public CCodec {
 public:
  explicit CDictCodec(std::unique_ptr<CDictCoder> coder) : m_coder(std::move(coder)) {}
  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    return m_coder->Compress(in, len, out);
  }
  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override { return m_coder->Expand(in, len, out); }

 private:
  std::unique_ptr<CDictCoder> m_coder;
};

class CChainCodec : public CCodec {
 public:
  CChainCodec(std::unique_ptr<CCodec> first, std::unique_ptr<CCodec> second)
      : m_first(std::move(first)), m_second(std::move(second)) {}
  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    m_middle.clear();
    if (const int status = m_first->Compress(in, len, m_middle); status != 0) return status;
    return m_second->Compress(m_middle.data(), static_cast<uint32_t>(m_middle.size()), out);
  }
  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    m_middle.clear();
    if (const int status = m_second->Expand(in, len, m_middle); status != 0) return status;
    return m_first->Expand(m_middle.data(), static_cast<uint32_t>(m_middle.size()), out);
  }

 private:
  std::unique_ptr<CCodec> m_first;
  std::unique_ptr<CCodec> m_second;
  MVector<uint8_t> m_middle;
};

// One side of a type. Status: the type's creation status.
int make_side(const codec_settings& s, Side side, std::unique_ptr<CCodec>* out) {
  const auto with_loc = [&](std::unique_ptr<CCodec> first, int failure) {
    std::unique_ptr<CCodec> loc;
    if (make_loc_codec(side, &loc) != 0) return failure;
    *out = chain_codecs(std::move(first), std::move(loc));
    return 0;
  };
  std::unique_ptr<CCodec> first;
  switch (s.compression_type) {
    case 2:
    case 3:
    case 4: return make_dict_codec(s.compression_type, out) == 0 ? CodecStatus::kOk : CodecStatus::kNoDictionaryCoder;
    case 5: return make_huffman_codec(side, out) == 0 ? CodecStatus::kOk : CodecStatus::kNoHuffmanCoder;
    case 6: return make_range_codec(side, out) == 0 ? CodecStatus::kOk : CodecStatus::kNoRangeCoder;
    case 7:
      return make_zstd_codec(side, s.zstd_level, s.zstd_window_log, out) == 0 ? CodecStatus::kOk
                                                                              : CodecStatus::kNoZstdCoder;
    case 8: return make_loc_codec(side, out) == 0 ? CodecStatus::kOk : CodecStatus::kNoLocCoder;
    case 9: return make_zlib_codec(side, out);
    case 10:
      if (const int status = make_zlib_codec(side, &first); status != 0) return status;
      return with_loc(std::move(first), CodecStatus::kNoLocCoder);
    case 11:
      if (make_dict_codec(11, &first) != 0) return CodecStatus::kNoDictionaryCoder;
      return with_loc(std::move(first), CodecStatus::kNoDictionaryCoder);
    default: return CodecStatus::kBadType;
  }
}

CCodec* codec_of(codec* c) { return static_cast<CCodec*>(c); }

}  // namespace

std::unique_ptr<CCodec> chain_codecs(std::unique_ptr<CCodec> first, std::unique_ptr<CCodec> second) {
  return std::make_unique<CChainCodec>(std::move(first), std::move(second));
}

int make_dict_codec(int32_t type, std::unique_ptr<CCodec>* out) {
  dict_config cfg{};
  int status = 0;
  if (dict_config_load(&cfg, type, &status) == 0) return status;
  std::unique_ptr<CDictCoder> coder;
  if (const int code = CDictCoder::Create(cfg, &coder); code != 0) return code;
  *out = std::make_unique<CDictCodec>(std::move(coder));
  return 0;
}

}  // namespace mml

extern "C" int codec_create_pair(codec** writer, codec** reader, const codec_settings* s, int* status) {
  if (writer == nullptr || reader == nullptr || s == nullptr) {
    return mml::fail(status, mml::CodecStatus::kMissingArgument);
  }
  if (s->kind != 1 && s->kind != 6 && s->kind != 15) return mml::fail(status, mml::CodecStatus::kBadType);
  if (s->compression_type < 1 || s->compression_type > 11) return mml::fail(status, mml::CodecStatus::kBadType);
  *writer = nullptr;
  *reader = nullptr;
  if (s->no_coders == 1 || s->compression_type == 1) return mml::succeed(status);
  std::unique_ptr<mml::CCodec> w, r;
  try {
    if (const int code = mml::make_side(*s, mml::Side::Writer, &w); code != 0) return mml::fail(status, code);
    if (const int code = mml::make_side(*s, mml::Side::Reader, &r); code != 0) return mml::fail(status, code);
  } catch (const std::bad_alloc&) {
    return mml::fail(status, mml::CodecStatus::kNoMemory);
  }
  *writer = w.release();
  *reader = r.release();
  return mml::succeed(status);
}

extern "C" int codec_compress(codec* c, const char* in, int32_t len, buf_hndl out, int* status) {
  return mml::code_into_buffer(out, in, len, status, [c](const uint8_t* bytes, uint32_t n, mml::MVector<uint8_t>& to) {
    if (c == nullptr) {
      to.assign(bytes, bytes + n);
      return 0;
    }
    return mml::codec_of(c)->Compress(bytes, n, to);
  });
}

extern "C" int codec_expand(codec* c, const char* in, int32_t len, buf_hndl out, int* status) {
  return mml::code_into_buffer(out, in, len, status, [c](const uint8_t* bytes, uint32_t n, mml::MVector<uint8_t>& to) {
    if (c == nullptr) {
      to.assign(bytes, bytes + n);
      return 0;
    }
    return mml::codec_of(c)->Expand(bytes, n, to);
  });
}

extern "C" int codec_destroy(codec** c, int* status) {
  if (c == nullptr || *c == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  delete *c;
  *c = nullptr;
  return mml::succeed(status);
}
