#include "allowed_groups/group_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The index keeps the first record of a group: a second record of it (here
// with the strike -0, equal to 0) finds the first, and removing the second
// leaves the first indexed; a NaN strike is never indexed nor found.
TEST(GroupIndex, KeepsTheFirstRecordOfAGroupUntilThatOneIsRemoved) {
  std::vector<AllowedGroupRecord> records(300);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].strSymbol = "NIFTY";
    records[i].dStrike = i < 200 ? 100.0 * static_cast<double>(i % 100) : NAN;
  }
  records[100].dStrike = -0.0;
  CGroupIndex index;
  for (AllowedGroupRecord& record : records) index.Add(&record);
  ASSERT_EQ(index.Size(), 100u);
  for (size_t i = 100; i < 200; ++i) index.Remove(&records[i]);
  for (size_t i = 0; i < 300; ++i) {
    ASSERT_EQ(index.Find(records[i]), i < 200 ? &records[i % 100] : nullptr) << "record " << i;
  }
  for (size_t i = 0; i < 100; i += 2) index.Remove(&records[i]);
  for (size_t i = 0; i < 200; ++i) {
    ASSERT_EQ(index.Find(records[i]), (i % 100) % 2 == 0 ? nullptr : &records[i % 100]) << "record " << i;
  }
}

}  // namespace
