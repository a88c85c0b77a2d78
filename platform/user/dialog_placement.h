// Who owns a top-level dialog and where it opens when its creator leaves
// that open.
//
// Owner: a dialog created without a parent is owned by the main window
// (AfxGetMainWnd), as the framework gives such a dialog, or, in a program
// without one, by the active window. It is not owned by the window it was
// opened from: the two are siblings, so either comes to the top when a
// person activates it (a dialog owned by its opener would keep the opener
// under it for good, even maximised over it).
//
// Place: the window a person is working in, the active window whose
// command opened it, is its opener. A template that gives no place (x = y
// = 0, neither DS_CENTER nor DS_ABSALIGN) would put the dialog on the
// opener's client area, over the control that opened it (the focus, inside
// the opener). It opens instead just below the opener, left-aligned with
// it, when it fits on the screen there; else just right of the opener when
// it fits there; else just below the opening control, kept on the screen.
// Without an opening control in the opener the template's place stands.
// Code that places a dialog itself (SetWindowPos after Create) is not
// affected.
#pragma once

#include <optional>

#include "platform/base/wintypes.h"

namespace platform {

HWND DefaultDialogOwner();
// The visible active window, or else the default owner.
HWND DialogOpener();

// The screen origin for a dialog of `size` opened from `opener`, or nullopt
// to keep the template's.
std::optional<POINT> PlaceClearOfOpener(HWND opener, SIZE size);

}  // namespace platform
