// A window's non-client area: where its frame, caption, caption boxes and
// scroll bars lie, and what WM_NCHITTEST answers for a point. One geometry
// serves the hit test, the move/size loop and the renderer, so a picture and
// the window's answers agree:
//
//   +--------------------------------------------------+  window
//   | +----------------------------------------------+ |  frame: 4 sizing, 3 dialog, 1 thin
//   | |[i] Caption text            [_][O]  [X]        | |  caption bar, 19 (its last row a line)
//   | +----------------------------------------------+ |
//   | |                                           |^| | |  client edge (2), static edge (1),
//   | |   client                                  | | | |  then the scroll bars (17) inside them
//   | |                                           |v| | |
//   | |<                                        >|   | |
//   +--------------------------------------------------+
//
// Caption boxes are 16 x 14, 2 below the bar's top: the close box 2 from the
// right, the maximise box 2 to its left and the minimise box touching that
// one; either box drawn means both are (the one the style lacks greyed). The
// small icon (the system menu) sits at the left unless the window has a
// modal frame. A sizing frame answers its sides, and its corners along
// kCornerGrab pixels of each side; a minimised or maximised window cannot
// be sized, and its frame is a plain border (HTBORDER).
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

namespace platform {

// The boxes of a caption bar; an empty rectangle where there is none.
struct CaptionBoxes {
  RECT sysMenu{};
  RECT minimize{};
  RECT maximize{};
  RECT close{};
};

// The boxes in `bar` of a caption with an icon, a close box, and minimise
// and maximise boxes as asked.
CaptionBoxes LayOutCaptionBoxes(const RECT& bar, bool icon, bool close, bool minMax);

// Where each part of a window with these styles and this window rectangle
// lies, in the rectangle's coordinates.
struct NonClientLayout {
  RECT window{};
  RECT inner{};    // inside the frame
  RECT caption{};  // empty without WS_CAPTION
  RECT client{};
  RECT vscroll{};  // empty without that bar
  RECT hscroll{};
  CaptionBoxes boxes;
};
NonClientLayout LayOutNonClient(DWORD style, DWORD exStyle, const RECT& window);

// The HT code of a point (same coordinates as the layout) for a window of
// `style`: HTNOWHERE outside it.
LRESULT HitTestNonClient(const NonClientLayout& layout, DWORD style, POINT point);

// How far along each side a sizing frame's corner reaches.
inline constexpr int kCornerGrab = 23;

}  // namespace platform
