// Accounted memory: every block the middleware uses, zero-filled and of the
// exact size asked, optionally recorded in the memory map.
//
// Block layout: a 16-byte header in front of what the caller sees keeps the
// size, so that a reallocation can zero what it adds and the caller keeps
// 16-byte alignment:
//   [ int64 size | 8 bytes unused ][ size bytes handed out ... ]
#include <cstdlib>
#include <cstring>

#include "mml/memory/memory_accounting.h"
#include "mml/mml.h"
#include "mml/status.h"

namespace {

constexpr size_t kHeader = 16;

char* base_of(void* p) { return static_cast<char*>(p) - kHeader; }
int64_t size_of(void* p) {
  int64_t size = 0;
  std::memcpy(&size, base_of(p), sizeof size);
  return size;
}
void* user_of(char* base, int64_t size) {
  std::memcpy(base, &size, sizeof size);
  return base + kHeader;
}

// Runs one recording under the environment lock. The map's own storage
// never passes through mml_alloc, so recording cannot recurse.
template <class Record>
int record(Record&& recordIt, int* err) {
  mml::sMemoryAccounting& accounting = mml::memory_accounting();
  if (accounting.nRecording.load(std::memory_order_acquire) == 0) return mml::succeed(err);
  const mml::sLentLock& lock = accounting.lock;
  if (!lock.Lent()) return mml::fail(err, mml::OsStatus::kNullArgument);  // as os_lock refuses no lock
  if (lock.pfnLock(lock.pLock, err) == 0) return 0;
  const bool recorded = accounting.pMap != nullptr && recordIt(*accounting.pMap);
  if (lock.pfnUnlock(lock.pLock, err) == 0) return 0;
  return recorded ? mml::succeed(err) : mml::fail(err, mml::MemStatus::kNoMemory);
}

}  // namespace

extern "C" int mml_alloc(void** p, int32_t* granted, int32_t size, int* err) {
  if (p == nullptr || size < 1) return mml::fail(err, mml::MemStatus::kBadBlock);
  auto* base = static_cast<char*>(std::calloc(1, kHeader + static_cast<size_t>(size)));
  if (base == nullptr) return mml::fail(err, mml::MemStatus::kNoMemory);
  void* block = user_of(base, size);
  // A block the map cannot record is given back: the caller, told there is
  // no memory, must not be left holding it.
  const int ok =
      record([&](mml::CMemoryMap& map) { return map.RecordAlloc(reinterpret_cast<uintptr_t>(block), size); }, err);
  if (ok == 0) {
    std::free(base);
    return 0;
  }
  *p = block;
  if (granted != nullptr) *granted = size;
  return ok;
}

extern "C" int mml_realloc(void** p, int32_t* granted, int32_t size, int* err) {
  if (p == nullptr || *p == nullptr || size < 1) return mml::fail(err, mml::MemStatus::kBadBlock);
  void* old = *p;
  const int64_t oldSize = size_of(old);
  auto* base = static_cast<char*>(std::realloc(base_of(old), kHeader + static_cast<size_t>(size)));
  if (base == nullptr) return mml::fail(err, mml::MemStatus::kNoMemory);
  if (size > oldSize) std::memset(base + kHeader + oldSize, 0, static_cast<size_t>(size - oldSize));
  // Past this point the old block is gone: the variable follows the block
  // even when the map cannot record it.
  void* block = user_of(base, size);
  *p = block;
  if (granted != nullptr) *granted = size;
  return record(
      [&](mml::CMemoryMap& map) {
        return map.RecordRealloc(reinterpret_cast<uintptr_t>(old), reinterpret_cast<uintptr_t>(block), size);
      },
      err);
}

extern "C" int mml_free(void** p, int* err) {
  if (p == nullptr || *p == nullptr) return mml::fail(err, mml::MemStatus::kBadBlock);
  void* block = *p;
  // A free that cannot be recorded keeps the block, so the map stays true.
  if (record([&](mml::CMemoryMap& map) { return map.RecordFree(reinterpret_cast<uintptr_t>(block)); }, err) == 0) {
    return 0;
  }
  std::free(base_of(block));
  *p = nullptr;
  return mml::succeed(err);
}

extern "C" int mml_get_mem_counters(mml_mem_counters* out, int* err) {
  if (out == nullptr) return mml::fail(err, mml::MemStatus::kNullOut);
  mml::sMemoryAccounting& accounting = mml::memory_accounting();
  const mml::sLentLock& lock = accounting.lock;
  if (!lock.Lent()) return mml::fail(err, mml::MemStatus::kNoMap);
  if (lock.pfnLock(lock.pLock, err) == 0) return 0;
  const bool present = accounting.pMap != nullptr;
  if (present) *out = accounting.pMap->Counters();
  if (lock.pfnUnlock(lock.pLock, err) == 0) return 0;
  return present ? mml::succeed(err) : mml::fail(err, mml::MemStatus::kNoMap);
}

mml::sMemoryAccounting& mml::memory_accounting() {
  static sMemoryAccounting* const accounting = new sMemoryAccounting;
  return *accounting;
}
