// The number code: a number 0..262143 as one of 36 bucket symbols followed
// by extra bits, most significant first.
//
//   bucket   0..3   | 4, 5 | 6, 7  | 2k, 2k+1 (k = 2..17)
//   base     0..3   | 4, 6 | 8, 12 | 2^k, 3 x 2^(k-1)
//   extra    0      | 1    | 2     | k - 1
//
// Bucket 35 starts at 196608 with 16 extra bits.
#pragma once

#include <array>
#include <cstdint>

namespace mml {

constexpr int kNumberBuckets = 36;
constexpr uint32_t kLargestNumber = 262143;

struct sNumberBucket {
  uint32_t nBase;
  int nExtraBits;
};

constexpr sNumberBucket number_bucket_info(int bucket) {
  if (bucket < 4) return {static_cast<uint32_t>(bucket), 0};
  const int k = bucket / 2;
  return {(bucket % 2 == 0) ? (1u << k) : (3u << (k - 1)), k - 1};
}

// number_bucket_info of every bucket, for decoding.
constexpr auto kNumberBucketInfo = [] {
  std::array<sNumberBucket, kNumberBuckets> t{};
  for (int b = 0; b < kNumberBuckets; ++b) t[static_cast<size_t>(b)] = number_bucket_info(b);
  return t;
}();

// REQUIRES: n <= kLargestNumber.
constexpr int number_bucket(uint32_t n) {
  if (n < 4) return static_cast<int>(n);
  const int k = 31 - __builtin_clz(n);
  return 2 * k + (n >= (3u << (k - 1)) ? 1 : 0);
}

}  // namespace mml
