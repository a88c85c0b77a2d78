// Shared driver of the coder fuzz targets: one target per reader type.
//
// Input: byte 0 chooses the mode (bit 0) and the variant (bits 1..3, an
// index into the target's compression types); bytes 1..3 give a corruption
// offset (2 bytes) and an XOR mask; the rest is messages, each a 2-byte
// big-endian length and that many bytes (a short last one is cut).
//   mode 0: the messages go straight to a fresh reader, as a network might
//           deliver them; each expand may fail, none may crash or hang.
//   mode 1: a fresh writer codes the messages, one byte of the coded stream
//           is XORed with the mask, and a fresh reader expands it. With mask
//           0 every message must come back exactly, else the target aborts.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mml/codec/codec.h"

namespace mml_fuzz {

inline std::vector<std::string> split_messages(const uint8_t* data, size_t size) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos + 2 <= size && out.size() < 64) {
    const size_t len = std::min<size_t>((data[pos] << 8) | data[pos + 1], size - pos - 2);
    out.emplace_back(reinterpret_cast<const char*>(data + pos + 2), len);
    pos += 2 + len;
  }
  return out;
}

// env: "MML_...=value" entries for the process's one environment
// start-up (small tables make resets, ring wrap-around and trims frequent).
inline void run_codec(const uint8_t* data, size_t size, const std::vector<int32_t>& types,
                      std::vector<std::string> env = {}) {
  static const bool ready = [&env] {
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    return mml_env_init(0, nullptr, envp.data(), 2, 0, nullptr) != 0;
  }();
  if (!ready || size < 4) return;
  const bool writerMode = (data[0] & 1) != 0;
  const int32_t type = types[((data[0] >> 1) & 7) % types.size()];
  const size_t corruptAt = (data[1] << 8) | data[2];
  const uint8_t mask = data[3];
  const std::vector<std::string> messages = split_messages(data + 4, size - 4);

  const codec_settings settings{type, 0, 1, 3, 0};
  codec* writer = nullptr;
  codec* reader = nullptr;
  if (codec_create_pair(&writer, &reader, &settings, nullptr) == 0) std::abort();
  buf_hndl packed = nullptr;
  buf_hndl plain = nullptr;
  if (buf_open(&packed, 256, nullptr) == 0 || buf_open(&plain, 256, nullptr) == 0) std::abort();

  if (!writerMode) {
    for (const std::string& m : messages) {
      plain->used = 0;
      if (codec_expand(reader, m.data(), static_cast<int32_t>(m.size()), plain, nullptr) == 0) break;
    }
  } else {
    // Code everything, remembering where each message's bytes start.
    std::vector<int32_t> starts;
    for (const std::string& m : messages) {
      starts.push_back(packed->used);
      if (codec_compress(writer, m.data(), static_cast<int32_t>(m.size()), packed, nullptr) == 0) std::abort();
    }
    starts.push_back(packed->used);
    if (packed->used > 0) packed->data[corruptAt % static_cast<size_t>(packed->used)] ^= static_cast<char>(mask);
    for (size_t i = 0; i < messages.size(); ++i) {
      plain->used = 0;
      const int ok = codec_expand(reader, packed->data + starts[i], starts[i + 1] - starts[i], plain, nullptr);
      if (mask == 0 && (ok == 0 || std::string(plain->data, static_cast<size_t>(plain->used)) != messages[i])) {
        std::fprintf(stderr, "type %d: message %zu did not come back\n", type, i);
        std::abort();
      }
      if (ok == 0) break;
    }
  }
  buf_close(&packed, nullptr);
  buf_close(&plain, nullptr);
  if (writer != nullptr) codec_destroy(&writer, nullptr);
  if (reader != nullptr) codec_destroy(&reader, nullptr);
}

}  // namespace mml_fuzz
