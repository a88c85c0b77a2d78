// Where the lists keep their settings: "UserSetting.ini" in the folder of the
// host terminal's executable. Every list of the process shares this one file.
#pragma once

#include "platform/base/cstring.h"

namespace listview {

// Sets the folder that holds the settings file (the plug-in does this once,
// when it learns the terminal's folder). Until then, and after an empty
// folder, the folder of the process's main program is used. Setting a folder
// removes the "UserSetting.ini.tmp.<pid>" files that writers killed during a
// save left there.
void SetSettingsFolder(const CString& folder);

// The folder in use (see SetSettingsFolder).
CString SettingsFolder();

// The folder, then "\UserSetting.ini". The private-profile functions accept
// "\" as a separator on every platform.
CString SettingsFilePath();

}  // namespace listview
