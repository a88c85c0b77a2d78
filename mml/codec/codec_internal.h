// The coders behind codec.h: one interface, one class per format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "mml/codec/common/bit_io.h"
#include "mml/codec/codec.h"

struct codec {
  virtual ~codec() = default;
};

namespace mml {

enum class Side { Writer, Reader };

class CCodec : public codec {
 public:
  // Each appends to out and returns a status, 0 on success.
  virtual int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) = 0;
  virtual int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) = 0;
};

// Whether a reader that began appending at start has expanded its message
// past 64 MiB. Every format refuses such a message, so that no peer can
// make a reader take all memory.
inline bool past_cap(const MVector<uint8_t>& out, size_t start) { return out.size() - start > (64u << 20); }

// Creation of each format; status 0 on success, else the format's own
// failure (mapped to the type's status by codec_create_pair).
int make_huffman_codec(Side side, std::unique_ptr<CCodec>* out);
int make_range_codec(Side side, std::unique_ptr<CCodec>* out);
int make_zstd_codec(Side side, int32_t level, int32_t windowLog, std::unique_ptr<CCodec>* out);
int make_zlib_codec(Side side, std::unique_ptr<CCodec>* out);  // zlib's status
int make_loc_codec(Side side, std::unique_ptr<CCodec>* out);
int make_dict_codec(int32_t type, std::unique_ptr<CCodec>* out);
// first then second when compressing; second's inverse then first's when expanding.
std::unique_ptr<CCodec> chain_codecs(std::unique_ptr<CCodec> first, std::unique_ptr<CCodec> second);

// An integer setting, or its default when not set; false when set to
// something that is not an integer.
bool int_setting_or(const char* name, int32_t fallback, int32_t* out);

}  // namespace mml
