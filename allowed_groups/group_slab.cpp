#include "allowed_groups/group_slab.h"

AllowedGroupRecord* CGroupSlab::Take(AllowedGroupRecord&& record) {
  AllowedGroupRecord* place = nullptr;
  if (!m_free.empty()) {
    place = m_free.back();
    m_free.pop_back();
  } else {
    if (m_used == m_chunks.size() * kChunk) m_chunks.push_back(std::make_unique<AllowedGroupRecord[]>(kChunk));
    place = &m_chunks.back()[m_used % kChunk];
    ++m_used;
  }
  *place = std::move(record);
  return place;
}

void CGroupSlab::Release(AllowedGroupRecord* record) {
  *record = AllowedGroupRecord{};
  m_free.push_back(record);
}

void CGroupSlab::Clear() {
  m_chunks.clear();
  m_free.clear();
  m_used = 0;
}
