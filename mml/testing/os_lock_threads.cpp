// The recursive lock and the accounted memory under real threads. Built as
// its own executable so that the thread sanitizer build runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "mml/mml.h"

namespace {

class LockThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(os_lock_create(&m_lock, OS_LOCK_RECURSIVE, nullptr), 0); }
  void TearDown() override { EXPECT_NE(os_lock_destroy(&m_lock, nullptr), 0); }
  os_lock_rec* m_lock = nullptr;
};

TEST_F(LockThreadsTest, ReleaseByAnotherThreadIsRefusedAndChangesNothing) {
  ASSERT_NE(os_lock(m_lock, nullptr), 0);
  int err = -1;
  std::thread([&] { os_unlock(m_lock, &err); }).join();
  EXPECT_EQ(err, 5);
  ASSERT_NE(os_unlock(m_lock, &err), 0) << "still held once by its owner";
  std::thread([&] { os_unlock(m_lock, &err); }).join();
  EXPECT_EQ(err, 7);
}

TEST_F(LockThreadsTest, NestedHoldingExcludesOtherThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  long counter = 0;  // plain on purpose: the sanitizer reports any unguarded access
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        os_lock(m_lock, nullptr);
        os_lock(m_lock, nullptr);
        const long seen = counter;
        counter = seen + 1;
        os_unlock(m_lock, nullptr);
        os_unlock(m_lock, nullptr);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(counter, kThreads * kRounds);
}

TEST(MemoryThreadsTest, MapCountsAllocationsFromEveryThread) {
  setenv("MML_BUILD_MEMORY_MAP", "yes", 1);
  setenv("MML_MEMORY_MAP_SIZE", "101", 1);
  char* envp[] = {nullptr};
  ASSERT_NE(mml_env_init(0, nullptr, envp, 2, 0, nullptr), 0);
  mml_mem_counters before{}, after{};
  ASSERT_NE(mml_get_mem_counters(&before, nullptr), 0);
  constexpr int kThreads = 4;
  constexpr int kBlocks = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < kBlocks; ++i) {
        void* p = nullptr;
        int32_t granted = 0;
        mml_alloc(&p, &granted, 16 + i, nullptr);
        mml_realloc(&p, &granted, 32 + i, nullptr);
        mml_free(&p, nullptr);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  ASSERT_NE(mml_get_mem_counters(&after, nullptr), 0);
  EXPECT_EQ(after.allocs - before.allocs, static_cast<uint64_t>(kThreads * kBlocks));
  EXPECT_EQ(after.frees - before.frees, static_cast<uint64_t>(kThreads * kBlocks));
  EXPECT_EQ(after.reallocs - before.reallocs, static_cast<uint64_t>(kThreads * kBlocks));
  EXPECT_EQ(after.overhead_bytes, before.overhead_bytes);
  EXPECT_EQ(after.unknown_frees, before.unknown_frees);
}

}  // namespace
