// Arbitrary bytes as received messages of both forms: parsed in place and
// copying, message after message, every field read and iterated. A copy
// must parse back to exactly what the original showed, and deleting from
// it must hide the field; any difference aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mml/mml.h"

namespace {

using Fields = std::vector<std::pair<int32_t, std::string>>;  // tag order, values by index

[[noreturn]] void mismatch(const char* what) {
  std::fprintf(stderr, "mml_message_fuzz: %s\n", what);
  std::abort();
}

// Reads every field of the current message, checking that each descriptor
// lies inside the buffer the handle reads from.
Fields walk(mnm_hndl h, const buf_rec& buffer) {
  Fields fields;
  int32_t tag = 0, count = 0;
  int err = 0;
  for (int ok = mnm_first_field(h, &tag, &count, &err); ok != 0; ok = mnm_next_field(h, &tag, &count, &err)) {
    if (count < 1) mismatch("iterated tag without values");
    for (int32_t i = 0; i < count; ++i) {
      mml_data d{};
      if (mnm_get_field(h, tag, i, &d, &err) == 0) {
        if (err != 6) mismatch("listed value unreadable");
        fields.emplace_back(tag, std::string());
        continue;
      }
      if (d.data < buffer.data || d.len < 1 || d.data + d.len > buffer.data + buffer.used) {
        mismatch("descriptor outside the buffer");
      }
      fields.emplace_back(tag, std::string(d.data, static_cast<size_t>(d.len)));
    }
  }
  if (err != 6) mismatch("iteration ended with a code other than 6");
  return fields;
}

struct Handles {
  mnm_hndl form[2] = {nullptr, nullptr};
  mnm_hndl check[2] = {nullptr, nullptr};
  buf_hndl copy = nullptr;
  Handles() {
    char* envp[] = {nullptr};
    if (mml_env_init(0, nullptr, envp, 2, 0, nullptr) == 0 || buf_open(&copy, 64, nullptr) == 0) std::abort();
    for (int i = 0; i < 2; ++i) {
      if (mnm_create(&form[i], i + 1, nullptr) == 0 || mnm_create(&check[i], i + 1, nullptr) == 0) std::abort();
    }
  }
};

void fuzz_form(mnm_hndl h, mnm_hndl check, buf_hndl in, buf_hndl copy) {
  int err = 0;
  // In place, every message in turn.
  for (int ok = mnm_parse(h, nullptr, in, &err); ok != 0; ok = mnm_parse_next(h, nullptr, &err)) walk(h, *in);
  if (err != 2 && err != 6) mismatch("parse in place failed with an unexpected code");

  // Copying, each message into the emptied copy buffer, which is then
  // parsed back in place.
  for (bool first = true;; first = false) {
    copy->used = 0;
    if ((first ? mnm_parse(h, copy, in, &err) : mnm_parse_next(h, copy, &err)) == 0) break;
    const Fields original = walk(h, *copy);
    int checkErr = 0;
    if (mnm_parse(check, nullptr, copy, &checkErr) == 0) mismatch("copy does not parse");
    if (walk(check, *copy) != original) mismatch("copy reads differently");
    if (!original.empty()) {
      const int32_t tag = original.front().first;
      if (mnm_delete_field(check, tag, 0, &checkErr) == 0) mismatch("delete failed");
      int32_t count = 0;
      const auto before =
          std::count_if(original.begin(), original.end(), [tag](const auto& f) { return f.first == tag; });
      const bool gone = mnm_get_field_count(check, tag, &count, &checkErr) == 0;
      if (gone ? (before != 1 || checkErr != 6) : count != before - 1) mismatch("delete did not hide the value");
    }
  }
  if (err != 2 && err != 6) mismatch("copying parse failed with an unexpected code");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Handles handles;
  if (size == 0 || size > (1u << 20)) return 0;
  buf_hndl in = nullptr;
  if (buf_open(&in, static_cast<int32_t>(size), nullptr) == 0) std::abort();
  std::memcpy(in->data, data, size);
  in->used = static_cast<int32_t>(size);
  for (int i = 0; i < 2; ++i) fuzz_form(handles.form[i], handles.check[i], in, handles.copy);
  buf_close(&in, nullptr);
  return 0;
}
