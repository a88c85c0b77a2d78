// The terminal executable run as a person runs it, beside the tests.
#pragma once

#include <string>

namespace e2e {

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr together
};

// Runs tarnterm from beside the test executable with `arguments` (already
// quoted for the shell) and waits for it to exit; with `seconds`, for at
// most that long (then it is killed and the status is 124).
RunResult RunTerminal(const std::string& arguments, int seconds = 0);

}  // namespace e2e
