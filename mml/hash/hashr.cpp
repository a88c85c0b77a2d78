#include "mml/hash/hashr.h"

#include <cstring>
#include <initializer_list>

#include "mml/status.h"

namespace {

// Key bytes widened as signed 8-bit values.
inline uint32_t signed_byte(char c) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c))); }

template <class Step>
uint32_t fold(mml_data key, uint32_t seed, Step step) {
  uint32_t h = seed;
  for (int32_t i = 0; i < key.len; ++i) h = step(h, signed_byte(key.data[i]));
  return h;
}

struct sNamedHash {
  const char* name;
  hashr_fn fn;
};

// Searched in this order.
constexpr sNamedHash kSelection[] = {
    {"hashr_qov", hashr_qov},     {"hashr_phong", hashr_phong}, {"hashr_oz", hashr_oz},
    {"hashr_torek", hashr_torek}, {"hashr_kelo", hashr_kelo},   {"hashr_test", hashr_test},
};

}  // namespace

extern "C" uint32_t hashr_kelo(mml_data key, uint32_t seed, uint32_t n) {
  return fold(key, seed, [](uint32_t h, uint32_t c) { return h * 17u + c; }) % n;
}

extern "C" uint32_t hashr_torek(mml_data key, uint32_t seed, uint32_t n) {
  return fold(key, seed, [](uint32_t h, uint32_t c) { return h * 33u + c; }) % n;
}

extern "C" uint32_t hashr_oz(mml_data key, uint32_t seed, uint32_t n) {
  return fold(key, seed, [](uint32_t h, uint32_t c) { return h * 65599u + c; }) % n;
}

extern "C" uint32_t hashr_phong(mml_data key, uint32_t seed, uint32_t n) {
  return fold(key, seed, [](uint32_t h, uint32_t c) { return h * 1673936089u + c + 2621031229u; }) % n;
}

extern "C" uint32_t hashr_qov(mml_data key, uint32_t seed, uint32_t n) {
  if (key.len <= 0) return seed % n;
  return (fold(key, seed, [](uint32_t h, uint32_t c) { return (h * 37u) ^ (c - 32u); }) % 1048583u) % n;
}

extern "C" uint32_t hashr_test(mml_data key, uint32_t seed, uint32_t n) {
  uint8_t b[4] = {static_cast<uint8_t>(seed), static_cast<uint8_t>(seed >> 8), static_cast<uint8_t>(seed >> 16),
                  static_cast<uint8_t>(seed >> 24)};
  for (int32_t i = 0; i < key.len; ++i) {
    const auto c = static_cast<uint8_t>(key.data[i]);
    switch (i % 4) {
      case 0: b[0] ^= c; break;
      case 1: b[0] = c ^ b[1]; break;
      case 2: b[2] ^= c; break;
      default: b[3] ^= c; break;
    }
  }
  const uint32_t h = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return h % n;
}

extern "C" hashr_fn hashr_select(const char* name, int32_t len) {
  if (name == nullptr) return nullptr;
  // No name is empty, so a length below 1 matches none.
  for (const sNamedHash& entry : kSelection) {
    if (std::strlen(entry.name) == static_cast<size_t>(len) && std::memcmp(entry.name, name, len) == 0) return entry.fn;
  }
  return nullptr;
}

extern "C" int hashr_table_create(hashr_table** t, int32_t buckets, const char* name, int32_t name_len, uint32_t seed,
                                  int* status) {
  if (t == nullptr) return mml::fail(status, mml::HashStatus::kMissingArgument);
  if (*t != nullptr) return mml::fail(status, mml::HashStatus::kInUse);
  const hashr_fn fn = hashr_select(name, name_len);
  if (buckets < 1 || fn == nullptr) return mml::fail(status, mml::HashStatus::kBadTable);
  if (mml_env_is_ready(nullptr) == 0) return mml::fail(status, mml::HashStatus::kNoMemory);
  void* rec = nullptr;
  void* heads = nullptr;
  void* counts = nullptr;
  int32_t granted = 0;
  const int64_t words = static_cast<int64_t>(buckets) * 4;
  if (words > INT32_MAX || mml_alloc(&rec, &granted, sizeof(hashr_table), nullptr) == 0 ||
      mml_alloc(&heads, &granted, static_cast<int32_t>(words), nullptr) == 0 ||
      mml_alloc(&counts, &granted, static_cast<int32_t>(words), nullptr) == 0) {
    for (void* p : {rec, heads, counts}) {
      if (p != nullptr) mml_free(&p, nullptr);
    }
    return mml::fail(status, mml::HashStatus::kNoMemory);
  }
  auto* table = static_cast<hashr_table*>(rec);
  *table = {fn,
            name,
            name_len,
            buckets,
            seed,
            static_cast<uint32_t*>(heads),
            static_cast<uint32_t*>(counts),
            0,
            56u + 8u * static_cast<uint32_t>(buckets)};
  *t = table;
  return mml::succeed(status);
}

extern "C" uint32_t hashr_table_bucket(const hashr_table* t, mml_data key) {
  return t->fn(key, t->seed, static_cast<uint32_t>(t->buckets));
}

extern "C" int hashr_table_destroy(hashr_table** t, int* status) {
  if (t == nullptr || *t == nullptr) return mml::fail(status, mml::HashStatus::kMissingArgument);
  for (void* p : {static_cast<void*>((*t)->heads), static_cast<void*>((*t)->counts), static_cast<void*>(*t)}) {
    mml_free(&p, nullptr);
  }
  *t = nullptr;
  return mml::succeed(status);
}
