// An index from a group's values to the record that holds them, so that a
// list-all reply finds the row it merges into without walking every row.
//
// Two records are the same group when AllowedGroupRecord::SameGroup says so:
// eight texts equal (case-sensitive) and equal strikes (so 0 and -0 are one
// group, and a strike that is NaN matches nothing, not even itself). The
// index holds at most one record per group, the one added first; it does
// not own the records, and a record must be removed before it is freed.
//
// The table is Abseil's open-addressed flat_hash_set of record pointers: 9
// bytes a slot (the pointer and a control byte), between 44% and 87% of the
// slots used, so 10 to 21 bytes a group, with no node of its own.
#pragma once

#include <absl/container/flat_hash_set.h>

#include <cstddef>

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
  size_t Size() const { return m_records.size(); }

 private:
  // Hashes and compares the group a record holds, not its address.
  struct GroupHash {
    using is_transparent = void;
    size_t operator()(const AllowedGroupRecord* record) const;
  };
  struct SameGroup {
    using is_transparent = void;
    bool operator()(const AllowedGroupRecord* a, const AllowedGroupRecord* b) const { return a->SameGroup(*b); }
  };
  absl::flat_hash_set<AllowedGroupRecord*, GroupHash, SameGroup> m_records;
};
