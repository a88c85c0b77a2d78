// Who owns a top-level dialog and where it opens when its creator leaves
// that open.
//
// Owner: a dialog created without a parent is owned by the window a person
// is working in, the active window (whose command opened it), or else the
// main window (AfxGetMainWnd), as the framework gives such a dialog the main
// window. Owned, it stays above the window it was opened from however a
// person clicks about, and goes with it when that is minimised.
//
// Place: a template that gives no place (x = y = 0, neither DS_CENTER nor
// DS_ABSALIGN) would put the dialog on its owner's client area, over the
// control that opened it (the focus, inside the owner). It opens instead
// just below the owner, left-aligned with it, when it fits on the screen
// there; else just right of the owner when it fits there; else just below
// the opening control, kept on the screen. Without an opening control in
// the owner the template's place stands. Code that places a dialog itself
// (SetWindowPos after Create) is not affected.
#pragma once

#include <optional>

#include "platform/base/wintypes.h"

namespace platform {

HWND DefaultDialogOwner();

// The screen origin for a dialog of `size` owned by `owner`, or nullopt to
// keep the template's.
std::optional<POINT> PlaceClearOfOpener(HWND owner, SIZE size);

}  // namespace platform
