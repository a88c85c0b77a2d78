#include "allowed_groups/core/huge_page_allocator.h"

#include <absl/container/flat_hash_set.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A block of 2 MiB or more starts on a 2 MiB boundary (else the kernel can
// give it no huge page) and holds what is written to all of it; a table on
// the allocator keeps every entry as it grows from small blocks to large.
TEST(HugePageAllocator, LargeBlocksSitOnHugePageBoundariesAndTablesKeepTheirEntries) {
  HugePageAllocator<uint32_t> allocator;
  for (const size_t count : {size_t{16}, size_t{1} << 19, (size_t{3} << 20) / 4 + 5}) {
    uint32_t* block = allocator.allocate(count);
    if (count * sizeof(uint32_t) >= (size_t{2} << 20)) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % (uintptr_t{2} << 20), 0u) << count;
    }
    for (size_t i = 0; i < count; ++i) block[i] = static_cast<uint32_t>(i * 7);
    for (size_t i = 0; i < count; i += 4093) ASSERT_EQ(block[i], static_cast<uint32_t>(i * 7));
    allocator.deallocate(block, count);
  }
  absl::flat_hash_set<uint64_t, absl::Hash<uint64_t>, std::equal_to<>, HugePageAllocator<uint64_t>> set;
  for (uint64_t i = 0; i < 600000; ++i) set.insert(i * 0x9E3779B97F4A7C15u);
  ASSERT_EQ(set.size(), 600000u);
  for (uint64_t i = 0; i < 600000; i += 7) ASSERT_TRUE(set.contains(i * 0x9E3779B97F4A7C15u)) << i;
}

}  // namespace
