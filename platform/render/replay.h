// Replaying a display list (platform/gdi/display_list.h) onto a painter:
// every recorded operation drawn as the platform would have drawn it, so
// owner-drawn and custom-drawn surfaces show without knowing who drew them.
//
//  - FillRect, FrameRect, Rectangle (pen outline, brush inside), Line (the
//    end point left out), Gradient (rectangles across or down, triangles
//    shaded between their corners), FocusRect (dotted, inverting what is
//    under it) and Text (each laid-out line; the background behind it when
//    opaque; clipped to its rectangle unless DT_NOCLIP).
//  - Blit replays the source's recorded list, moved to the destination
//    and clipped to it, over the black a new bitmap starts with; SRCAND,
//    SRCPAINT and SRCINVERT combine as multiply, lighten and difference.
//  - With `embossGrayText`, text in the grey-text colour is drawn embossed
//    (a highlight copy one pixel down and right under it), as a disabled
//    control's caption is.
#pragma once

#include "platform/gdi/display_list.h"
#include "platform/render/painter.h"

namespace platform {

struct ReplayOptions {
  bool embossGrayText = false;
  // Within a masked image's copy: bitmaps copied into it keep their
  // undrawn pixels transparent too (an image list copies what it is given).
  bool undrawnClear = false;
};

void Replay(const Painter& painter, const DrawOps& ops, const ReplayOptions& options = {});

}  // namespace platform
