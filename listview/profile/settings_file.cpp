#include "listview/profile/settings_file.h"

#include "platform/kernel/module.h"

namespace listview {
namespace {

CString& Folder() {
  static CString folder;
  return folder;
}

}  // namespace

void SetSettingsFolder(const CString& folder) { Folder() = folder; }

CString SettingsFolder() {
  if (!Folder().IsEmpty()) return Folder();
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return platform::PathFolder(path).c_str();
}

CString SettingsFilePath() { return SettingsFolder() + "\\UserSetting.ini"; }

}  // namespace listview
