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
    bool ok = true;
    if (arg == "--user") ok = value(options.userId);
    else if (arg == "--home") ok = value(options.home);
    else if (arg == "--plugin") ok = value(options.pluginPath);
    else if (arg == "--db") ok = value(options.database);
    else if (arg == "--wire-log") ok = value(options.wireLog);
    else if (arg == "--script") ok = value(options.script);
    else if (arg == "--info") options.info = true;
    else if (arg == "--demo") options.demo = true;
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
  return options;
}

const char* Usage() {
  return "usage: tarnterm [--user ID] [--home DIR] [--plugin FILE] [--db FILE|:memory:] [--wire-log FILE]\n"
         "                [--script FILE | --demo] [--info]\n";
}

}  // namespace terminal
