// Reader of compression type(s) 7: see mml_codec_fuzz.h for the input.
#include "fuzz/mml_codec_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mml_fuzz::run_codec(data, size, {7});
  return 0;
}
