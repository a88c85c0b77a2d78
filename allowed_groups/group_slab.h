// Storage for the records of the "View Allowed Group" rows: records sit in
// chunks of 4096, so a million of them take 245 heap blocks rather than a
// million, and a record's address never changes while it is held (the list's
// rows point at them). Each place has a number, for the index to hold in 4
// bytes rather than a pointer's 8. A released record's place is reused by
// the next one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "allowed_groups/core/allowed_group_record.h"

class CGroupSlab {
 public:
  struct Place {
    AllowedGroupRecord* record;
    uint32_t number;
  };
  // A place holding `record`.
  Place Take(AllowedGroupRecord&& record);
  // Gives the place back; `record` must have come from Take and not be
  // released yet.
  void Release(AllowedGroupRecord* record);
  // Releases every record and frees the chunks.
  void Clear();
  size_t Size() const { return m_used - m_free.size(); }

  // The record at a place Take gave.
  AllowedGroupRecord& operator[](uint32_t number) const { return m_chunks[number / kChunk][number % kChunk]; }

 private:
  static constexpr size_t kChunk = 4096;
  // The number of a record's place: a walk of the chunks, for releases only.
  uint32_t NumberOf(const AllowedGroupRecord* record) const;

  std::vector<std::unique_ptr<AllowedGroupRecord[]>> m_chunks;
  size_t m_used = 0;             // places handed out from the chunks, released ones included
  std::vector<uint32_t> m_free;  // released places, reused first
};
