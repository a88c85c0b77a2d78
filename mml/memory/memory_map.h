// The optional memory map: every accounted block by address, with running
// counters. Keyed by the full 64-bit address. A block's bucket is
// (address >> 3) modulo the bucket total; buckets grow and shrink by one
// entry at a time.
//
// The map's own storage comes straight from the C heap, never from
// mml_alloc, so that recording a block never records the map itself.
// Not thread-safe: the caller holds the environment lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "mml/mml.h"

namespace mml {

class CMemoryMap {
 public:
  // How buckets grow and shrink: std::realloc's contract.
  using Resize = void* (*)(void* block, size_t bytes);

  // nullptr when the bucket table cannot be allocated. REQUIRES: buckets >= 1.
  static std::unique_ptr<CMemoryMap> Create(uint32_t buckets, Resize resize = std::realloc);
  ~CMemoryMap();
  CMemoryMap(const CMemoryMap&) = delete;
  CMemoryMap& operator=(const CMemoryMap&) = delete;

  // Each returns false when a bucket cannot grow, with nothing changed but
  // that a block moved away from an address is no longer recorded there.
  bool RecordAlloc(uintptr_t address, int32_t size);
  bool RecordFree(uintptr_t address);
  bool RecordRealloc(uintptr_t from, uintptr_t to, int32_t size);

  const mml_mem_counters& Counters() const { return m_counters; }
  // The blocks recorded and not yet freed, counted bucket by bucket (the
  // counters only say what happened, this says what the buckets hold).
  uint64_t Blocks() const;
  uint32_t Buckets() const { return m_bucketTotal; }

 private:
  struct sEntry {
    uint64_t nAddress;
    int32_t nSize;
  };
  struct sBucket {
    sEntry* pEntries;
    int32_t nLength;
  };
  static constexpr uint64_t kEntryOverhead = 8;

  CMemoryMap(uint32_t buckets, sBucket* table, Resize resize);
  sBucket& BucketOf(uintptr_t address) { return m_table[(address >> 3) % m_bucketTotal]; }
  static sEntry* Find(sBucket& bucket, uintptr_t address);
  bool Append(sBucket& bucket, uintptr_t address, int32_t size);
  void Remove(sBucket& bucket, sEntry* entry);
  // Calls visit(const sBucket&) for every bucket of the table, in order.
  template <class Visit>
  void ForEachBucket(Visit&& visit) const;

  uint32_t m_bucketTotal;
  sBucket* m_table;
  Resize m_resize;
  mml_mem_counters m_counters{};
};

}  // namespace mml
