#include "allowed_groups/group_index.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Mixes a word so that nearby pointers and small numbers spread over the
// table (the finaliser of MurmurHash3).
uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDULL;
  x ^= x >> 33;
  x *= 0xC4CEB93FE1A85EC9ULL;
  x ^= x >> 33;
  return x;
}

uint64_t Word(const CGroupText& text) { return reinterpret_cast<uintptr_t>(text.Pooled()); }

}  // namespace

size_t CGroupIndex::Hash(const AllowedGroupRecord& r) {
  // 0 and -0 are equal strikes and must hash alike.
  const double strike = r.dStrike == 0 ? 0.0 : r.dStrike;
  uint64_t strikeBits = 0;
  std::memcpy(&strikeBits, &strike, sizeof strikeBits);
  uint64_t h = 0;
  for (const uint64_t w : {Word(r.strCategory), Word(r.strExchangeCode), Word(r.strInstrument), Word(r.strSymbol),
                           Word(r.strOptionType), Word(r.strExpiry), Word(r.strProduct), Word(r.strSide),
                           Word(r.strStrikeAsSent), Word(r.strExpiryAsSent), strikeBits}) {
    h = Mix(h ^ w) + 0x9E3779B97F4A7C15ULL;
  }
  return static_cast<size_t>(h);
}

size_t CGroupIndex::Probe(const AllowedGroupRecord& record) const {
  const size_t mask = m_slots.size() - 1;
  size_t slot = Hash(record) & mask;
  while (m_slots[slot] != nullptr && !m_slots[slot]->SameGroup(record)) slot = (slot + 1) & mask;
  return slot;
}

AllowedGroupRecord* CGroupIndex::Find(const AllowedGroupRecord& group) const {
  if (m_count == 0 || std::isnan(group.dStrike)) return nullptr;
  return m_slots[Probe(group)];
}

void CGroupIndex::Grow() {
  std::vector<AllowedGroupRecord*> old(m_slots.empty() ? 1024 : m_slots.size() * 2, nullptr);
  old.swap(m_slots);
  const size_t mask = m_slots.size() - 1;
  for (AllowedGroupRecord* record : old) {
    if (record == nullptr) continue;
    size_t slot = Hash(*record) & mask;
    while (m_slots[slot] != nullptr) slot = (slot + 1) & mask;
    m_slots[slot] = record;
  }
}

void CGroupIndex::Add(AllowedGroupRecord* record) {
  if (std::isnan(record->dStrike)) return;
  // At most 70% full: probe runs stay short.
  if ((m_count + 1) * 10 > m_slots.size() * 7) Grow();
  const size_t slot = Probe(*record);
  if (m_slots[slot] != nullptr) return;  // keeps the first record of a group
  m_slots[slot] = record;
  ++m_count;
}

void CGroupIndex::Remove(AllowedGroupRecord* record) {
  if (m_count == 0 || std::isnan(record->dStrike)) return;
  const size_t mask = m_slots.size() - 1;
  size_t hole = Probe(*record);
  if (m_slots[hole] != record) return;
  m_slots[hole] = nullptr;
  --m_count;
  // Entries after the hole whose home lies at or before it move into it, so
  // that every entry stays reachable from its home slot.
  for (size_t next = (hole + 1) & mask; m_slots[next] != nullptr; next = (next + 1) & mask) {
    const size_t home = Hash(*m_slots[next]) & mask;
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      m_slots[hole] = m_slots[next];
      m_slots[next] = nullptr;
      hole = next;
    }
  }
}

void CGroupIndex::Clear() {
  m_slots.clear();
  m_slots.shrink_to_fit();
  m_count = 0;
}
