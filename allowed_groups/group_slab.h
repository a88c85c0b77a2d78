// Storage for the records of the "View Allowed Group" rows: records sit in
// chunks of 4096, so a million of them take 245 heap blocks rather than a
// million, and a record's address never changes while it is held (the list's
// rows point at them). A released record's place is reused by the next one.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "allowed_groups/core/allowed_group_record.h"

class CGroupSlab {
 public:
  // A place holding `record`.
  AllowedGroupRecord* Take(AllowedGroupRecord&& record);
  // Gives the place back; `record` must have come from Take and not be
  // released yet.
  void Release(AllowedGroupRecord* record);
  // Releases every record and frees the chunks.
  void Clear();
  size_t Size() const { return m_used - m_free.size(); }

 private:
  static constexpr size_t kChunk = 4096;
  std::vector<std::unique_ptr<AllowedGroupRecord[]>> m_chunks;
  size_t m_used = 0;                        // places handed out from the chunks, released ones included
  std::vector<AllowedGroupRecord*> m_free;  // released places, reused first
};
