#include "terminal/app/install_layout.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "terminal/app/terminal_folder.h"

namespace terminal {

namespace fs = std::filesystem;

InstallLayout LayoutAround(const std::string& exeFolder) {
  const fs::path prefix = fs::path(exeFolder).parent_path();
  std::error_code ec;
  if (fs::is_directory(prefix / "lib" / "tarnterm", ec)) {
    return {true, (prefix / "lib" / "tarnterm").string(), (prefix / "share" / "tarnterm").string()};
  }
  return {false, exeFolder, exeFolder};
}

UserFolders UserFoldersOfThisProcess() {
  UserFolders folders;
  if (const char* data = std::getenv("XDG_DATA_HOME")) folders.xdgDataHome = data;
  if (const char* home = std::getenv("HOME")) folders.home = home;
  if (folders.home.empty()) {
    // A service or a bare environment may leave HOME unset; the account
    // still has its folder.
    if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir != nullptr) {
      folders.home = account->pw_dir;
    }
  }
  return folders;
}

std::optional<std::string> UserDataFolder(const UserFolders& folders) {
  if (!folders.xdgDataHome.empty() && folders.xdgDataHome.front() == '/') return folders.xdgDataHome + "/tarnterm";
  if (!folders.home.empty()) return folders.home + "/.local/share/tarnterm";
  return std::nullopt;
}

std::optional<std::string> PrepareUserDataFolder(const UserFolders& folders, std::string& error) {
  const auto folder = UserDataFolder(folders);
  if (!folder) {
    error = "cannot tell where to keep the terminal's data: HOME and XDG_DATA_HOME are unset; give --home DIR";
    return std::nullopt;
  }
  std::error_code ec;
  const bool existed = fs::exists(*folder, ec);
  auto prepared = PrepareTerminalFolder(*folder, error);
  if (prepared && !existed) fs::permissions(*prepared, fs::perms::owner_all, ec);
  return prepared;
}

}  // namespace terminal
