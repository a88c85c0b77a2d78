// Thread and process identity and the process random generator.
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>

#include "mml/mml.h"
#include "mml/status.h"

extern "C" int os_thread_self(uint32_t id[2], int* err) {
  if (id == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  // The kernel's thread id is unique among live threads and never 0.
  thread_local const uint32_t self = static_cast<uint32_t>(syscall(SYS_gettid));
  id[0] = self;
  id[1] = 0;
  return mml::succeed(err);
}

extern "C" int os_getpid(int32_t* pid, int* err) {
  if (pid == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  *pid = static_cast<int32_t>(getpid());
  return mml::succeed(err);
}

extern "C" int os_rand_bytes(mml_data* bytes, int* err) {
  if (bytes == nullptr || bytes->data == nullptr) return mml::fail(err, mml::OsStatus::kNullArgument);
  if (bytes->len < 1) return mml::fail(err, mml::OsStatus::kBadArgument);
  // One draw per byte, low 8 bits: the C run-time generator is the one
  // mml_env_init seeds, shared by the whole process.
  for (int32_t i = 0; i < bytes->len; ++i) bytes->data[i] = static_cast<char>(std::rand() & 0xFF);
  return mml::succeed(err);
}
