// The C interface of the phrase-dictionary coder.
#include <new>

#include "mml/codec/common/coded_output.h"
#include "mml/codec/dictionary/dict_coder.h"
#include "mml/status.h"

namespace {

mml::CDictCoder* coder_of(dict_coder* c) { return static_cast<mml::CDictCoder*>(c); }

}  // namespace

extern "C" int dict_create(dict_coder** coder, const dict_config* cfg, int* status) {
  if (coder == nullptr || cfg == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  if (*coder != nullptr) return mml::fail(status, mml::CodecStatus::kInUse);
  std::unique_ptr<mml::CDictCoder> made;
  if (const int code = mml::CDictCoder::Create(*cfg, &made); code != 0) return mml::fail(status, code);
  *coder = made.release();
  return mml::succeed(status);
}

extern "C" int dict_compress(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status) {
  if (coder == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  return mml::code_into_buffer(out, in, len, status,
                               [coder](const uint8_t* bytes, uint32_t n, mml::MVector<uint8_t>& to) {
                                 return coder_of(coder)->Compress(bytes, n, to);
                               });
}

extern "C" int dict_expand(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status) {
  if (coder == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  return mml::code_into_buffer(out, in, len, status,
                               [coder](const uint8_t* bytes, uint32_t n, mml::MVector<uint8_t>& to) {
                                 return coder_of(coder)->Expand(bytes, n, to);
                               });
}

extern "C" int dict_reset(dict_coder* coder, int* status) {
  if (coder == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  coder_of(coder)->Reset();
  return mml::succeed(status);
}

extern "C" int dict_destroy(dict_coder** coder, int* status) {
  if (coder == nullptr || *coder == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  delete coder_of(*coder);
  *coder = nullptr;
  return mml::succeed(status);
}

extern "C" int dict_get_stats(const dict_coder* coder, dict_stats* out, int* status) {
  if (coder == nullptr || out == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  *out = static_cast<const mml::CDictCoder*>(coder)->Stats();
  return mml::succeed(status);
}
