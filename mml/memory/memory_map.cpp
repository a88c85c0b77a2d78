#include "mml/memory/memory_map.h"

#include <cstdlib>
#include <cstring>

namespace mml {

std::unique_ptr<CMemoryMap> CMemoryMap::Create(uint32_t buckets, Resize resize) {
  auto* table = static_cast<sBucket*>(std::calloc(buckets, sizeof(sBucket)));
  if (table == nullptr) return nullptr;
  return std::unique_ptr<CMemoryMap>(new (std::nothrow) CMemoryMap(buckets, table, resize));
}

CMemoryMap::CMemoryMap(uint32_t buckets, sBucket* table, Resize resize)
    : m_bucketTotal(buckets), m_table(table), m_resize(resize) {
  // Fixed part: a pointer per bucket plus the record's own fields.
  m_counters.overhead_bytes = 8ULL * buckets + 80;
}

template <class Visit>
void CMemoryMap::ForEachBucket(Visit&& visit) const {
  for (uint32_t i = 0; i < m_bucketTotal; ++i) visit(m_table[i]);
}

CMemoryMap::~CMemoryMap() {
  ForEachBucket([](const sBucket& bucket) { std::free(bucket.pEntries); });
  std::free(m_table);
}

uint64_t CMemoryMap::Blocks() const {
  uint64_t blocks = 0;
  ForEachBucket([&blocks](const sBucket& bucket) { blocks += static_cast<uint64_t>(bucket.nLength); });
  return blocks;
}

CMemoryMap::sEntry* CMemoryMap::Find(sBucket& bucket, uintptr_t address) {
  for (int32_t i = 0; i < bucket.nLength; ++i) {
    if (bucket.pEntries[i].nAddress == address) return &bucket.pEntries[i];
  }
  return nullptr;
}

bool CMemoryMap::Append(sBucket& bucket, uintptr_t address, int32_t size) {
  void* grown = m_resize(bucket.pEntries, sizeof(sEntry) * (bucket.nLength + 1));
  if (grown == nullptr) return false;
  bucket.pEntries = static_cast<sEntry*>(grown);
  bucket.pEntries[bucket.nLength++] = sEntry{address, size};
  return true;
}

void CMemoryMap::Remove(sBucket& bucket, sEntry* entry) {
  const auto index = entry - bucket.pEntries;
  std::memmove(entry, entry + 1, sizeof(sEntry) * (bucket.nLength - index - 1));
  if (--bucket.nLength == 0) {
    std::free(bucket.pEntries);
    bucket.pEntries = nullptr;
    return;
  }
  // Shrinking never fails to keep the data; a refused shrink keeps the
  // larger block, which is still correct.
  if (void* shrunk = m_resize(bucket.pEntries, sizeof(sEntry) * bucket.nLength)) {
    bucket.pEntries = static_cast<sEntry*>(shrunk);
  }
}

bool CMemoryMap::RecordAlloc(uintptr_t address, int32_t size) {
  if (!Append(BucketOf(address), address, size)) return false;
  ++m_counters.allocs;
  m_counters.bytes_allocated += static_cast<uint64_t>(size);
  m_counters.overhead_bytes += kEntryOverhead;
  return true;
}

bool CMemoryMap::RecordFree(uintptr_t address) {
  sBucket& bucket = BucketOf(address);
  sEntry* entry = Find(bucket, address);
  if (entry == nullptr) {
    ++m_counters.unknown_frees;
    return true;
  }
  const int32_t size = entry->nSize;
  Remove(bucket, entry);
  ++m_counters.frees;
  m_counters.bytes_freed += static_cast<uint64_t>(size);
  m_counters.overhead_bytes -= kEntryOverhead;
  return true;
}

bool CMemoryMap::RecordRealloc(uintptr_t from, uintptr_t to, int32_t size) {
  if (from == to) {
    sBucket& bucket = BucketOf(to);
    if (sEntry* entry = Find(bucket, to)) {
      // Counted modulo 2^64, so a shrink subtracts.
      m_counters.bytes_allocated += static_cast<uint64_t>(static_cast<int64_t>(size) - entry->nSize);
      entry->nSize = size;
      ++m_counters.reallocs;
      return true;
    }
    if (!Append(bucket, to, size)) return false;
    ++m_counters.reallocs;
    ++m_counters.unknown_reallocs;
    m_counters.overhead_bytes += kEntryOverhead;
    m_counters.bytes_allocated += static_cast<uint64_t>(size);
    return true;
  }
  // The heap has moved the block already: its old address goes from the map
  // even when the new one cannot be recorded, so that the map never holds
  // an address the heap may give out again.
  sBucket& old = BucketOf(from);
  if (sEntry* entry = Find(old, from)) {
    m_counters.bytes_freed += static_cast<uint64_t>(entry->nSize);
    m_counters.overhead_bytes -= kEntryOverhead;
    Remove(old, entry);
  }
  if (!Append(BucketOf(to), to, size)) return false;
  ++m_counters.reallocs;
  m_counters.overhead_bytes += kEntryOverhead;
  m_counters.bytes_allocated += static_cast<uint64_t>(size);
  return true;
}

}  // namespace mml
