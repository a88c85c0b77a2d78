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
#include "platform/user/message_box.h"

namespace listview {

namespace {

constexpr DWORD kAccessDenied = 5;
constexpr DWORD kBadFileType = 222;
constexpr DWORD kFileTooLarge = 223;
constexpr char kUtf16Text[] = "it is UTF-16 text, which the lists neither read nor write";

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

// Why a write of the settings file fails, as far as the file and the
// write's last error tell.
std::string WhyNotWritable(const std::string& path, DWORD error) {
  if (error == ERROR_DISK_FULL) return "the disk is full";
  if (error == ERROR_UNSUPPORTED_TYPE) return kUtf16Text;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return errno == ENOENT ? "its folder cannot be written" : std::strerror(errno);
  }
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if ((info.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0) return "the file is read-only";
  if (info.st_size > static_cast<off_t>(kPrivateProfileMaxBytes)) return "the file is too large to be read";
  if (::access(path.c_str(), R_OK) != 0) return "the file cannot be read";
  if (error == kFileTooLarge) return "the file would pass the file size limit the terminal runs under";
  return "the file could not be replaced";
}

}  // namespace

void ReportDamagedLine(const CString& section, const CString& key, std::string_view what) {
  const std::string path = NativeSettingsPath();
  if (!FirstTime("damaged\n" + path + "\n" + section.GetString() + "\n" + key.GetString())) return;
  std::fprintf(stderr, "tarn settings: %s: [%s] %s: damaged (%.*s); the default is used for the damaged part\n",
               path.c_str(), section.GetString(), key.GetString(), static_cast<int>(what.size()), what.data());
}

void ReportUnusableFormulas(const CString& section, const CString& key, std::string_view what) {
  const std::string path = NativeSettingsPath();
  if (!FirstTime("formulas\n" + path + "\n" + section.GetString() + "\n" + key.GetString())) return;
  std::fprintf(stderr,
               "tarn settings: %s: [%s] %s: damaged (%.*s); those columns are kept as stored, and their cells "
               "cannot be computed until the column is deleted and added again\n",
               path.c_str(), section.GetString(), key.GetString(), static_cast<int>(what.size()), what.data());
}

void ReportUnreadableSettings() {
  const DWORD error = GetLastError();
  const char* why = nullptr;
  if (error == kBadFileType) why = "it is not a regular file";
  if (error == kFileTooLarge) why = "it is larger than the 16 MiB a settings file may have";
  if (error == kAccessDenied) why = "it cannot be read";
  if (error == ERROR_UNSUPPORTED_TYPE) why = kUtf16Text;
  if (why == nullptr) return;
  const std::string path = NativeSettingsPath();
  if (!FirstTime("unreadable\n" + path)) return;
  std::fprintf(stderr, "tarn settings: %s: not read and never written: %s; the lists use their defaults\n",
               path.c_str(), why);
}

void ReportUnsavedLine(const CString& section, const CString& key) {
  const DWORD error = GetLastError();
  const std::string path = NativeSettingsPath();
  if (!FirstTime("unsaved\n" + path + "\n" + section.GetString() + "\n" + key.GetString())) return;
  std::fprintf(stderr, "tarn settings: %s: [%s] %s: not saved: %s\n", path.c_str(), section.GetString(),
               key.GetString(), WhyNotWritable(path, error).c_str());
  SetLastError(error);
}

void ShowSettingsNotSaved(const char* why) {
  // A person at the desktop sees no standard error: the box says what went
  // wrong and that nothing in the file changed, whichever dialog saved.
  const DWORD error = GetLastError();
  const std::string path = NativeSettingsPath();
  const std::string reason = why != nullptr ? std::string(why) : WhyNotWritable(path, error);
  AfxMessageBox(("Error while saving settings to " + path + ": " + reason + ". The file was left as it was.").c_str());
}

void ResetSettingsReports() {
  std::lock_guard lock(g_guard);
  Told().clear();
}

}  // namespace listview
