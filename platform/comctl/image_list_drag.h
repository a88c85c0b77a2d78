// Image-list dragging: one image that follows the pointer during a
// drag-and-drop, as "comctl32.dll" offers it (the functions are also found
// there by name, for callers that look them up at first need).
//
//   ImageList_BeginDrag(list, 0, hotX, hotY);   // copies image 0: the
//                                               // caller may delete its list
//   ImageList_DragEnter(lockWindow, x, y);      // shown, at x, y of the lock
//                                               // window (the desktop: screen)
//   ImageList_DragMove(x, y);  ImageList_DragShowNolock(FALSE); ...
//   ImageList_DragLeave(lockWindow);  ImageList_EndDrag();
//
// One drag exists at a time (a second BeginDrag fails until EndDrag). Every
// function but BeginDrag fails while no drag is under way; DragEnter fails
// when already entered and DragLeave for a window other than the lock
// window. Headless: nothing is painted; platform::CurrentDragImage tells
// tests where the image is and whether it shows. UI thread only.
#pragma once

#include "platform/base/export.h"
#include "platform/base/wintypes.h"

PLATFORM_API BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int dxHotspot, int dyHotspot);
PLATFORM_API BOOL ImageList_DragEnter(HWND lock, int x, int y);
PLATFORM_API BOOL ImageList_DragMove(int x, int y);
PLATFORM_API BOOL ImageList_DragShowNolock(BOOL show);
PLATFORM_API BOOL ImageList_DragLeave(HWND lock);
PLATFORM_API void ImageList_EndDrag();

namespace platform {

struct DragImageState {
  bool dragging = false;    // between BeginDrag and EndDrag
  HBITMAP image = nullptr;  // the drag's own copy of the image
  POINT hotspot{0, 0};      // the image's point that sits at `position`
  bool entered = false;     // between DragEnter and DragLeave
  HWND lock = nullptr;      // the window DragEnter named
  POINT position{0, 0};     // the pointer, in the lock window's coordinates
  bool shown = false;       // entered and not hidden by DragShowNolock
};
// For tests, which link the platform's archive: not exported.
DragImageState CurrentDragImage();

}  // namespace platform
