#include "allowed_groups/group_index.h"

#include <absl/hash/hash.h>

#include <cmath>

uint32_t CGroupIndex::HashOf(const AllowedGroupRecord& r) {
  // Pooled texts are equal exactly when their pointers are; Abseil hashes
  // the equal strikes 0 and -0 alike.
  const size_t hash =
      absl::HashOf(r.strCategory.Pooled(), r.strExchangeCode.Pooled(), r.strInstrument.Pooled(), r.strSymbol.Pooled(),
                   r.strOptionType.Pooled(), r.strExpiry.Pooled(), r.strProduct.Pooled(), r.strSide.Pooled(),
                   r.strStrikeAsSent.Pooled(), r.dStrike);
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

void CGroupIndex::Hashes::Set(uint32_t number, uint32_t hash) {
  while (number / kChunk >= m_chunks.size()) m_chunks.push_back(std::make_unique_for_overwrite<uint32_t[]>(kChunk));
  m_chunks[number / kChunk][number % kChunk] = hash;
}

AllowedGroupRecord* CGroupIndex::Find(const AllowedGroupRecord& group) const {
  if (std::isnan(group.dStrike)) return nullptr;
  const auto found = m_numbers.find(Probe{group, HashOf(group)});
  return found == m_numbers.end() ? nullptr : &m_slab[*found];
}

void CGroupIndex::Add(CGroupSlab::Place place) {
  if (std::isnan(place.record->dStrike)) return;
  const Probe probe{*place.record, HashOf(*place.record)};
  // Keeps the first record of a group.
  m_numbers.lazy_emplace(probe, [&](const auto& construct) {
    m_hashes.Set(place.number, probe.hash);
    construct(place.number);
  });
}

void CGroupIndex::Remove(const AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  if (const auto found = m_numbers.find(Probe{*record, HashOf(*record)});
      found != m_numbers.end() && &m_slab[*found] == record) {
    m_numbers.erase(found);
  }
}

void CGroupIndex::Clear() {
  m_numbers = decltype(m_numbers)(0, m_numbers.hash_function(), m_numbers.key_eq());
  m_hashes.Clear();
}
