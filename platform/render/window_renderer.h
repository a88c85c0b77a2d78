// Pictures of windows: a top-level window with its frame, caption, every
// visible child and the pop-ups it owns (a combo box's open list, a
// tool-tip), drawn in the classic desktop look with cairo and pango.
//
// Before drawing, the window and its descendants are painted afresh (their
// WM_PAINT runs, with whatever custom-draw and owner-draw notifications that
// brings), so the picture shows their state now. Each window's display list
// is replayed (platform/render/replay.h) between the parts the window system
// draws for it (platform/render/control_chrome.h); children are clipped to
// their parent's client area, the open list of a combo box is not.
//
// User-interface thread only.
#pragma once

#include "platform/base/export.h"

#include <string>

#include "platform/base/wintypes.h"
#include "platform/render/image.h"

namespace platform {

// The window's picture, as large as its window rectangle; an empty image
// for a null or destroyed window.
PLATFORM_API Image RenderWindow(HWND window);

// Writes the window's picture to `path`: SVG when the name ends in ".svg"
// (any case), PNG otherwise. False, with `error` saying why, when there is
// no such window or the file cannot be written.
PLATFORM_API bool WriteWindowPicture(HWND window, const std::string& path, std::string* error = nullptr);

}  // namespace platform
