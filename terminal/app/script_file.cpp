#include "terminal/app/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace terminal {

bool ReadScript(const std::string& path, std::string& text, std::string& error) {
  // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot read script " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    error = "cannot read script " + path + ": " + std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    error = path + " is a directory, not a script";
    ok = false;
  } else if (!S_ISREG(info.st_mode)) {
    error = path + " is not a regular file (a pipe or a device), not a script";
    ok = false;
  } else if (info.st_size > kMaxScriptBytes) {
    error = path + " is " + std::to_string(info.st_size) + " bytes, more than the " + std::to_string(kMaxScriptBytes) +
            " a script may have";
    ok = false;
  }
  text.clear();
  char chunk[65536];
  while (ok) {
    const ssize_t n = TEMP_FAILURE_RETRY(::read(fd, chunk, sizeof chunk));
    if (n == 0) break;
    if (n < 0 || text.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxScriptBytes)) {
      error = n < 0 ? "cannot read script " + path + ": " + std::strerror(errno)
                    : path + " grew past " + std::to_string(kMaxScriptBytes) + " bytes while being read";
      ok = false;
      break;
    }
    text.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

}  // namespace terminal
