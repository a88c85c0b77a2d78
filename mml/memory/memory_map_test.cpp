#include "mml/memory/memory_map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

namespace {

bool gRefuse = false;  // the heap refuses the map's buckets
void* refusable(void* block, size_t bytes) { return gRefuse ? nullptr : std::realloc(block, bytes); }

// Random allocations, frees and reallocations (in place and moved, of known
// and unknown addresses) against a map of the live blocks and counters kept
// by the recording rules; after every step the map's counters and the
// blocks its buckets hold agree with them. Three buckets hold at most two
// entries while 6 addresses are in use, so buckets empty and fill again,
// then many once 60 are, so entries leave from the middle of a bucket.
// One step in eight the heap refuses to resize a bucket: a record that
// needs a new entry then fails, and only a moved block's old entry goes.
TEST(MemoryMapTest, CountsAndHoldsWhatAModelOfTheLiveBlocksSays) {
  const auto map = mml::CMemoryMap::Create(3, refusable);
  ASSERT_NE(map, nullptr);
  std::map<uintptr_t, int32_t> live;
  mml_mem_counters want{};
  want.overhead_bytes = 8 * 3 + 80;
  std::mt19937 random(11);
  int spread = 6;
  const auto address = [&] { return uintptr_t{8} * (random() % spread + 1); };
  const auto enter = [&](uintptr_t at, int32_t size) {
    live[at] = size;
    want.bytes_allocated += static_cast<uint64_t>(size);
    want.overhead_bytes += 8;
  };
  const auto leave = [&](std::map<uintptr_t, int32_t>::iterator entry) {
    want.bytes_freed += static_cast<uint64_t>(entry->second);
    want.overhead_bytes -= 8;
    live.erase(entry);
  };
  for (int step = 0; step < 20000; ++step) {
    spread = step < 10000 ? 6 : 60;
    const uintptr_t from = address();
    const auto size = static_cast<int32_t>(random() % 1000 + 1);
    const auto held = live.find(from);
    const unsigned action = random() % 3;
    gRefuse = random() % 8 == 0;
    if (action == 0 && held == live.end()) {
      ASSERT_NE(map->RecordAlloc(from, size), gRefuse);
      if (gRefuse) continue;
      ++want.allocs;
      enter(from, size);
    } else if (action == 1) {
      ASSERT_TRUE(map->RecordFree(from));
      held == live.end() ? ++want.unknown_frees : ++want.frees;
      if (held != live.end()) leave(held);
    } else if (action == 2) {
      const uintptr_t to = random() % 2 == 0 ? from : address();
      if (to != from && live.contains(to)) continue;  // the heap gives out a live address to no one
      const bool kept = to == from && held != live.end();
      ASSERT_EQ(map->RecordRealloc(from, to, size), kept || !gRefuse) << "step " << step;
      if (!kept && held != live.end()) leave(held);
      if (!kept && gRefuse) continue;
      ++want.reallocs;
      if (kept) {
        want.bytes_allocated += static_cast<uint64_t>(int64_t{size} - held->second);
        held->second = size;
      } else {
        want.unknown_reallocs += to == from ? 1 : 0;
        enter(to, size);
      }
    }
    const mml_mem_counters& got = map->Counters();
    ASSERT_EQ(map->Blocks(), live.size()) << "step " << step;
    ASSERT_EQ(std::tie(got.allocs, got.frees, got.reallocs, got.bytes_allocated, got.bytes_freed, got.unknown_frees,
                       got.unknown_reallocs, got.overhead_bytes),
              std::tie(want.allocs, want.frees, want.reallocs, want.bytes_allocated, want.bytes_freed,
                       want.unknown_frees, want.unknown_reallocs, want.overhead_bytes))
        << "step " << step;
  }
}

}  // namespace
