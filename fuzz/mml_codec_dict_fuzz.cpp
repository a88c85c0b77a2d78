// Reader of compression type(s) 2, 3, 4, 11: see mml_codec_fuzz.h for the input.
#include "fuzz/mml_codec_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mml_fuzz::run_codec(
      data, size, {2, 3, 4, 11},
      {"MML_DICT_PHRASE_TBL_SIZE=2048", "MML_DICT_HASH_TBL_SIZE=1021", "MML_DICT_MAX_PHRASE_BUF_SIZE=65536",
       "MML_DICT_MAX_PHRASE_SET_SIZE=1024", "MML_DICT_HUFF_REFRESH_FREQ=8"});
  return 0;
}
