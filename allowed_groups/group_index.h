// An index from a group's values to the record that holds them, so that a
// list-all reply finds the row it merges into without walking every row.
//
// Two records are the same group when AllowedGroupRecord::SameGroup says so:
// eight texts equal (case-sensitive) and equal strikes (so 0 and -0 are one
// group, and a strike that is NaN matches nothing, not even itself). The
// index holds at most one record per group, the one added first; it does
// not own the records, and a record must be removed before it is freed.
//
// The table is open-addressed with linear probing: one pointer a slot,
// between 35% and 70% of the slots used (11 to 23 bytes a group; a million
// groups take 2^21 slots, 16 MB) rather than a node and a bucket each. Removal shifts the following entries of a
// probe run back, leaving no tombstones.
#pragma once

#include <cstddef>
#include <vector>

#include "allowed_groups/core/allowed_group_record.h"

class CGroupIndex {
 public:
  // The record of the same group, or null.
  AllowedGroupRecord* Find(const AllowedGroupRecord& group) const;
  // Adds `record` unless its group is indexed already (or its strike is NaN).
  void Add(AllowedGroupRecord* record);
  // Removes `record` if it is the one indexed for its group.
  void Remove(AllowedGroupRecord* record);
  void Clear();
  size_t Size() const { return m_count; }

 private:
  static size_t Hash(const AllowedGroupRecord& record);
  // The slot holding the group of `record`, or the empty slot where it would go.
  size_t Probe(const AllowedGroupRecord& record) const;
  void Grow();

  std::vector<AllowedGroupRecord*> m_slots;  // a power of two in size, or empty
  size_t m_count = 0;
};
