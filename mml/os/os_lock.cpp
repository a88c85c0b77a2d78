// The middleware's one synchronisation primitive: a lock that its owner
// thread may take recursively. Built on a guard mutex and a condition
// variable: depth and owner change only under the guard, and a waiter never
// holds the guard while blocked, so a releasing owner is never held up.
#include <condition_variable>
#include <mutex>
#include <new>

#include "mml/mml.h"
#include "mml/status.h"

struct os_lock_rec {
  uint32_t nKind = OS_LOCK_RECURSIVE;
  uint32_t nDepth = 0;      // times the owner holds it; 0 when free
  uint32_t nOwner[2] = {};  // owning thread's identity, zero when free
  std::mutex guard;
  std::condition_variable released;  // signalled when depth drops to 0
};

namespace {

bool is_owner(const os_lock_rec& lock, const uint32_t self[2]) {
  return lock.nDepth > 0 && lock.nOwner[0] == self[0] && lock.nOwner[1] == self[1];
}

}  // namespace

extern "C" int os_lock_create(os_lock_rec** lock, int32_t kind, int* err) {
  if (lock == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  if (*lock != nullptr) return mml::fail(err, mml::OsStatus::kBadArgument);
  if (kind != OS_LOCK_PLAIN && kind != OS_LOCK_RECURSIVE) return mml::fail(err, mml::OsStatus::kBadArgument);
  void* block = nullptr;
  int32_t granted = 0;
  if (mml_alloc(&block, &granted, static_cast<int32_t>(sizeof(os_lock_rec)), err) == 0) return 0;
  auto* rec = new (block) os_lock_rec;
  rec->nKind = static_cast<uint32_t>(kind);
  *lock = rec;
  return mml::succeed(err);
}

extern "C" int os_lock_destroy(os_lock_rec** lock, int* err) {
  if (lock == nullptr || *lock == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  {
    std::lock_guard<std::mutex> guard((*lock)->guard);
    if ((*lock)->nDepth > 0) return mml::fail(err, mml::OsStatus::kBadArgument);
  }
  (*lock)->~os_lock_rec();
  void* block = *lock;
  *lock = nullptr;
  return mml_free(&block, err);
}

extern "C" int os_lock(os_lock_rec* lock, int* err) {
  if (lock == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  uint32_t self[2];
  if (os_thread_self(self, err) == 0) return 0;
  std::unique_lock<std::mutex> guard(lock->guard);
  if (is_owner(*lock, self)) {
    if (lock->nKind == OS_LOCK_PLAIN) return mml::fail(err, mml::OsStatus::kBadArgument);
    ++lock->nDepth;
    return mml::succeed(err);
  }
  lock->released.wait(guard, [lock] { return lock->nDepth == 0; });
  lock->nDepth = 1;
  lock->nOwner[0] = self[0];
  lock->nOwner[1] = self[1];
  return mml::succeed(err);
}

extern "C" int os_unlock(os_lock_rec* lock, int* err) {
  if (lock == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  uint32_t self[2];
  if (os_thread_self(self, err) == 0) return 0;
  std::unique_lock<std::mutex> guard(lock->guard);
  if (lock->nDepth == 0) return mml::fail(err, mml::OsStatus::kNotHeld);
  if (!is_owner(*lock, self)) return mml::fail(err, mml::OsStatus::kBadArgument);
  if (--lock->nDepth == 0) {
    lock->nOwner[0] = 0;
    lock->nOwner[1] = 0;
    guard.unlock();
    lock->released.notify_one();
  }
  return mml::succeed(err);
}
