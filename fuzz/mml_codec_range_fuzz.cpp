// Reader of compression type(s) 6: see mml_codec_fuzz.h for the input.
#include "fuzz/mml_codec_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mml_fuzz::run_codec(data, size, {6}, {"MML_EC_UPDATE_INTERVAL=7"});
  return 0;
}
