#include "terminal/app/store_file.h"

#include <gtest/gtest.h>

namespace terminal {
namespace {

// The file behind each form --db takes, so that nothing else the run
// writes can take its place.
TEST(StoreFile, PathsAndUrisNameTheirFileAndAStoreInMemoryHasNone) {
  EXPECT_EQ(StoreFile("server.db"), "server.db");
  EXPECT_EQ(StoreFile("file:server.db?mode=ro"), "server.db");
  EXPECT_EQ(StoreFile("file:///var/tmp/a%20b.db#x"), "/var/tmp/a b.db");
  EXPECT_EQ(StoreFile("file://localhost/var/tmp/x.db"), "/var/tmp/x.db");
  EXPECT_EQ(StoreFile("file:odd%z4%4F.db%0a%4"), "odd%z4O.db\n%4") << "an escape not of two hex digits is kept as typed";
  for (const char* memory : {"", ":memory:", "file::memory:", "file:x.db?mode=memory&cache=shared", "file:?a=b"}) {
    EXPECT_EQ(StoreFile(memory), std::nullopt) << memory;
  }
}

}  // namespace
}  // namespace terminal
