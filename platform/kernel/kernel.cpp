#include "platform/kernel/kernel.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

// One unnamed mutex. `owner` is 0 when free; `depth` counts the owner's
// unreleased waits; `abandoned` is set when the owner thread ended while
// holding it and is reported once, to the next thread that takes it.
struct MutexObject {
  std::mutex guard;
  std::condition_variable freed;
  DWORD owner = 0;
  unsigned depth = 0;
  bool abandoned = false;
};

// Mutexes the current thread holds, so that its end can abandon them.
struct HeldMutexes {
  std::vector<std::weak_ptr<MutexObject>> held;
  ~HeldMutexes() {
    const DWORD self = GetCurrentThreadId();
    for (auto& weak : held) {
      if (auto mutex = weak.lock()) {
        std::lock_guard lock(mutex->guard);
        if (mutex->owner == self) {
          mutex->owner = 0;
          mutex->depth = 0;
          mutex->abandoned = true;
          mutex->freed.notify_one();
        }
      }
    }
  }
  void Remember(const std::shared_ptr<MutexObject>& mutex) {
    std::erase_if(held, [](const auto& weak) { return weak.expired(); });
    held.push_back(mutex);
  }
};
thread_local HeldMutexes t_held;

// Handles are small tagged numbers, never addresses, so a stale or forged
// handle is recognised instead of dereferenced.
class HandleTable {
 public:
  HANDLE Add(std::shared_ptr<MutexObject> object) {
    std::lock_guard lock(m_guard);
    m_next += 4;
    m_objects.emplace(m_next, std::move(object));
    return reinterpret_cast<HANDLE>(m_next);
  }
  std::shared_ptr<MutexObject> Find(HANDLE handle) {
    std::lock_guard lock(m_guard);
    auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_objects.end() ? nullptr : it->second;
  }
  bool Remove(HANDLE handle) {
    std::lock_guard lock(m_guard);
    return m_objects.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
  }

 private:
  std::mutex m_guard;
  uintptr_t m_next = 0x1000;
  std::unordered_map<uintptr_t, std::shared_ptr<MutexObject>> m_objects;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

void TakeOwnership(MutexObject& mutex, DWORD self) {
  mutex.owner = self;
  mutex.depth = 1;
}

std::mutex g_socketGuard;
int g_socketStarts = 0;
thread_local int t_socketError = 0;

void FillSystemTime(const struct tm& parts, long milliseconds, SYSTEMTIME* out) {
  out->wYear = static_cast<WORD>(parts.tm_year + 1900);
  out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  out->wDay = static_cast<WORD>(parts.tm_mday);
  out->wHour = static_cast<WORD>(parts.tm_hour);
  out->wMinute = static_cast<WORD>(parts.tm_min);
  out->wSecond = static_cast<WORD>(parts.tm_sec);
  out->wMilliseconds = static_cast<WORD>(milliseconds);
}

}  // namespace

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  if (name != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto mutex = std::make_shared<MutexObject>();
  if (initialOwner) {
    TakeOwnership(*mutex, GetCurrentThreadId());
    t_held.Remember(mutex);
  }
  SetLastError(ERROR_SUCCESS);
  return Handles().Add(std::move(mutex));
}

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name) {
  return CreateMutexA(attributes, initialOwner, name);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  auto mutex = Handles().Find(handle);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  const DWORD self = GetCurrentThreadId();
  std::unique_lock lock(mutex->guard);
  if (mutex->owner == self) {
    ++mutex->depth;
    return WAIT_OBJECT_0;
  }
  auto isFree = [&] { return mutex->owner == 0; };
  if (milliseconds == INFINITE) {
    mutex->freed.wait(lock, isFree);
  } else if (!mutex->freed.wait_for(lock, std::chrono::milliseconds(milliseconds), isFree)) {
    return WAIT_TIMEOUT;
  }
  TakeOwnership(*mutex, self);
  const bool wasAbandoned = std::exchange(mutex->abandoned, false);
  lock.unlock();
  t_held.Remember(mutex);
  return wasAbandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

BOOL ReleaseMutex(HANDLE handle) {
  auto mutex = Handles().Find(handle);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(mutex->guard);
  if (mutex->owner != GetCurrentThreadId()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--mutex->depth == 0) {
    mutex->owner = 0;
    mutex->freed.notify_one();
  }
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  if (!Handles().Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

DWORD GetCurrentThreadId() {
  thread_local const DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
  return id;
}

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void GetLocalTime(LPSYSTEMTIME time) {
  if (time == nullptr) return;
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  struct tm parts {};
  ::localtime_r(&now.tv_sec, &parts);
  FillSystemTime(parts, now.tv_nsec / 1000000, time);
}

DWORD GetTickCount() {
  struct timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);  // wraps at 2^32, as the platform's counter does
}

int WSAStartup(WORD versionRequested, LPWSADATA data) {
  // Versions 1.0 to 2.2 are accepted; the highest supported is 2.2.
  const BYTE major = static_cast<BYTE>(versionRequested & 0xFF);
  const BYTE minor = static_cast<BYTE>(versionRequested >> 8);
  if (data == nullptr) return WSASYSNOTREADY;
  if (major < 1) return WSAVERNOTSUPPORTED;
  std::memset(data, 0, sizeof(*data));
  const bool above = major > 2 || (major == 2 && minor > 2);
  data->wVersion = above ? static_cast<WORD>(0x0202) : versionRequested;
  data->wHighVersion = 0x0202;
  std::strcpy(data->szDescription, "Sockets 2.2");
  std::strcpy(data->szSystemStatus, "Running");
  std::lock_guard lock(g_socketGuard);
  ++g_socketStarts;
  return 0;
}

int WSACleanup() {
  std::lock_guard lock(g_socketGuard);
  if (g_socketStarts == 0) {
    t_socketError = WSANOTINITIALISED;
    return SOCKET_ERROR;
  }
  --g_socketStarts;
  return 0;
}

int WSAGetLastError() { return t_socketError; }
