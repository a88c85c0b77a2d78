// Where the terminal finds what it ships (the plug-in, the scrip master, the
// control names) and where it keeps a person's data (UserSetting.ini, the
// default server.db, exported sheets).
//
// Two layouts, told apart by the executable's folder alone:
//   installed   PREFIX/bin/tarnterm with a folder PREFIX/lib/tarnterm/ (a
//               package, `cmake --install`, or such a tree unpacked or moved
//               anywhere): the plug-in in lib/tarnterm/, the data in
//               share/tarnterm/, and the person's data in
//               $XDG_DATA_HOME/tarnterm, so that removing, upgrading or
//               moving the program never touches it;
//   build tree  anything else (build/default/bin has no ../lib/tarnterm/):
//               everything beside the executable, the person's data too, so
//               that a developer's runs stay inside the build.
#pragma once

#include <optional>
#include <string>

namespace terminal {

struct InstallLayout {
  bool installed = false;
  std::string pluginFolder;  // holds AllowedGroups.so
  std::string dataFolder;    // holds scrips.csv and control_names.txt
};

// The layout around the executable whose folder is `exeFolder`.
InstallLayout LayoutAround(const std::string& exeFolder);

// What the folder of a person's data depends on; an empty field is unset.
struct UserFolders {
  std::string xdgDataHome;  // $XDG_DATA_HOME
  std::string home;         // $HOME, else the password database's home folder
};
UserFolders UserFoldersOfThisProcess();

// An installed terminal's folder when --home names none: tarnterm in
// $XDG_DATA_HOME when that is an absolute path (a relative one is ignored,
// as the XDG base directories say), else in HOME/.local/share. nullopt when
// neither is known.
std::optional<std::string> UserDataFolder(const UserFolders& folders);

// UserDataFolder made when missing (owner-only, as it holds the server's
// store) and checked as --home's folder is. nullopt with a sentence in
// `error` when it is unknown or cannot be made or used.
std::optional<std::string> PrepareUserDataFolder(const UserFolders& folders, std::string& error);

}  // namespace terminal
