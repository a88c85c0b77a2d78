// Typed lookups of captured MML_ settings.
#include <cstring>

#include "mml/environment/environment.h"
#include "mml/environment/number_parse.h"
#include "mml/status.h"

namespace {

// The raw value, with lookup's "not set" turned into the typed
// lookups' own, and anything else into a plain failure.
int typed_lookup(const char* name, mml_data* value, int* err) {
  if (name == nullptr) return mml::fail(err, mml::SettingStatus::kFailed);
  int code = 0;
  if (mml::env_lookup(mml::process_state(), name, value, &code) != 0) return mml::succeed(err);
  return mml::fail(err, code == mml::EnvStatus::kAbsent ? mml::SettingStatus::kNotSet : mml::SettingStatus::kFailed);
}

std::string_view view(const mml_data& d) { return {d.data, static_cast<size_t>(d.len)}; }

}  // namespace

extern "C" int mml_get_setting(mml_data* out, const char* name, int* err) {
  if (name == nullptr || out == nullptr) return mml::fail(err, mml::EnvStatus::kBadValue);
  return mml::env_lookup(mml::process_state(), name, out, err);
}

extern "C" int mml_get_int_setting(const char* name, int32_t* out, int* err) {
  mml_data value{};
  if (out == nullptr) return mml::fail(err, mml::SettingStatus::kFailed);
  if (typed_lookup(name, &value, err) == 0) return 0;
  return mml_parse_int(out, &value, err);
}

extern "C" int mml_get_bool_setting(const char* name, int32_t* out, int* err) {
  mml_data value{};
  if (out == nullptr) return mml::fail(err, mml::SettingStatus::kFailed);
  if (typed_lookup(name, &value, err) == 0) return 0;
  if (view(value) == "yes") {
    *out = 1;
  } else if (view(value) == "no") {
    *out = 0;
  } else {
    return mml::fail(err, mml::SettingStatus::kBadValue);
  }
  return mml::succeed(err);
}

extern "C" int mml_get_real_setting(const char* name, double* out, int* err) {
  mml_data value{};
  if (out == nullptr) return mml::fail(err, mml::SettingStatus::kFailed);
  if (typed_lookup(name, &value, err) == 0) return 0;
  if (!mml::parse_real(view(value), out)) return mml::fail(err, mml::SettingStatus::kBadValue);
  return mml::succeed(err);
}
