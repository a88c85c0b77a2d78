#include "listview/profile/profile_io.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "listview/profile/settings_file.h"
#include "platform/user/message_box.h"
#include "platform/kernel/private_profile.h"

namespace {

constexpr char kKey[] = "COLUMNPROFILE";
constexpr char kNotFound[] = "Settings not found";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The settings file opened in `mode`; the path's "\" separators are the
// private-profile functions' convention, the C library wants "/".
File OpenSettings(const CString& path, const char* mode) {
  std::string native(path.GetString());
  std::replace(native.begin(), native.end(), '\\', '/');
  return File(std::fopen(native.c_str(), mode));
}

int Read(const CString& path, const CString& section, CString& value) {
  // Opening for update tells a missing or unreadable file apart from a
  // missing key without writing anything.
  const File file = OpenSettings(path, "r+");
  if (!file) return 0;
  std::vector<char> buffer(listview::kProfileValueBuffer, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section, kKey, kNotFound, buffer.data(), static_cast<DWORD>(buffer.size()), path);
  if (length == 0) return 0;
  value = buffer.data();
  return value == kNotFound ? 0 : 1;
}

int Write(const CString& path, const CString& section, const CString& value) {
  // Append mode creates the file without disturbing what it holds.
  const File file = OpenSettings(path, "a");
  if (!file) {
    AfxMessageBox("File Open Failed");
    return 0;
  }
  return WritePrivateProfileStringA(section, kKey, value, path) ? 1 : 0;
}

}  // namespace

int ProfileIO(int mode, const CString& section, CString& value) {
  const CString path = listview::SettingsFilePath();
  if (mode == listview::kProfileRead) return Read(path, section, value);
  if (mode == listview::kProfileWrite) return Write(path, section, value);
  return 0;
}
