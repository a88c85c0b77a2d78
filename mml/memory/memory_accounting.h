// The accounting of the blocks mml_alloc hands out: the memory map that
// records them and the switch that turns recording on. The environment
// starts and stops it (environment/process_state.h) and lends it its lock;
// the memory module sits below both the environment and the lock's module
// (os/), so it takes the lock through the two operations lent with it.
//
// Invariant: nRecording is 1 only while pMap holds a map and the lock is
// lent. Everything but nRecording is read and changed under that lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "mml/memory/memory_map.h"
#include "mml/mml.h"

namespace mml {

// The lock the recording runs under and how to take and release it
// (os_lock and os_unlock for the environment's lock); both return 0 on
// failure with the code in *err, as the C interface does.
struct sLentLock {
  os_lock_rec* pLock = nullptr;
  int (*pfnLock)(os_lock_rec* lock, int* err) = nullptr;
  int (*pfnUnlock)(os_lock_rec* lock, int* err) = nullptr;

  bool Lent() const { return pLock != nullptr && pfnLock != nullptr && pfnUnlock != nullptr; }
};

struct sMemoryAccounting {
  sLentLock lock;
  std::unique_ptr<CMemoryMap> pMap;
  std::atomic<uint32_t> nRecording{0};  // 1: the map records every block
};

// The accounting mml_alloc, mml_realloc, mml_free and mml_get_mem_counters
// use. Never destroyed: it must outlive every thread and static object that
// may still allocate at exit.
sMemoryAccounting& memory_accounting();

}  // namespace mml
