#include "listview/profile/settings_report.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "listview/profile/settings_file.h"
#include "platform/kernel/kernel.h"
#include "platform/kernel/module.h"
#include "platform/kernel/private_profile.h"

namespace listview {

namespace {

constexpr DWORD kAccessDenied = 5;
constexpr DWORD kBadFileType = 222;
constexpr DWORD kFileTooLarge = 223;

std::mutex g_guard;
std::set<std::string>& Told() {
  static std::set<std::string> told;
  return told;
}

// True the first time `what` is asked for.
bool FirstTime(const std::string& what) {
  std::lock_guard lock(g_guard);
  return Told().insert(what).second;
}

std::string NativeSettingsPath() {
  return platform::NativePath(SettingsFilePath().GetString());
}

// Why a write of the settings file fails, as far as the file tells.
std::string WhyNotWritable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return errno == ENOENT ? "its folder cannot be written" : std::strerror(errno);
  }
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if ((info.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0) return "the file is read-only";
  if (info.st_size > static_cast<off_t>(kPrivateProfileMaxBytes)) return "the file is too large to be read";
  if (::access(path.c_str(), R_OK) != 0) return "the file cannot be read";
  return "the file could not be replaced";
}

}  // namespace

void ReportDamagedLine(const CString& section, const CString& key, std::string_view what) {
  const std::string path = NativeSettingsPath();
  if (!FirstTime("damaged\n" + path + "\n" + section.GetString() + "\n" + key.GetString())) return;
  std::fprintf(stderr, "tarn settings: %s: [%s] %s: damaged (%.*s); the default is used for the damaged part\n",
               path.c_str(), section.GetString(), key.GetString(), static_cast<int>(what.size()), what.data());
}

void ReportUnreadableSettings() {
  const DWORD error = GetLastError();
  const char* why = nullptr;
  if (error == kBadFileType) why = "it is not a regular file";
  if (error == kFileTooLarge) why = "it is larger than the 16 MiB a settings file may have";
  if (error == kAccessDenied) why = "it cannot be read";
  if (why == nullptr) return;
  const std::string path = NativeSettingsPath();
  if (!FirstTime("unreadable\n" + path)) return;
  std::fprintf(stderr, "tarn settings: %s: not read and never written: %s; the lists use their defaults\n",
               path.c_str(), why);
}

void ReportUnsavedLine(const CString& section, const CString& key) {
  const std::string path = NativeSettingsPath();
  if (!FirstTime("unsaved\n" + path + "\n" + section.GetString() + "\n" + key.GetString())) return;
  std::fprintf(stderr, "tarn settings: %s: [%s] %s: not saved: %s\n", path.c_str(), section.GetString(),
               key.GetString(), WhyNotWritable(path).c_str());
}

void ResetSettingsReports() {
  std::lock_guard lock(g_guard);
  Told().clear();
}

}  // namespace listview
