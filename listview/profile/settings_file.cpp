#include "listview/profile/settings_file.h"

#include "platform/kernel/module.h"

namespace listview {
namespace {

// Never destroyed: lists owned by the module's static form save their
// profiles while the process exits, after function-local statics created
// later than the form are gone.
CString& Folder() {
  static auto* folder = new CString;  // NOLINT: intentionally immortal
  return *folder;
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
