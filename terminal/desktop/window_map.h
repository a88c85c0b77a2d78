// A plain-text map of the windows a person sees, for tests that drive the
// desktop mode from outside (xdotool needs to know where to click). One line
// per visible window, children indented two spaces under their parent,
// top-level windows in the platform's z-order, top first:
//
//   CLASS #ID "TEXT" LEFT TOP RIGHT BOTTOM [items=N item-height=H] [rows=N top=T]
//     [items="CAPTION|CAPTION|..." item-rects=L,T,R,B;L,T,R,B;...] [entries=N hot=H]
//     [hscroll=POS,PAGE,MIN,MAX] [vscroll=POS,PAGE,MIN,MAX]
//     handle=0xHANDLE [owner=0xHANDLE] [active] [focus] [capture] [disabled]
//     [minimized] [maximized] [lines="LINE|LINE|..."]      (all on one line)
//
// Rectangles are window rectangles in screen coordinates; items and
// item-height are given for list boxes (a combo box's list too), rows and
// the first visible row (top) for list views. A header control lists its
// captions in the order shown, left to right, with each item's rectangle
// on the screen in the same order (captions drop the characters | " \ and
// line breaks). A pop-up menu ("#32768") gives how many entries it has and
// which one is hot (highlighted; -1 none). A window with a scroll bar shown gives its SCROLLINFO
// numbers: position, page, minimum, maximum. handle is the window's handle,
// owner its owner's (top-level windows that have one), both in
// hexadecimal; the flags stand where they hold: the active window, the
// focus, the window the mouse is captured by, a disabled window, a minimised or a maximised one. A list box (not
// a combo box's list) gives the lines it shows, from its first visible line
// down, "|" between them ("\|" inside one). Quotes and backslashes in the
// text are escaped with a backslash; line breaks become "\n".
//
// A tool-tip that shows is a top-level line of its own, class
// "tooltips_class32", its text the tip's text and its rectangle where the
// tip lies on the screen; a hidden tip is not listed:
//
//   tooltips_class32 #0 "\"Qty\" * \"Price\"" 312 140 398 158 handle=0x10008 owner=0x10004
#pragma once

#include <string>

namespace terminal::desktop {

std::string WindowMap();

// Writes the map to `path` whole (a temporary file renamed over it), so a
// reader never sees half of it; false when it cannot be written.
bool WriteWindowMap(const std::string& path);

}  // namespace terminal::desktop
