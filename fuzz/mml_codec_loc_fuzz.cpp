// Reader of compression type(s) 8, 10: see mml_codec_fuzz.h for the input.
#include "fuzz/mml_codec_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mml_fuzz::run_codec(data, size, {8, 10}, {"MML_LOC_HASH_SIZE=211", "MML_LOC_TRIM_FREQUENCY=3"});
  return 0;
}
