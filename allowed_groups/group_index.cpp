#include "allowed_groups/group_index.h"

#include <absl/hash/hash.h>

#include <cmath>

size_t CGroupIndex::GroupHash::operator()(const AllowedGroupRecord* r) const {
  // Pooled texts are equal exactly when their pointers are; Abseil hashes
  // the equal strikes 0 and -0 alike.
  return absl::HashOf(r->strCategory.Pooled(), r->strExchangeCode.Pooled(), r->strInstrument.Pooled(),
                      r->strSymbol.Pooled(), r->strOptionType.Pooled(), r->strExpiry.Pooled(), r->strProduct.Pooled(),
                      r->strSide.Pooled(), r->strStrikeAsSent.Pooled(), r->strExpiryAsSent.Pooled(), r->dStrike);
}

AllowedGroupRecord* CGroupIndex::Find(const AllowedGroupRecord& group) const {
  if (std::isnan(group.dStrike)) return nullptr;
  const auto found = m_records.find(&group);
  return found == m_records.end() ? nullptr : *found;
}

void CGroupIndex::Add(AllowedGroupRecord* record) {
  if (!std::isnan(record->dStrike)) m_records.insert(record);  // keeps the first record of a group
}

void CGroupIndex::Remove(AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  if (const auto found = m_records.find(record); found != m_records.end() && *found == record) m_records.erase(found);
}

void CGroupIndex::Clear() { m_records = {}; }
