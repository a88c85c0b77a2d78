// The middleware's process-wide state: one instance in static storage for
// the C interface; tests build their own to exercise start-up afresh.
// Everything here is guarded by the environment lock, except the memory
// accounting's recording switch, which mml_alloc reads before it knows
// whether to lock. The instance of the C interface drives the accounting
// mml_alloc uses (memory/memory_accounting.h); a test's drives its own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "mml/memory/memory_accounting.h"
#include "mml/mml.h"
#include "mml/memory/mml_allocator.h"
#include "mml/memory/owned_bytes.h"

namespace mml {

// One captured "name=value" entry of the environment block.
struct sEnvEntry {
  COwnedBytes name;
  COwnedBytes value;
};
using EnvTable = std::vector<sEnvEntry, CMmlAllocator<sEnvEntry>>;

struct sProcessState {
  os_lock_rec* pLock = nullptr;   // created by the first mml_env_init
  uint32_t nRefCount = 0;         // 0: not initialised
  std::optional<EnvTable> table;  // present once initialised
  sMemoryAccounting ownMemory;    // a test's state accounts here, unseen by mml_alloc
  sMemoryAccounting& memory;      // the map and recording switch this state starts

  sProcessState() : memory(ownMemory) {}
  explicit sProcessState(sMemoryAccounting& accounting) : memory(accounting) {}
  ~sProcessState();  // table first, then map, then lock
  sProcessState(const sProcessState&) = delete;
  sProcessState& operator=(const sProcessState&) = delete;
};

// The instance behind the C interface. Never destroyed: it must outlive
// every thread and static object that may still allocate at exit.
sProcessState& process_state();

}  // namespace mml
