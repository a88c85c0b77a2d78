// Dictionary coder configuration: the type's defaults, then the settings.
#include <array>

#include "mml/codec/dictionary/dict_coder.h"
#include "mml/status.h"

namespace {

struct sDictKey {
  const char* name;
  int32_t dict_config::*field;
};

constexpr std::array<sDictKey, 12> kKeys = {{
    {"MML_DICT_OPTIMIZE", &dict_config::optimize},
    {"MML_DICT_MOVE_TO_FRONT", &dict_config::move_to_front},
    {"MML_DICT_GREEDY_MATCH", &dict_config::greedy_match},
    {"MML_DICT_ADAPTIVE_LITERALS", &dict_config::adaptive_literals},
    {"MML_DICT_HASH_TBL_SIZE", &dict_config::hash_tbl_size},
    {"MML_DICT_PHRASE_TBL_SIZE", &dict_config::phrase_tbl_size},
    {"MML_DICT_BUCKET_SIZE", &dict_config::bucket_size},
    {"MML_DICT_HUFF_REFRESH_FREQ", &dict_config::huff_refresh_freq},
    {"MML_DICT_MTF_REFRESH_FREQ", &dict_config::mtf_refresh_freq},
    {"MML_DICT_REFRESH_INT", &dict_config::refresh_int},
    {"MML_DICT_MAX_PHRASE_SET_SIZE", &dict_config::max_phrase_set_size},
    {"MML_DICT_MAX_PHRASE_BUF_SIZE", &dict_config::max_phrase_buf_size},
}};

constexpr dict_config kType2{1, 1, 1, 0, 10007, 200000, 64, 512, 512, 2024, 16384, 104857600};
constexpr dict_config kType3{1, 0, 0, 0, 10007, 100000, 16, 32, 0, 0, 8192, 33554432};
constexpr dict_config kType4{1, 0, 0, 1, 49999, 100000, 32, 32, 0, 0, 32768, 250000};

}  // namespace

namespace mml {

int load_dict_config(dict_config* cfg, int32_t type, IntSettingFn lookup, int* status) {
  if (cfg == nullptr) return mml::fail(status, mml::CodecStatus::kMissingArgument);
  switch (type) {
    case 2: *cfg = kType2; break;
    case 3: *cfg = kType3; break;
    case 4:
    case 11: *cfg = kType4; break;
    default: return mml::fail(status, mml::CodecStatus::kBadType);
  }
  for (const sDictKey& key : kKeys) {
    int32_t value = 0;
    int err = 0;
    if (lookup(key.name, &value, &err) != 0) {
      cfg->*key.field = value;
    } else if (err != mml::SettingStatus::kNotSet) {  // set, but not an integer
      return mml::fail(status, mml::CodecStatus::kBadSetting);
    }
  }
  return mml::succeed(status);
}

}  // namespace mml

extern "C" int dict_config_load(dict_config* cfg, int32_t type, int* status) {
  return mml::load_dict_config(cfg, type, mml_get_int_setting, status);
}
