// The built-in demonstration: the whole job of the Allowed Groups window, as
// a risk administrator does it, run by --demo.
#pragma once

namespace terminal {

const char* DemoScript();

}  // namespace terminal
