#include "allowed_groups/group_index.h"

#include <absl/hash/hash.h>

#include <cmath>

size_t CGroupIndex::GroupHash::operator()(const AllowedGroupRecord& r) const {
  // Pooled texts are equal exactly when their pointers are; Abseil hashes
  // the equal strikes 0 and -0 alike.
  return absl::HashOf(r.strCategory.Pooled(), r.strExchangeCode.Pooled(), r.strInstrument.Pooled(),
                      r.strSymbol.Pooled(), r.strOptionType.Pooled(), r.strExpiry.Pooled(), r.strProduct.Pooled(),
                      r.strSide.Pooled(), r.strStrikeAsSent.Pooled(), r.dStrike);
}

AllowedGroupRecord* CGroupIndex::Find(const AllowedGroupRecord& group) const {
  if (std::isnan(group.dStrike)) return nullptr;
  const auto found = m_numbers.find(group);
  return found == m_numbers.end() ? nullptr : &m_slab[*found];
}

void CGroupIndex::Add(CGroupSlab::Place place) {
  if (!std::isnan(place.record->dStrike)) m_numbers.insert(place.number);  // keeps the first record of a group
}

void CGroupIndex::Remove(const AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  if (const auto found = m_numbers.find(*record); found != m_numbers.end() && &m_slab[*found] == record) {
    m_numbers.erase(found);
  }
}

void CGroupIndex::Clear() { m_numbers = decltype(m_numbers)(0, m_numbers.hash_function(), m_numbers.key_eq()); }
