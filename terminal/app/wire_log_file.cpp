#include "terminal/app/wire_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace terminal {

namespace {

// Two names of one file: the same file where both exist, else the same
// place once links and "." and ".." are resolved.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  const bool aExists = ::stat(a.c_str(), &first) == 0;
  const bool bExists = ::stat(b.c_str(), &second) == 0;
  if (aExists && bExists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (aExists != bExists) return false;
  std::error_code failedA;
  std::error_code failedB;
  const auto canonicalA = std::filesystem::weakly_canonical(a, failedA);
  const auto canonicalB = std::filesystem::weakly_canonical(b, failedB);
  return !failedA && !failedB && canonicalA == canonicalB;
}

}  // namespace

FilePtr OpenWireLog(const std::string& path, std::span<const KeptFile> kept, std::string& error) {
  const std::string refused = "the wire log " + path + " is refused: ";
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = refused + (S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file (a pipe or a device)");
    return nullptr;
  }
  for (const KeptFile& file : kept) {
    if (SameFile(path, file.path)) {
      error = refused + "it is " + file.what + " (" + file.path + "), which the log would damage";
      return nullptr;
    }
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot write the wire log " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  // Something else may have taken the name since it was looked at.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = refused + "it is not a regular file (a pipe or a device)";
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "a");
  if (file == nullptr) {
    error = "cannot write the wire log " + path + ": " + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  return FilePtr(file);
}

}  // namespace terminal
