// The terminal's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace terminal {

// The user the terminal logs in when --user is not given: the plug-in sends
// no request without a user ID, so a terminal started bare still works.
inline constexpr const char* kDefaultUser = "admin";

struct Options {
  std::string userId = kDefaultUser;  // --user ID
  std::string home;        // --home DIR: folder of UserSetting.ini and server.db (default: install_layout.h)
  std::string pluginPath;  // --plugin FILE (default: AllowedGroups.so in the layout's plug-in folder)
  std::string database;    // --db FILE, ":memory:" or a SQLite URI ("file:x.db?mode=ro")
  std::string wireLog;     // --wire-log FILE
  std::string script;      // --script FILE
  std::string snapshots;   // --snapshots DIR: pictures of the windows after each script line
  std::string windowMap;   // --window-map FILE: with --window, where the windows are (terminal/desktop/window_map.h)
  bool window = false;     // --window: the desktop mode on an X display
  bool info = false;       // --info: print the plug-in's description and exit
  bool demo = false;       // --demo: run the built-in script
  bool help = false;       // --help: print the usage and exit
  bool version = false;    // --version: print the terminal's version and the plug-in's, and exit
};

// Parses argv; on a bad command line returns nothing and sets `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The usage: the synopsis, then one line per option.
const char* Usage();

}  // namespace terminal
