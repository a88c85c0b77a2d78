// The C interface of the phrase-dictionary coder.
#include <new>

#include "mml/dict_coder.h"
#include "mml/status.h"

namespace {

mml::CDictCoder* coder_of(dict_coder* c) { return static_cast<mml::CDictCoder*>(c); }

// Runs a coding step into a scratch vector and appends it to out, so a
// failed step leaves out as it was.
template <class Step>
int into_buffer(buf_hndl out, int* status, Step step) {
  mml::MVector<uint8_t> bytes;
  try {
    bytes.reserve(256);
  } catch (const std::bad_alloc&) {
    return mml::fail(status, 3);
  }
  if (const int code = step(bytes); code != 0) return mml::fail(status, code);
  if (bytes.size() > static_cast<size_t>(INT32_MAX - out->used)) return mml::fail(status, 5);
  const auto need = static_cast<int32_t>(out->used + bytes.size());
  if (need > out->capacity && buf_reserve(out, need, nullptr) == 0) return mml::fail(status, 5);
  if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), out->data + out->used);
  out->used = need;
  return mml::succeed(status);
}

}  // namespace

extern "C" int dict_create(dict_coder** coder, const dict_config* cfg, int* status) {
  if (coder == nullptr || cfg == nullptr) return mml::fail(status, 7);
  if (*coder != nullptr) return mml::fail(status, 6);
  std::unique_ptr<mml::CDictCoder> made;
  if (const int code = mml::CDictCoder::Create(*cfg, &made); code != 0) return mml::fail(status, code);
  *coder = made.release();
  return mml::succeed(status);
}

extern "C" int dict_compress(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status) {
  if (coder == nullptr || out == nullptr || (in == nullptr && len != 0)) return mml::fail(status, 7);
  if (len < 0) return mml::fail(status, 4);
  return into_buffer(out, status, [&](mml::MVector<uint8_t>& bytes) {
    return coder_of(coder)->Compress(reinterpret_cast<const uint8_t*>(in), static_cast<uint32_t>(len), bytes);
  });
}

extern "C" int dict_expand(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status) {
  if (coder == nullptr || out == nullptr || (in == nullptr && len != 0)) return mml::fail(status, 7);
  if (len < 0) return mml::fail(status, 4);
  return into_buffer(out, status, [&](mml::MVector<uint8_t>& bytes) {
    return coder_of(coder)->Expand(reinterpret_cast<const uint8_t*>(in), static_cast<uint32_t>(len), bytes);
  });
}

extern "C" int dict_reset(dict_coder* coder, int* status) {
  if (coder == nullptr) return mml::fail(status, 7);
  coder_of(coder)->Reset();
  return mml::succeed(status);
}

extern "C" int dict_destroy(dict_coder** coder, int* status) {
  if (coder == nullptr || *coder == nullptr) return mml::fail(status, 7);
  delete coder_of(*coder);
  *coder = nullptr;
  return mml::succeed(status);
}

extern "C" int dict_get_stats(const dict_coder* coder, dict_stats* out, int* status) {
  if (coder == nullptr || out == nullptr) return mml::fail(status, 7);
  *out = static_cast<const mml::CDictCoder*>(coder)->Stats();
  return mml::succeed(status);
}
