// An index from a group's values to the record that holds them, so that a
// list-all reply finds the row it merges into without walking every row.
//
// Two records are the same group when AllowedGroupRecord::SameGroup says so:
// eight texts equal (case-sensitive) and equal strikes (so 0 and -0 are one
// group, and a strike that is NaN matches nothing, not even itself). The
// index holds at most one record per group, the one added first; it holds
// records of one slab (group_slab.h) by their places' numbers and owns none,
// and a record must be removed before it is released.
//
// The table is Abseil's open-addressed flat_hash_set of 4-byte numbers: 5
// bytes a slot with its control byte, between 44% and 87% of the slots
// used, so 6 to 12 bytes a group, with no node of its own.
#pragma once

#include <absl/container/flat_hash_set.h>

#include <cstddef>
#include <cstdint>
#include <utility>

#include "allowed_groups/core/allowed_group_record.h"
#include "allowed_groups/group_slab.h"

class CGroupIndex {
 public:
  // REQUIRES: the slab outlives the index.
  explicit CGroupIndex(const CGroupSlab& slab) : m_numbers(0, GroupHash{&slab}, SameGroup{&slab}), m_slab(slab) {}

  // The record of the same group, or null.
  AllowedGroupRecord* Find(const AllowedGroupRecord& group) const;
  // The record of the same group, found; else the place take() gives,
  // added (first == the new record, second true). The group is hashed once
  // either way. A NaN strike is never found nor added: take() then gives
  // a record that stays out of the index.
  template <typename Take>
  std::pair<AllowedGroupRecord*, bool> FindOrAdd(const AllowedGroupRecord& group, Take&& take);
  // Adds the record at `place` unless its group is indexed already (or its
  // strike is NaN).
  void Add(CGroupSlab::Place place);
  // Removes `record` if it is the one indexed for its group.
  void Remove(const AllowedGroupRecord* record);
  void Clear();
  size_t Size() const { return m_numbers.size(); }

 private:
  // Hash and compare the group a record holds, stored by its number or
  // looked up by itself.
  struct GroupHash {
    using is_transparent = void;
    const CGroupSlab* slab;
    size_t operator()(const AllowedGroupRecord& record) const;
    size_t operator()(uint32_t number) const { return (*this)((*slab)[number]); }
  };
  struct SameGroup {
    using is_transparent = void;
    const CGroupSlab* slab;
    bool operator()(uint32_t a, uint32_t b) const { return a == b || (*slab)[a].SameGroup((*slab)[b]); }
    bool operator()(uint32_t a, const AllowedGroupRecord& b) const { return (*slab)[a].SameGroup(b); }
    bool operator()(const AllowedGroupRecord& a, uint32_t b) const { return a.SameGroup((*slab)[b]); }
  };
  absl::flat_hash_set<uint32_t, GroupHash, SameGroup> m_numbers;
  const CGroupSlab& m_slab;
};

template <typename Take>
std::pair<AllowedGroupRecord*, bool> CGroupIndex::FindOrAdd(const AllowedGroupRecord& group, Take&& take) {
  if (group.dStrike != group.dStrike) return {take().record, true};  // NaN
  AllowedGroupRecord* added = nullptr;
  const uint32_t number = *m_numbers.lazy_emplace(group, [&](const auto& construct) {
    const CGroupSlab::Place place = take();
    added = place.record;
    construct(place.number);
  });
  return added != nullptr ? std::pair{added, true} : std::pair{&m_slab[number], false};
}
