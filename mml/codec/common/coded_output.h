// Runs one coding step over a caller's bytes into scratch storage and
// appends the result to a buffer handle, so that a failed step leaves the
// buffer exactly as it was.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "mml/codec/common/bit_io.h"
#include "mml/mml.h"
#include "mml/status.h"

namespace mml {

// Step: int(const uint8_t* in, uint32_t len, MVector<uint8_t>& out),
// returning a CodecStatus (0 on success). Statuses of its own: a missing
// argument, a negative length, memory, a buffer that could not grow.
template <class Step>
int code_into_buffer(buf_hndl out, const char* in, int32_t len, int* status, Step step) {
  if (out == nullptr || (in == nullptr && len != 0)) return fail(status, CodecStatus::kMissingArgument);
  if (len < 0) return fail(status, CodecStatus::kBadArgument);
  // No bytes may come as no pointer; a step always gets an address, which
  // the memcmp and memcpy calls of the coders require even for no bytes.
  static constexpr uint8_t kNoBytes = 0;
  const uint8_t* from = in != nullptr ? reinterpret_cast<const uint8_t*>(in) : &kNoBytes;
  MVector<uint8_t> bytes;
  int code = 0;
  try {
    code = step(from, static_cast<uint32_t>(len), bytes);
  } catch (const std::bad_alloc&) {
    code = CodecStatus::kNoMemory;
  }
  if (code != 0) return fail(status, code);
  // A buffer counts its bytes in 32 signed bits: a result past that is refused.
  const size_t total = static_cast<size_t>(out->used) + bytes.size();
  if (!std::in_range<int32_t>(total)) return fail(status, CodecStatus::kBufferFull);
  const auto need = static_cast<int32_t>(total);
  if (need > out->capacity && buf_reserve(out, need, nullptr) == 0) return fail(status, CodecStatus::kBufferFull);
  if (!bytes.empty()) std::memcpy(out->data + out->used, bytes.data(), bytes.size());
  out->used = need;
  return succeed(status);
}

}  // namespace mml
