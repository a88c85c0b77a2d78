#include "listview/profile/settings_file.h"

#include "platform/kernel/module.h"
#include "platform/kernel/private_profile.h"

namespace listview {
namespace {

CString& Folder() {
  static CString folder;
  return folder;
}

}  // namespace

void SetSettingsFolder(const CString& folder) {
  Folder() = folder;
  // A terminal killed while saving left its half-written copy beside the
  // file; a new session in the folder clears those away.
  if (!folder.IsEmpty()) RemoveStalePrivateProfileTemporaries(SettingsFilePath());
}

CString SettingsFolder() {
  if (!Folder().IsEmpty()) return Folder();
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return platform::PathFolder(path).c_str();
}

CString SettingsFilePath() { return SettingsFolder() + "\\UserSetting.ini"; }

}  // namespace listview
