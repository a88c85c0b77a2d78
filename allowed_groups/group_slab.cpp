#include "allowed_groups/group_slab.h"

#include <functional>

CGroupSlab::Place CGroupSlab::Take(AllowedGroupRecord&& record) {
  uint32_t number = 0;
  if (!m_free.empty()) {
    number = m_free.back();
    m_free.pop_back();
  } else {
    if (m_used == m_chunks.size() * kChunk) m_chunks.push_back(std::make_unique<AllowedGroupRecord[]>(kChunk));
    number = static_cast<uint32_t>(m_used++);
  }
  AllowedGroupRecord& place = (*this)[number];
  place = std::move(record);
  return Place{&place, number};
}

uint32_t CGroupSlab::NumberOf(const AllowedGroupRecord* record) const {
  const std::less<const AllowedGroupRecord*> before;
  size_t number = 0;  // of each chunk's first place
  for (const auto& chunk : m_chunks) {
    const AllowedGroupRecord* first = chunk.get();
    if (!before(record, first) && before(record, first + kChunk)) {
      return static_cast<uint32_t>(number + static_cast<size_t>(record - first));
    }
    number += kChunk;
  }
  return UINT32_MAX;  // not a place of this slab: a broken REQUIRES
}

void CGroupSlab::Release(AllowedGroupRecord* record) {
  const uint32_t number = NumberOf(record);
  if (number == UINT32_MAX) return;
  *record = AllowedGroupRecord{};
  m_free.push_back(number);
}

void CGroupSlab::Clear() {
  m_chunks.clear();
  m_free.clear();
  m_used = 0;
}
