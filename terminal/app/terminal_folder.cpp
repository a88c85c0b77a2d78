#include "terminal/app/terminal_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/kernel/module.h"

namespace terminal {

std::optional<std::string> PrepareTerminalFolder(const std::string& requested, std::string& error) {
  std::string folder = platform::NativePath(requested);
  const std::string said = "cannot make the terminal folder " + folder + ": ";
  if (folder.empty()) {
    error = "the terminal folder given with --home is empty";
    return std::nullopt;
  }
  try {
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    std::error_code looked;
    const bool isFolder = std::filesystem::is_directory(folder, looked);
    if (!isFolder) {
      const std::error_code why = made ? made : looked;
      error = said + (why ? why.message() : std::string("something else is there"));
      return std::nullopt;
    }
  } catch (const std::exception& e) {
    // Allocation or a path the library refuses outright.
    error = said + e.what();
    return std::nullopt;
  }
  // The settings and the store are read and written in it.
  if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
    error = "cannot use the terminal folder " + folder + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return folder;
}

}  // namespace terminal
