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
// used, so 6 to 12 bytes a group, with no node of its own. Each indexed
// place's hash is kept beside, 4 bytes a place in chunks: growing the table
// rehashes from those rather than from records scattered over the slab.
#pragma once

#include <absl/container/flat_hash_set.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "allowed_groups/core/allowed_group_record.h"
#include "allowed_groups/core/huge_page_allocator.h"
#include "allowed_groups/group_slab.h"

class CGroupIndex {
 public:
  // REQUIRES: the slab outlives the index.
  explicit CGroupIndex(const CGroupSlab& slab)
      : m_numbers(0, GroupHash{&m_hashes}, SameGroup{&slab}), m_slab(slab) {}
  CGroupIndex(const CGroupIndex&) = delete;  // the table's functors point into it
  CGroupIndex& operator=(const CGroupIndex&) = delete;

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
  // The 32-bit hash of the group a record holds; a table's hash is that
  // spread over 64 bits (an odd multiplier), the same from either side.
  static uint32_t HashOf(const AllowedGroupRecord& record);
  static size_t Spread(uint32_t hash) { return size_t{hash} * 0x9E3779B97F4A7C15u; }

  // The hashes of the places, by number.
  class Hashes {
   public:
    uint32_t operator[](uint32_t number) const { return m_chunks[number / kChunk][number % kChunk]; }
    void Set(uint32_t number, uint32_t hash);
    void Clear() { m_chunks.clear(); }

   private:
    static constexpr size_t kChunk = 4096;
    std::vector<std::unique_ptr<uint32_t[]>> m_chunks;
  };

  // A group looked up with its hash, computed once.
  struct Probe {
    const AllowedGroupRecord& group;
    uint32_t hash;
  };
  struct GroupHash {
    using is_transparent = void;
    const Hashes* hashes;
    size_t operator()(const Probe& probe) const { return Spread(probe.hash); }
    size_t operator()(uint32_t number) const { return Spread((*hashes)[number]); }
  };
  struct SameGroup {
    using is_transparent = void;
    const CGroupSlab* slab;
    // The table's type asks for this one; lookups and additions go by a Probe.
    bool operator()(uint32_t a, uint32_t b) const { return (*slab)[a].SameGroup((*slab)[b]); }
    bool operator()(uint32_t a, const Probe& b) const { return (*slab)[a].SameGroup(b.group); }
    bool operator()(const Probe& a, uint32_t b) const { return a.group.SameGroup((*slab)[b]); }
  };
  Hashes m_hashes;
  absl::flat_hash_set<uint32_t, GroupHash, SameGroup, HugePageAllocator<uint32_t>> m_numbers;
  const CGroupSlab& m_slab;
};

template <typename Take>
std::pair<AllowedGroupRecord*, bool> CGroupIndex::FindOrAdd(const AllowedGroupRecord& group, Take&& take) {
  if (group.dStrike != group.dStrike) return {take().record, true};  // NaN
  const Probe probe{group, HashOf(group)};
  AllowedGroupRecord* added = nullptr;
  const uint32_t number = *m_numbers.lazy_emplace(probe, [&](const auto& construct) {
    const CGroupSlab::Place place = take();
    added = place.record;
    m_hashes.Set(place.number, probe.hash);
    construct(place.number);
  });
  return added != nullptr ? std::pair{added, true} : std::pair{&m_slab[number], false};
}
