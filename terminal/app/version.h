// The terminal's version: the project's, as the build gives it.
#pragma once

namespace terminal {

const char* TerminalVersion();

}  // namespace terminal
