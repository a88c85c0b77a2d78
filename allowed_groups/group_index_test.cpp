#include "allowed_groups/group_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 700 groups fill the first table (1,024 slots) to 68%: probe runs are long
// and many entries sit past their home slot, so each removal has entries to
// shift back into the hole it leaves, including ones whose home is the hole.
TEST(GroupIndex, RemovalsLeaveEveryOtherGroupFindableAndTheRemovedOnesGone) {
  std::vector<AllowedGroupRecord> records(700);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].strSymbol = "NIFTY";
    records[i].dStrike = 100.0 * static_cast<double>(i + 1);
  }
  CGroupIndex index;
  for (AllowedGroupRecord& record : records) index.Add(&record);
  ASSERT_EQ(index.Size(), records.size());

  for (size_t removed = 0; removed < records.size(); removed += 2) {
    index.Remove(&records[removed]);
    for (size_t i = 0; i < records.size(); ++i) {
      const bool gone = i % 2 == 0 && i <= removed;
      ASSERT_EQ(index.Find(records[i]), gone ? nullptr : &records[i]) << "group " << i << " after removing " << removed;
    }
  }
  EXPECT_EQ(index.Size(), records.size() / 2);
}

}  // namespace
