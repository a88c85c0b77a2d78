#include "allowed_groups/group_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The index keeps the first record of a group: a second record of it (here
// one with the strike -0, equal to 0) finds the first, and removing the
// second leaves the first indexed; a NaN strike is never indexed nor found.
TEST(GroupIndex, KeepsTheFirstRecordOfAGroupUntilThatOneIsRemoved) {
  CGroupSlab slab;
  CGroupIndex index(slab);
  std::vector<AllowedGroupRecord*> records;
  for (int i = 0; i < 300; ++i) {
    AllowedGroupRecord record;
    record.strSymbol = "NIFTY";
    record.dStrike = i == 100 ? -0.0 : i < 200 ? 100.0 * (i % 100) : NAN;
    if (i < 100) {
      const CGroupSlab::Place place = slab.Take(std::move(record));
      index.Add(place);
      records.push_back(place.record);
    } else {
      const auto [row, added] = index.FindOrAdd(record, [&] { return slab.Take(AllowedGroupRecord(record)); });
      ASSERT_EQ(added, i >= 200) << "record " << i;
      records.push_back(added ? row : slab.Take(std::move(record)).record);
    }
  }
  ASSERT_EQ(index.Size(), 100u);
  for (int i = 100; i < 200; ++i) index.Remove(records[i]);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(index.Find(*records[i]), i < 200 ? records[i % 100] : nullptr) << "record " << i;
  }
  for (int i = 0; i < 100; i += 2) index.Remove(records[i]);
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(index.Find(*records[i]), (i % 100) % 2 == 0 ? nullptr : records[i % 100]) << "record " << i;
  }
  // The slab takes places released in any of its chunks again, the last released first.
  while (records.size() < 3 * 4096) records.push_back(slab.Take(AllowedGroupRecord{}).record);
  for (const int i : {4, 4096 + 7, 2 * 4096 + 9}) slab.Release(records[i]);
  for (const int i : {2 * 4096 + 9, 4096 + 7, 4}) EXPECT_EQ(slab.Take(AllowedGroupRecord{}).record, records[i]) << i;
}

}  // namespace
