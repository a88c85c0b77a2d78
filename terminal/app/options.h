// The terminal's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace terminal {

struct Options {
  std::string userId;          // --user ID
  std::string home;            // --home DIR: folder of UserSetting.ini (default: beside the executable)
  std::string pluginPath;      // --plugin FILE (default: AllowedGroups.so beside the executable)
  std::string database;        // --db FILE, or ":memory:"
  std::string wireLog;         // --wire-log FILE
  std::string script;          // --script FILE
  bool info = false;           // --info: print the plug-in's description and exit
  bool demo = false;           // --demo: run the built-in script
};

// Parses argv; on a bad command line returns nothing and sets `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

const char* Usage();

}  // namespace terminal
