#include "terminal/app/options.h"

namespace terminal {

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    // An empty name is a slip (an unset shell variable), not a wish for the
    // default: taken as no option, the settings or the store would land
    // somewhere the person did not say.
    auto name = [&](std::string& into) {
      if (!value(into)) return false;
      if (into.empty()) error = arg + " needs a value: it is empty";
      return !into.empty();
    };
    bool ok = true;
    if (arg == "--user") ok = value(options.userId);
    else if (arg == "--home") ok = name(options.home);
    else if (arg == "--plugin") ok = name(options.pluginPath);
    else if (arg == "--db") ok = name(options.database);
    else if (arg == "--wire-log") ok = name(options.wireLog);
    else if (arg == "--script") ok = name(options.script);
    else if (arg == "--snapshots") ok = name(options.snapshots);
    else if (arg == "--window-map") ok = name(options.windowMap);
    else if (arg == "--window") options.window = true;
    else if (arg == "--info") options.info = true;
    else if (arg == "--demo") options.demo = true;
    else if (arg == "--help" || arg == "-h") options.help = true;
    else if (arg == "--version") options.version = true;
    else {
      error = "unknown argument: " + arg;
      ok = false;
    }
    if (!ok) return std::nullopt;
  }
  if (options.demo && !options.script.empty()) {
    error = "--demo and --script exclude each other";
    return std::nullopt;
  }
  if (options.window && (options.demo || !options.script.empty())) {
    error = "--window runs for a person: it excludes --script and --demo";
    return std::nullopt;
  }
  if (!options.windowMap.empty() && !options.window) {
    error = "--window-map needs --window";
    return std::nullopt;
  }
  return options;
}

const char* Usage() {
  return "usage: tarnterm [--user ID] [--home DIR] [--plugin FILE] [--db FILE|:memory:] [--wire-log FILE]\n"
         "                [--script FILE | --demo | --window [--window-map FILE]] [--snapshots DIR] [--info] "
         "[--version] [--help]\n"
         "  --user ID         the logged-in user handed to the plug-in (default: admin)\n"
         "  --home DIR        the terminal folder: UserSetting.ini and the default server.db (default: beside\n"
         "                    tarnterm in a build tree, $XDG_DATA_HOME/tarnterm when installed)\n"
         "  --plugin FILE     the plug-in to load (default: AllowedGroups.so beside tarnterm in a build tree,\n"
         "                    in ../lib/tarnterm when installed)\n"
         "  --db FILE         the server's store: a SQLite file, :memory:, or a URI such as file:x.db?mode=ro\n"
         "                    (default: server.db in the terminal folder)\n"
         "  --wire-log FILE   write every request and reply as SEND/RECV, name, bytes in hexadecimal\n"
         "  --script FILE     run a script (one action or check a line) and exit 1 when a line fails\n"
         "  --demo            run the built-in demonstration script\n"
         "  --window          the desktop mode: the terminal and its windows on the X display $DISPLAY\n"
         "  --window-map FILE with --window, keep FILE listing every visible window and where it is\n"
         "  --snapshots DIR   write a PNG of each window after each script line that changed it, numbered\n"
         "  --info            print the plug-in's description, one labelled line each, and exit\n"
         "  --version         print the terminal's version, and the plug-in's when it loads, and exit\n"
         "  --help            print this text and exit\n";
}

}  // namespace terminal
