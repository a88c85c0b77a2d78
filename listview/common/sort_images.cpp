#include "listview/common/sort_images.h"

#include "platform/comctl/image_list.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"

namespace listview {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kArrow = RGB(128, 128, 128);

// A triangle of horizontal lines, widest at `base` and one pixel at `tip`.
HBITMAP Arrow(bool up) {
  const HBITMAP bitmap = ::CreateBitmap(kSize, kSize, 1, 32, nullptr);
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  const HPEN pen = ::CreatePen(PS_SOLID, 1, kArrow);
  const HGDIOBJ oldPen = ::SelectObject(dc, pen);
  for (int row = 0; row < 4; ++row) {
    const int y = up ? 6 + row : 9 - row;
    ::MoveToEx(dc, 8 - row, y, nullptr);
    ::LineTo(dc, 8 + row + 1, y);
  }
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
  ::SelectObject(dc, oldBitmap);
  ::DeleteDC(dc);
  return bitmap;
}

HIMAGELIST Build() {
  const HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (const HBITMAP image : {Arrow(true), Arrow(false), ::CreateBitmap(kSize, kSize, 1, 32, nullptr)}) {
    // Masked by the bitmap's black: the arrow alone shows on the header's face.
    ImageList_AddMasked(list, image, RGB(0, 0, 0));
    ::DeleteObject(image);
  }
  return list;
}

}  // namespace

HIMAGELIST SortImageList() {
  static HIMAGELIST list = nullptr;
  // Built again when its bitmaps went with a reset of the drawing objects
  // (tests reset them between cases).
  if (::GetObjectType(platform::ImageListBitmap(list, 0)) != OBJ_BITMAP) {
    ImageList_Destroy(list);
    list = Build();
  }
  return list;
}

}  // namespace listview
