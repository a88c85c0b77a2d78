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

CString SettingsFilePath() {
  CString folder = Folder();
  if (folder.IsEmpty()) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    folder = platform::PathFolder(path).c_str();
  }
  return folder + "\\UserSetting.ini";
}

}  // namespace listview
