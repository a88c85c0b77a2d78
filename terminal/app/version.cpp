#include "terminal/app/version.h"

namespace terminal {

// TARNTERM_VERSION is defined for this file alone (terminal/CMakeLists.txt),
// so a new version rebuilds one file.
const char* TerminalVersion() { return TARNTERM_VERSION; }

}  // namespace terminal
