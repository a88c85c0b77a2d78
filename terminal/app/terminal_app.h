// The terminal's run: set-up, the plug-in's start, then a script, the demo or
// the default showing of the form.
#pragma once

#include "terminal/app/options.h"

namespace terminal {

// Returns the process exit status: 0 success, 1 a failed script expectation
// or a failed start, 2 a bad command line.
int RunTerminal(const Options& options, int argc, char** argv);

}  // namespace terminal
