// The replacement terminal: loads the plug-in from beside the executable and
// drives it headless, with scrip data and a server stand-in.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "terminal/app/options.h"
#include "terminal/app/terminal_app.h"

int main(int argc, char** argv) {
  // Lines in the order they happen, also when the output goes to a pipe.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string error;
  const auto options = terminal::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "tarnterm: %s\n%s", error.c_str(), terminal::Usage());
    return 2;
  }
  if (options->help) {
    std::fputs(terminal::Usage(), stdout);
    return 0;
  }
  try {
    return terminal::RunTerminal(*options, argc, argv);
  } catch (const std::exception& e) {
    // Whatever the run could not handle ends it with a sentence, not an abort.
    std::fprintf(stderr, "tarnterm: %s\n", e.what());
    return 1;
  }
}
