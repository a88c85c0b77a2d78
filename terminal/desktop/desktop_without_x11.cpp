// The desktop mode in a build made without Xlib: it says so instead.
#include <cstdio>

#include "terminal/desktop/desktop.h"

namespace terminal::desktop {

bool Available() { return false; }

int RunDesktop(CWnd&, const DesktopSetup&) {
  std::fprintf(stderr, "tarnterm: this build has no desktop mode (it was built without Xlib)\n");
  return 1;
}

}  // namespace terminal::desktop
