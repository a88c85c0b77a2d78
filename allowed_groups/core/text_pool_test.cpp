#include "allowed_groups/core/text_pool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <map>
#include <random>
#include <string>

#include "allowed_groups/core/group_text.h"

namespace {

// Against a map of what each text was given: a text interned again gets the
// same copy, different texts different ones, and every copy still holds its
// text, NUL-terminated, after the arena has moved on to many more blocks
// (texts of up to 2,000 characters fill a 1 MiB block every few hundred; one
// of 3 MiB takes a block of its own).
TEST(TextPool, GivesEachTextOneCopyThatKeepsItsText) {
  CTextPool pool;
  std::map<std::string, const char*> given;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 2000);
  std::uniform_int_distribution<int> seed(0, 3000);
  for (int i = 0; i < 20000; ++i) {
    std::string text = i == 5000 ? std::string(3 << 20, 'x') : std::string(static_cast<size_t>(length(random)), 'a');
    text += std::to_string(seed(random));  // repeats about every 3,000 texts
    const char* copy = pool.Intern(text);
    const auto [at, added] = given.emplace(text, copy);
    ASSERT_EQ(copy, at->second) << "text " << i;
  }
  EXPECT_EQ(pool.Size(), given.size());
  std::map<const char*, std::string> texts;
  for (const auto& [text, copy] : given) {
    ASSERT_EQ(std::string_view(copy, CTextArena::LengthOf(copy)), text);
    ASSERT_EQ(copy[text.size()], '\0');
    ASSERT_TRUE(texts.emplace(copy, text).second) << "two texts share a copy";
  }
}

// Texts that fill a block to its last byte take that block and no more; the
// next starts a second one, and a text longer than a block gets its own.
TEST(TextArena, FillsEachBlockToItsLastByte) {
  CTextArena arena;
  const std::string text(1024 - 5, 't');  // a 4-byte header and a NUL make 1,024
  for (int i = 0; i < 1024; ++i) arena.Copy(text, false);
  EXPECT_EQ(arena.Capacity(), size_t{1} << 20);
  const char* marked = arena.Copy("m", true);
  EXPECT_EQ(arena.Capacity(), size_t{2} << 20);
  EXPECT_TRUE(CTextArena::IsMarked(marked));
  const char* huge = arena.Copy(std::string(3 << 20, 'h'), false);
  EXPECT_EQ(arena.Capacity(), (size_t{5} << 20) + 5);
  EXPECT_FALSE(CTextArena::IsMarked(huge));
  EXPECT_EQ(CTextArena::LengthOf(huge), size_t{3} << 20);
}

// A thread whose batch has ended takes the pool's lock again for each text:
// its intern waits while another thread's batch holds the lock.
TEST(GroupText, AnInternAfterABatchWaitsForAnotherThreadsBatch) {
  std::promise<void> ended, go;
  auto interned = std::async(std::launch::async, [&] {
    { const CGroupText::Batch batch; }
    ended.set_value();
    go.get_future().wait();
    return CGroupText::Intern("after the batch");
  });
  ended.get_future().wait();
  {
    const CGroupText::Batch batch;
    go.set_value();
    EXPECT_EQ(interned.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  }
  EXPECT_STREQ(interned.get(), "after the batch");
}

}  // namespace
