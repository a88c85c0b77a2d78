#include "listview/profile/profile_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "platform/user/message_box.h"
#include "platform/kernel/private_profile.h"

namespace {

constexpr char kKey[] = "COLUMNPROFILE";
constexpr char kNotFound[] = "Settings not found";

// The settings path with "/" separators: the private-profile functions take
// "\" as well, the C library does not.
std::string NativePath(const CString& path) {
  std::string native(path.GetString());
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

int Read(const CString& path, const CString& section, CString& value, bool& cut) {
  // A read-only file is read like any other: only writing it is refused.
  // One character more than the buffer tells a value that was cut.
  std::vector<char> buffer(listview::kProfileValueBuffer + 1, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section, kKey, kNotFound, buffer.data(), static_cast<DWORD>(buffer.size()), path);
  cut = length >= static_cast<DWORD>(listview::kProfileValueBuffer);
  if (length == 0) return 0;
  buffer[listview::kProfileValueBuffer - 1] = '\0';
  value = buffer.data();
  if (value != kNotFound) return 1;
  listview::ReportUnreadableSettings();
  return 0;
}

int Write(const CString& path, const CString& section, const CString& value) {
  // The file is created when missing without disturbing what it holds; the
  // open does not wait, so a FIFO in its place is refused rather than hung on.
  const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    listview::ReportUnsavedLine(section, kKey);
    AfxMessageBox("File Open Failed");
    return 0;
  }
  ::close(fd);
  if (WritePrivateProfileStringA(section, kKey, value, path)) return 1;
  listview::ReportUnsavedLine(section, kKey);
  return 0;
}

}  // namespace

int listview::ReadColumnProfile(const CString& section, CString& value, bool& cut) {
  return Read(SettingsFilePath(), section, value, cut);
}

int ProfileIO(int mode, const CString& section, CString& value) {
  const CString path = listview::SettingsFilePath();
  bool cut = false;
  if (mode == listview::kProfileRead) return Read(path, section, value, cut);
  if (mode == listview::kProfileWrite) return Write(path, section, value);
  return 0;
}
