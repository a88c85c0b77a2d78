#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mml/memory/memory_accounting.h"
#include "mml/memory/owned_bytes.h"
#include "mml/mml.h"

namespace {

int code(int result, const int& err) { return result != 0 ? 0 : err; }  // err read after the call

TEST(BufferTest, OpenReserveClearClose) {
  buf_hndl b = nullptr;
  int err = -1;
  ASSERT_NE(buf_open(&b, 4096, &err), 0);
  EXPECT_EQ(b->used, 0);
  EXPECT_EQ(b->capacity, 4096);
  EXPECT_TRUE(std::all_of(b->data, b->data + 4096, [](char c) { return c == 0; }));

  buf_hndl held = b;
  EXPECT_EQ(code(buf_open(&b, 10, &err), err), 4);
  EXPECT_EQ(b, held);
  EXPECT_EQ(b->capacity, 4096);

  std::memset(b->data, 'q', 4096);
  b->used = 4096;
  ASSERT_NE(buf_reserve(b, 100, &err), 0);
  EXPECT_EQ(b->requested, 100);
  EXPECT_EQ(b->capacity, 4096);
  ASSERT_NE(buf_reserve(b, 4101, &err), 0);
  EXPECT_EQ(b->capacity, 4101);
  EXPECT_EQ(b->requested, 4101);
  EXPECT_EQ(b->used, 4096);
  EXPECT_TRUE(std::all_of(b->data, b->data + 4096, [](char c) { return c == 'q'; }));
  EXPECT_EQ(code(buf_reserve(b, 0, &err), err), 2);
  EXPECT_EQ(code(buf_reserve(nullptr, 5, &err), err), 3);

  mml_mem_counters before{}, after{};
  ASSERT_NE(mml_get_mem_counters(&before, &err), 0);
  ASSERT_NE(buf_clear(b, &err), 0);
  ASSERT_NE(mml_get_mem_counters(&after, &err), 0);
  EXPECT_EQ(after.bytes_freed - before.bytes_freed, 4101u) << "clearing gives the block back";
  EXPECT_EQ(b->data, nullptr);
  EXPECT_EQ(b->capacity + b->used + b->requested, 0);
  ASSERT_NE(buf_reserve(b, 8, &err), 0) << "a cleared buffer allocates afresh";
  EXPECT_EQ(b->capacity, 8);
  ASSERT_NE(buf_close(&b, &err), 0);
  EXPECT_EQ(b, nullptr);
  for (buf_hndl* none : {&b, static_cast<buf_hndl*>(nullptr)}) EXPECT_EQ(code(buf_close(none, &err), err), 3);
  EXPECT_EQ(code(buf_clear(nullptr, &err), err), 3);
  EXPECT_EQ(code(buf_open(&b, 0, &err), err), 2);
  EXPECT_EQ(b, nullptr);
}

bool gRefuse = false;  // the heap refuses a memory map's buckets
void* refusable(void* block, size_t bytes) { return gRefuse ? nullptr : std::realloc(block, bytes); }

// This executable starts the middleware with the memory map on: each call is
// recorded once, a refused one not at all. A block that moves frees its old
// entry and takes a new one; one resized in place changes by the difference.
// Under a map that cannot grow nothing is recorded: an allocation is refused
// and holds nothing; a block the heap moved is the buffer's all the same.
TEST(AccountedMemoryTest, ZeroFilledExactBlocksRecordedOnceAndBadArgumentsRefused) {
  void* p = nullptr;
  int32_t granted = 0;
  int err = -1;
  mml_mem_counters before{}, after{};
  ASSERT_NE(mml_get_mem_counters(&before, &err), 0);
  ASSERT_NE(mml_alloc(&p, &granted, 10, &err), 0);
  EXPECT_EQ(granted, 10);
  std::memset(p, 'x', 10);
  const void* small = p;
  ASSERT_NE(mml_realloc(&p, &granted, 5000, &err), 0);
  EXPECT_EQ(granted, 5000);
  const char* bytes = static_cast<const char*>(p);
  EXPECT_EQ(std::count(bytes, bytes + 10, 'x'), 10);
  EXPECT_TRUE(std::all_of(bytes + 10, bytes + 5000, [](char c) { return c == 0; })) << "growth is zero-filled";
  EXPECT_EQ(code(mml_realloc(&p, &granted, 0, &err), err), 5);
  const void* large = p;
  ASSERT_NE(mml_realloc(&p, &granted, 1, &err), 0) << "down to the smallest block";
  EXPECT_EQ(granted, 1);
  EXPECT_EQ(*static_cast<const char*>(p), 'x');
  const uint64_t moved = (large != small ? 10u : 0u) + (p != large ? 5000u : 0u);
  ASSERT_NE(mml_free(&p, &err), 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(code(mml_free(&p, &err), err), 5);
  EXPECT_EQ(code(mml_realloc(&p, &granted, 4, &err), err), 5);
  EXPECT_EQ(code(mml_alloc(&p, &granted, 0, &err), err), 5);
  ASSERT_NE(mml_get_mem_counters(&after, &err), 0);
  EXPECT_EQ(std::vector<uint64_t>({after.allocs - before.allocs, after.reallocs - before.reallocs,
                                   after.frees - before.frees, after.bytes_allocated - before.bytes_allocated,
                                   after.bytes_freed - before.bytes_freed, after.unknown_frees - before.unknown_frees,
                                   after.unknown_reallocs - before.unknown_reallocs,
                                   after.overhead_bytes - before.overhead_bytes}),
            std::vector<uint64_t>({1, 2, 1, 1 + moved, 1 + moved, 0, 0, 0}));
  EXPECT_EQ(code(mml_get_mem_counters(nullptr, &err), err), 2);

  std::unique_ptr<mml::CMemoryMap> full = mml::CMemoryMap::Create(1, refusable);
  mml::memory_accounting().pMap.swap(full);  // this test runs alone
  buf_hndl b = nullptr;
  ASSERT_NE(buf_open(&b, 64, &err), 0);
  std::memset(b->data, 'y', 64);
  gRefuse = true;
  EXPECT_EQ(code(mml_alloc(&p, &granted, 8, &err), err) + code(buf_reserve(b, 1 << 20, &err), err), 2);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(b->capacity, 1 << 20);
  EXPECT_EQ(std::count(b->data, b->data + 64, 'y'), 64);
  gRefuse = false;
  mml::memory_accounting().pMap.swap(full);
  EXPECT_NE(buf_close(&b, &err), 0);
}

TEST(AccountedMemoryTest, OwnedBytesReplaceTheirTextAndRefuseOneNoBlockCanHold) {
  mml::COwnedBytes owned;
  ASSERT_TRUE(owned.Assign("first"));
  ASSERT_TRUE(owned.Assign("second text"));
  EXPECT_EQ(owned.View(), "second text");
  // Reserved, never touched: only the length is looked at before the refusal.
  const size_t huge = size_t{INT32_MAX} + 1;
  void* pages = mmap(nullptr, huge, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(pages, MAP_FAILED);
  EXPECT_FALSE(owned.Assign({static_cast<const char*>(pages), huge}));
  EXPECT_TRUE(owned.View().empty()) << "the old text is released, not kept as if replaced";
  munmap(pages, huge);
}

}  // namespace
