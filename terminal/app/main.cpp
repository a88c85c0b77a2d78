// The replacement terminal: loads the plug-in (from beside the executable, or
// from lib/tarnterm/ when installed: install_layout.h) and drives it
// headless, with scrip data and a server stand-in.
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/comctl/win_term.h"
#include "terminal/app/options.h"
#include "terminal/app/terminal_app.h"

int main(int argc, char** argv) {
  // Lines in the order they happen, also when the output goes to a pipe.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  // Under a file size limit (ulimit -f) a write past it would end the
  // terminal with SIGXFSZ, unsaved work and all. Ignored, the write fails
  // with EFBIG, and every save treats that as it treats a full disk: the
  // file kept as it was, the failure shown.
  std::signal(SIGXFSZ, SIG_IGN);
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
    const int code = terminal::RunTerminal(*options, argc, argv);
    // The framework's session ends before the process does: a window still
    // open is destroyed, and the framework's state emptied, before static
    // objects are torn down.
    AfxWinTerm();
    return code;
  } catch (const std::exception& e) {
    // Whatever the run could not handle ends it with a sentence, not an abort.
    std::fprintf(stderr, "tarnterm: %s\n", e.what());
    return 1;
  }
}
