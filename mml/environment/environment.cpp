#include "mml/environment/environment.h"

#include <openssl/crypto.h>
#include <openssl/ssl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "mml/status.h"

namespace mml {

namespace {

constexpr int32_t kDefaultMapBuckets = 100003;

// A setting that makes start-up fail, named on standard error: the caller's
// own message ("environment intialisation failed ...") cannot say which.
// The value is cut at 200 characters, control characters shown as "?".
void report_bad_setting(const char* name, const char* value, const char* expected) {
  std::string shown;
  for (const char* c = value; *c != '\0' && shown.size() < 200; ++c) {
    shown += static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F ? '?' : *c;
  }
  std::fprintf(stderr, "mml: environment start-up refused %s=\"%s\": %s\n", name, shown.c_str(), expected);
}

// Builds the memory map when MML_BUILD_MEMORY_MAP is exactly "yes".
int start_memory_map(sProcessState& state, GetenvFn getenv, int* err) {
  const char* build = getenv("MML_BUILD_MEMORY_MAP");
  if (build == nullptr || std::strcmp(build, "no") == 0) return succeed(err);
  if (std::strcmp(build, "yes") != 0) {
    report_bad_setting("MML_BUILD_MEMORY_MAP", build, "it must be exactly yes or no");
    return fail(err, EnvStatus::kBadValue);
  }
  int32_t buckets = kDefaultMapBuckets;
  if (const char* size = getenv("MML_MEMORY_MAP_SIZE")) {
    const mml_data text{const_cast<char*>(size), static_cast<int32_t>(std::strlen(size))};
    const bool parsed = mml_parse_int(&buckets, &text, nullptr) != 0;
    if (!parsed || buckets < 1) {
      report_bad_setting("MML_MEMORY_MAP_SIZE", size, "it must be a whole number from 1 to 2147483647");
      return fail(err, parsed ? EnvStatus::kBadValue : EnvStatus::kBadMapSize);
    }
  }
  state.memory.pMap = CMemoryMap::Create(static_cast<uint32_t>(buckets));
  if (state.memory.pMap == nullptr) return fail(err, EnvStatus::kNoMemory);
  state.memory.nRecording.store(1, std::memory_order_release);
  return succeed(err);
}

void stop_memory_map(sProcessState& state) {
  state.memory.nRecording.store(0, std::memory_order_release);
  state.memory.pMap.reset();
}

// The accounting records under the environment lock from its creation to
// its destruction.
void lend_lock(sProcessState& state) { state.memory.lock = sLentLock{state.pLock, os_lock, os_unlock}; }
void take_back_lock(sProcessState& state) { state.memory.lock = sLentLock{}; }

// Captures "name=value" entries. An entry is skipped when it starts with
// "=", has no "=", or has an empty value; the name ends at the first "=".
int capture_environment(sProcessState& state, char** envp, int* err) {
  state.table.emplace();
  if (envp == nullptr) return succeed(err);
  for (char** entry = envp; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const size_t eq = text.find('=');
    if (eq == 0 || eq == std::string_view::npos || eq + 1 == text.size()) continue;
    sEnvEntry copy;
    if (!copy.name.Assign(text.substr(0, eq)) || !copy.value.Assign(text.substr(eq + 1))) {
      return fail(err, EnvStatus::kNoMemory);
    }
    try {
      state.table->push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
      return fail(err, EnvStatus::kTableFailed);
    }
  }
  return succeed(err);
}

int unbuffer_standard_streams(int* err) {
  if (std::fflush(stdout) != 0 || std::fflush(stderr) != 0) return fail(err, EnvStatus::kSystem);
  if (std::setvbuf(stdout, nullptr, _IONBF, 0) != 0 || std::setvbuf(stderr, nullptr, _IONBF, 0) != 0) {
    return fail(err, EnvStatus::kSystem);
  }
  return succeed(err);
}

// Seed: the current time's microsecond digits (form 8) times the process id.
int seed_random(int* err) {
  os_time now{};
  buf_hndl digits = nullptr;
  int32_t micro = 0;
  int32_t pid = 0;
  const bool ok = os_time_now(&now, nullptr) != 0 && buf_open(&digits, 8, nullptr) != 0 &&
                  os_time_format(&now, digits, 8, nullptr) != 0 && [&] {
                    const mml_data text{digits->data, digits->used};
                    return mml_parse_int(&micro, &text, nullptr) != 0;
                  }();
  if (digits != nullptr) buf_close(&digits, nullptr);
  if (!ok) return fail(err, EnvStatus::kBadValue);
  os_getpid(&pid, nullptr);
  uint32_t seed = static_cast<uint32_t>(micro);
  if (pid != 0) seed *= static_cast<uint32_t>(pid);
  std::srand(seed);
  return succeed(err);
}

int start_openssl(int* err) {
  if (OPENSSL_init_crypto(0, nullptr) != 1 || OPENSSL_init_ssl(0, nullptr) != 1) return fail(err, EnvStatus::kSystem);
  return succeed(err);
}

// Releases what a first initialisation built, newest first. POSIX sockets
// need no library start-up, so there is nothing to stop for them.
void release_first_init(sProcessState& state) {
  state.table.reset();
  stop_memory_map(state);
}

int first_init(sProcessState& state, char** envp, GetenvFn getenv, int* err) {
  if (start_memory_map(state, getenv, err) == 0 || capture_environment(state, envp, err) == 0 ||
      unbuffer_standard_streams(err) == 0 || seed_random(err) == 0 || start_openssl(err) == 0) {
    release_first_init(state);
    return 0;
  }
  return succeed(err);
}

}  // namespace

int env_init(sProcessState& state, char** envp, GetenvFn getenv, int* err) {
  const bool created = state.pLock == nullptr;
  if (created) {
    if (os_lock_create(&state.pLock, OS_LOCK_RECURSIVE, err) == 0) return 0;
    lend_lock(state);
  }
  const auto drop_created_lock = [&] {
    if (!created) return;
    take_back_lock(state);
    os_lock_destroy(&state.pLock, nullptr);
  };
  if (os_lock(state.pLock, err) == 0) {
    drop_created_lock();
    return 0;
  }
  if (state.nRefCount++ >= 1) return os_unlock(state.pLock, err);

  if (first_init(state, envp, getenv, err) == 0) {
    --state.nRefCount;
    os_unlock(state.pLock, nullptr);
    drop_created_lock();
    return 0;
  }
  if (os_unlock(state.pLock, err) == 0) {
    // Teardown: OpenSSL's tables, the environment table, the map. OpenSSL
    // cannot be started again in this process afterwards.
    OPENSSL_cleanup();
    release_first_init(state);
    --state.nRefCount;
    return 0;
  }
  return succeed(err);
}

int env_is_ready(sProcessState& state, int* err) {
  if (state.pLock == nullptr) return fail(err, EnvStatus::kAbsent);
  if (os_lock(state.pLock, err) == 0) return 0;
  const bool ready = state.nRefCount > 0;
  if (os_unlock(state.pLock, err) == 0) return 0;
  return ready ? succeed(err) : fail(err, EnvStatus::kAbsent);
}

int env_lookup(sProcessState& state, std::string_view name, mml_data* out, int* err) {
  if (state.pLock == nullptr) return fail(err, EnvStatus::kAbsent);
  if (os_lock(state.pLock, err) == 0) return 0;
  const sEnvEntry* found = nullptr;
  if (state.table) {
    for (const sEnvEntry& entry : *state.table) {
      if (entry.name.View() == name) {
        found = &entry;
        break;
      }
    }
  }
  if (found != nullptr) *out = found->value.Data();
  if (os_unlock(state.pLock, err) == 0) return 0;
  return found != nullptr ? succeed(err) : fail(err, EnvStatus::kAbsent);
}

sProcessState::~sProcessState() {
  table.reset();
  stop_memory_map(*this);
  take_back_lock(*this);
  if (pLock != nullptr) os_lock_destroy(&pLock, nullptr);
}

sProcessState& process_state() {
  static sProcessState* const state = new sProcessState(memory_accounting());
  return *state;
}

}  // namespace mml

extern "C" int mml_env_init(int32_t, char**, char** envp, int32_t, int32_t, int* err) {
  return mml::env_init(
      mml::process_state(), envp, [](const char* name) -> const char* { return std::getenv(name); }, err);
}

extern "C" int mml_env_is_ready(int* err) { return mml::env_is_ready(mml::process_state(), err); }
