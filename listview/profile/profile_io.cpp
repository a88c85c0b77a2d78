#include "listview/profile/profile_io.h"

#include <vector>

#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "platform/kernel/private_profile.h"

namespace {

constexpr char kKey[] = "COLUMNPROFILE";
constexpr char kNotFound[] = "Settings not found";

int Read(const CString& path, const CString& section, CString& value, bool& cut) {
  // A read-only file is read like any other: only writing it is refused.
  // One character more than the longest whole value tells a value that was cut.
  std::vector<char> buffer(listview::kProfileValueMaxLength + 2, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section, kKey, kNotFound, buffer.data(), static_cast<DWORD>(buffer.size()), path);
  cut = length > static_cast<DWORD>(listview::kProfileValueMaxLength);
  if (length == 0) return 0;
  buffer[listview::kProfileValueMaxLength] = '\0';
  value = buffer.data();
  if (value != kNotFound) return 1;
  listview::ReportUnreadableSettings();
  return 0;
}

int Write(const CString& path, const CString& section, const CString& value) {
  // The private-profile write creates a missing file, refuses a FIFO or a
  // device in its place without waiting on it, and leaves the file as it
  // was when it fails. The caller shows the one box of a failed save.
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
  bool cut;  // set by every read; a caller of this form has no use for it
  if (mode == listview::kProfileRead) return Read(path, section, value, cut);
  if (mode == listview::kProfileWrite) return Write(path, section, value);
  return 0;
}
