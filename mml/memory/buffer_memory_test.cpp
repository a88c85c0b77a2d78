#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstring>

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
  EXPECT_EQ(code(buf_close(&b, &err), err), 3);
  EXPECT_EQ(code(buf_clear(nullptr, &err), err), 3);
  EXPECT_EQ(code(buf_open(&b, 0, &err), err), 2);
  EXPECT_EQ(b, nullptr);
}

TEST(AccountedMemoryTest, ZeroFilledExactBlocksAndBadArguments) {
  void* p = nullptr;
  int32_t granted = 0;
  int err = -1;
  ASSERT_NE(mml_alloc(&p, &granted, 10, &err), 0);
  EXPECT_EQ(granted, 10);
  std::memset(p, 'x', 10);
  ASSERT_NE(mml_realloc(&p, &granted, 5000, &err), 0);
  EXPECT_EQ(granted, 5000);
  const char* bytes = static_cast<const char*>(p);
  EXPECT_EQ(std::count(bytes, bytes + 10, 'x'), 10);
  EXPECT_TRUE(std::all_of(bytes + 10, bytes + 5000, [](char c) { return c == 0; })) << "growth is zero-filled";
  EXPECT_EQ(code(mml_realloc(&p, &granted, 0, &err), err), 5);
  ASSERT_NE(mml_realloc(&p, &granted, 1, &err), 0) << "down to the smallest block";
  EXPECT_EQ(granted, 1);
  EXPECT_EQ(*static_cast<const char*>(p), 'x');
  ASSERT_NE(mml_free(&p, &err), 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(code(mml_free(&p, &err), err), 5);
  EXPECT_EQ(code(mml_realloc(&p, &granted, 4, &err), err), 5);
  EXPECT_EQ(code(mml_alloc(&p, &granted, 0, &err), err), 5);
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

TEST(AccountedMemoryTest, ProcessMapCountsEveryOperation) {
  // This executable starts the middleware with the memory map on.
  mml_mem_counters before{}, after{};
  int err = -1;
  ASSERT_NE(mml_get_mem_counters(&before, &err), 0);
  void* p = nullptr;
  int32_t granted = 0;
  ASSERT_NE(mml_alloc(&p, &granted, 100, &err), 0);
  const void* first = p;
  ASSERT_NE(mml_realloc(&p, &granted, 300, &err), 0);
  const bool moved = p != first;
  ASSERT_NE(mml_free(&p, &err), 0);
  ASSERT_NE(mml_get_mem_counters(&after, &err), 0);
  EXPECT_EQ(after.allocs - before.allocs, 1u);
  EXPECT_EQ(after.reallocs - before.reallocs, 1u);
  EXPECT_EQ(after.frees - before.frees, 1u);
  // Moved: the old entry is freed (100) and a new one allocated (300);
  // in place the entry's size changes by 200.
  EXPECT_EQ(after.bytes_allocated - before.bytes_allocated, moved ? 400u : 300u);
  EXPECT_EQ(after.bytes_freed - before.bytes_freed, moved ? 400u : 300u);
  EXPECT_EQ(after.unknown_frees + after.unknown_reallocs, before.unknown_frees + before.unknown_reallocs);
  EXPECT_EQ(after.overhead_bytes, before.overhead_bytes);
  EXPECT_EQ(code(mml_get_mem_counters(nullptr, &err), err), 2);
}

}  // namespace
