// The common controls' image-list drag functions, looked up by name in
// "comctl32.dll" when a drag needs them, as the list views' drag code did
// before the library was linked directly. One lookup serves one drag.
#pragma once

#include "platform/base/wintypes.h"

struct DragImageFunctions {
  BOOL (*beginDrag)(HIMAGELIST, int, int, int) = nullptr;
  BOOL (*dragEnter)(HWND, int, int) = nullptr;
  BOOL (*dragMove)(int, int) = nullptr;
  BOOL (*dragShowNolock)(BOOL) = nullptr;
  BOOL (*dragLeave)(HWND) = nullptr;
  void (*endDrag)() = nullptr;

  // All six found; false (and every pointer null) when the library or any
  // function is missing.
  bool Load();
  bool Loaded() const { return endDrag != nullptr; }
};
