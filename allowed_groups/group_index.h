// An index from a group's values to the record that holds them, so that a
// list-all reply finds the row it merges into without walking every row.
//
// Two records are the same group when AllowedGroupRecord::SameGroup says so:
// eight texts equal (case-sensitive) and equal strikes (so 0 and -0 are one
// group, and a strike that is NaN matches nothing, not even itself). The
// index holds at most one record per group, the one added first; it does
// not own the records, and a record must be removed before it is freed.
#pragma once

#include <unordered_set>

#include "allowed_groups/allowed_group_record.h"

class CGroupIndex {
 public:
  // The record of the same group, or null.
  AllowedGroupRecord* Find(const AllowedGroupRecord& group) const;
  // Adds `record` unless its group is indexed already (or its strike is NaN).
  void Add(AllowedGroupRecord* record);
  // Removes `record` if it is the one indexed for its group.
  void Remove(AllowedGroupRecord* record);
  void Clear() { m_records.clear(); }
  size_t Size() const { return m_records.size(); }

 private:
  struct Hash {
    size_t operator()(const AllowedGroupRecord* record) const;
  };
  struct Same {
    bool operator()(const AllowedGroupRecord* a, const AllowedGroupRecord* b) const { return a->SameGroup(*b); }
  };
  std::unordered_set<AllowedGroupRecord*, Hash, Same> m_records;
};
