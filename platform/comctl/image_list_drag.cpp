#include "platform/comctl/image_list_drag.h"

#include "platform/comctl/image_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/kernel/module.h"

namespace {

struct Drag {
  platform::DragImageState state;
  HIMAGELIST copy = nullptr;  // owned: the image outlives the caller's list
};

Drag& Current() {
  static Drag drag;
  return drag;
}

}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int dxHotspot, int dyHotspot) {
  Drag& drag = Current();
  if (drag.state.dragging) return FALSE;
  const HBITMAP source = platform::ImageListBitmap(track, index);
  int cx = 0, cy = 0;
  if (source == nullptr || !ImageList_GetIconSize(track, &cx, &cy)) return FALSE;
  drag.copy = ImageList_Create(cx, cy, ILC_MASK, 1, 0);
  if (ImageList_Add(drag.copy, source, nullptr) < 0) {
    ImageList_Destroy(drag.copy);
    drag.copy = nullptr;
    return FALSE;
  }
  drag.state = platform::DragImageState{};
  drag.state.dragging = true;
  drag.state.image = platform::ImageListBitmap(drag.copy, 0);
  drag.state.hotspot = POINT{dxHotspot, dyHotspot};
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  platform::DragImageState& s = Current().state;
  if (!s.dragging || s.entered) return FALSE;
  s.entered = true;
  s.shown = true;
  s.lock = lock;
  s.position = POINT{x, y};
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  platform::DragImageState& s = Current().state;
  if (!s.dragging) return FALSE;
  s.position = POINT{x, y};
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  platform::DragImageState& s = Current().state;
  if (!s.dragging) return FALSE;
  s.shown = show != FALSE && s.entered;
  return TRUE;
}

BOOL ImageList_DragLeave(HWND lock) {
  platform::DragImageState& s = Current().state;
  if (!s.dragging || !s.entered || lock != s.lock) return FALSE;
  s.entered = false;
  s.shown = false;
  s.lock = nullptr;
  return TRUE;
}

void ImageList_EndDrag() {
  Drag& drag = Current();
  if (drag.copy != nullptr) ImageList_Destroy(drag.copy);
  drag = Drag{};
}

namespace platform {

DragImageState CurrentDragImage() { return Current().state; }

}  // namespace platform

namespace {
const bool kRegistered = [] {
  const auto add = [](const char* name, auto function) {
    platform::AddBuiltinExport("comctl32.dll", name, reinterpret_cast<FARPROC>(function));
  };
  add("ImageList_BeginDrag", &ImageList_BeginDrag);
  add("ImageList_DragEnter", &ImageList_DragEnter);
  add("ImageList_DragMove", &ImageList_DragMove);
  add("ImageList_DragShowNolock", &ImageList_DragShowNolock);
  add("ImageList_DragLeave", &ImageList_DragLeave);
  add("ImageList_EndDrag", &ImageList_EndDrag);
  return true;
}();
}  // namespace
