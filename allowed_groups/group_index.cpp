#include "allowed_groups/group_index.h"

#include <cmath>
#include <functional>
#include <string_view>

namespace {

size_t Combine(size_t seed, size_t value) { return seed ^ (value + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2)); }

size_t TextHash(const CString& text) {
  return std::hash<std::string_view>{}(std::string_view(text.GetString(), static_cast<size_t>(text.GetLength())));
}

}  // namespace

size_t CGroupIndex::Hash::operator()(const AllowedGroupRecord* record) const {
  size_t seed = TextHash(record->strCategory);
  for (const CString* text : {&record->strExchangeCode, &record->strInstrument, &record->strSymbol,
                              &record->strOptionType, &record->strExpiry, &record->strProduct, &record->strSide,
                              &record->strStrikeAsSent, &record->strExpiryAsSent}) {
    seed = Combine(seed, TextHash(*text));
  }
  // 0 and -0 are equal strikes and must hash alike.
  const double strike = record->dStrike == 0 ? 0.0 : record->dStrike;
  return Combine(seed, std::hash<double>{}(strike));
}

AllowedGroupRecord* CGroupIndex::Find(const AllowedGroupRecord& group) const {
  if (std::isnan(group.dStrike)) return nullptr;
  const auto found = m_records.find(const_cast<AllowedGroupRecord*>(&group));
  return found == m_records.end() ? nullptr : *found;
}

void CGroupIndex::Add(AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  m_records.insert(record);  // keeps the first record of a group
}

void CGroupIndex::Remove(AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  const auto found = m_records.find(record);
  if (found != m_records.end() && *found == record) m_records.erase(found);
}
