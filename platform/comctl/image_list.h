// Image lists: numbered images of one size, drawn into a device context.
//
// Each image is a bitmap of the list's size that the list owns; ImageList_Add
// copies the given bitmap into a new one (so the caller keeps, and may
// delete, its own). ImageList_Draw copies image i onto the target with one
// BitBlt, which the target's display list records as a Blit whose source
// bitmap is platform::ImageListBitmap(list, i). An image added with a mask
// (a mask bitmap, or ImageList_AddMasked) draws as the platform draws it
// with its mask and no background colour: what the image's drawing left
// untouched (its mask colour) is transparent. The style bits change nothing.
#pragma once

#include "platform/base/export.h"
#include "platform/base/wintypes.h"

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_OVERLAYMASK = 0x0F00;

PLATFORM_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
PLATFORM_API BOOL ImageList_Destroy(HIMAGELIST list);
PLATFORM_API int ImageList_GetImageCount(HIMAGELIST list);  // 0 for an unknown list
PLATFORM_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// The new image's index, -1 on failure (unknown list or bitmap).
PLATFORM_API int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add with a mask: the pixels the image's drawing left
// untouched, which are to be of colour `mask`, are transparent.
PLATFORM_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
PLATFORM_API BOOL ImageList_Remove(HIMAGELIST list, int index);  // -1 removes every image
PLATFORM_API BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

namespace platform {
// The bitmap behind image `index`, as drawing records it; null when none.
PLATFORM_API HBITMAP ImageListBitmap(HIMAGELIST list, int index);
}  // namespace platform

class CDC;
class CBitmap;

// CImageList: the framework's wrapper; it destroys the list it holds.
class PLATFORM_API CImageList {
 public:
  CImageList() = default;
  ~CImageList() { DeleteImageList(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT: implicit, as in the framework

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  BOOL DeleteImageList();
  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* image, CBitmap* mask);
  int Add(CBitmap* image, COLORREF mask);
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  BOOL Draw(CDC* dc, int index, POINT point, UINT style);
};
