#include "controls/drag_image_functions.h"

#include "platform/kernel/module.h"

namespace {

template <class Fn>
bool Find(HMODULE library, const char* name, Fn& out) {
  out = reinterpret_cast<Fn>(GetProcAddress(library, name));
  return out != nullptr;
}

}  // namespace

bool DragImageFunctions::Load() {
  // The common controls stay loaded for the process, so the handle is not freed.
  HMODULE library = GetModuleHandleA("comctl32.dll");
  if (library == nullptr) library = LoadLibraryA("comctl32.dll");
  const bool found = library != nullptr && Find(library, "ImageList_BeginDrag", beginDrag) &&
                     Find(library, "ImageList_DragEnter", dragEnter) && Find(library, "ImageList_DragMove", dragMove) &&
                     Find(library, "ImageList_DragShowNolock", dragShowNolock) &&
                     Find(library, "ImageList_DragLeave", dragLeave) && Find(library, "ImageList_EndDrag", endDrag);
  if (!found) *this = DragImageFunctions{};
  return found;
}
