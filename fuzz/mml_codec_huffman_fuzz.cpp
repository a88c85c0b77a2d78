// Reader of compression type(s) 5: see mml_codec_fuzz.h for the input.
#include "fuzz/mml_codec_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mml_fuzz::run_codec(data, size, {5}, {"MML_HUFF_REFRESH_INTERVAL=16"});
  return 0;
}
