#include "platform/base/handle_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "platform/base/wintypes.h"

namespace {

using platform::HandleTable;

TEST(HandleTable, HandlesAreNeverReusedAndTablesDoNotCollide) {
  HandleTable<HANDLE, std::string> table(0xD0AB);
  std::set<HANDLE> seen;
  for (int i = 0; i < 50; ++i) {
    const HANDLE h = table.Add(std::to_string(i));
    ASSERT_TRUE(seen.insert(h).second) << "handle " << i << " repeats an earlier one";
    if (i % 2 == 0) {
      EXPECT_TRUE(table.Erase(h));
    }
  }
  EXPECT_EQ(table.size(), 25u);
  const HANDLE first = *seen.begin();
  EXPECT_EQ(table.Find(first), nullptr);
  EXPECT_FALSE(table.Erase(first)) << "erased twice";
  const HANDLE last = *seen.rbegin();
  ASSERT_NE(table.Find(last), nullptr);
  EXPECT_EQ(*table.Find(last), "49");

  // Tables of other tags and handles the caller gives do not collide.
  HandleTable<HDC, int> dcs(0xD0C0);
  HandleTable<HANDLE, int> blocks(0xD0C1);
  const HDC dc = dcs.Add(1);
  const HANDLE moveable = blocks.Add(2);
  EXPECT_EQ(blocks.Find(dc), nullptr);
  EXPECT_EQ(dcs.Find(static_cast<HDC>(moveable)), nullptr);

  // A fixed block is kept under its own address, which lies below made-up handles.
  const auto bytes = std::make_unique<int>(0);
  blocks.Insert(bytes.get(), 3);
  ASSERT_NE(blocks.Find(bytes.get()), nullptr);
  EXPECT_EQ(*blocks.Find(bytes.get()), 3);
  EXPECT_LT(reinterpret_cast<uintptr_t>(bytes.get()), reinterpret_cast<uintptr_t>(moveable));
  EXPECT_EQ(blocks.size(), 2u);
}

}  // namespace
