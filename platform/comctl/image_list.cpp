#include "platform/comctl/image_list.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/gdi/cdc.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"

namespace platform {
namespace {

struct ImageListData {
  int cx = 0;
  int cy = 0;
  std::vector<HBITMAP> images;  // owned
  std::vector<bool> masked;     // per image: added with a mask, so drawn transparent where it drew nothing
};

// User-interface thread only, like every drawing function.
struct Registry {
  std::map<HIMAGELIST, ImageListData> lists;
  uintptr_t next = 0x1A000;  // handle values; never reused within a run
};

Registry& Lists() {
  static Registry registry;
  return registry;
}

ImageListData* Find(HIMAGELIST list) {
  auto found = Lists().lists.find(list);
  return found == Lists().lists.end() ? nullptr : &found->second;
}

// Copies `size` pixels of `source` at (sx, sy) to `dest` at (x, y).
void Copy(HDC dest, int x, int y, SIZE size, HBITMAP source) {
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(memory, source);
  ::BitBlt(dest, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

}  // namespace

HBITMAP ImageListBitmap(HIMAGELIST list, int index) {
  const ImageListData* data = Find(list);
  if (data == nullptr || index < 0 || index >= static_cast<int>(data->images.size())) return nullptr;
  return data->images[static_cast<size_t>(index)];
}

}  // namespace platform

HIMAGELIST ImageList_Create(int cx, int cy, UINT /*flags*/, int initial, int /*grow*/) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto& registry = platform::Lists();
  const auto handle = reinterpret_cast<HIMAGELIST>(registry.next++);
  platform::ImageListData& data = registry.lists[handle];
  data.cx = cx;
  data.cy = cy;
  data.images.reserve(static_cast<size_t>(std::max(initial, 0)));
  return handle;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  platform::ImageListData* data = platform::Find(list);
  if (data == nullptr) return FALSE;
  for (HBITMAP image : data->images) ::DeleteObject(image);
  platform::Lists().lists.erase(list);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  const platform::ImageListData* data = platform::Find(list);
  return data == nullptr ? 0 : static_cast<int>(data->images.size());
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  const platform::ImageListData* data = platform::Find(list);
  if (data == nullptr || cx == nullptr || cy == nullptr) return FALSE;
  *cx = data->cx;
  *cy = data->cy;
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  platform::ImageListData* data = platform::Find(list);
  if (data == nullptr || platform::GdiObjectKind(image) != platform::GdiKind::Bitmap) return -1;
  const HBITMAP copy = ::CreateBitmap(data->cx, data->cy, 1, 32, nullptr);
  if (copy == nullptr) return -1;
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(memory, copy);
  platform::Copy(memory, 0, 0, SIZE{data->cx, data->cy}, image);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  data->images.push_back(copy);
  data->masked.push_back(mask != nullptr);
  return static_cast<int>(data->images.size()) - 1;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF) {
  const int index = ImageList_Add(list, image, nullptr);
  if (index >= 0) platform::Find(list)->masked[static_cast<size_t>(index)] = true;
  return index;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  platform::ImageListData* data = platform::Find(list);
  if (data == nullptr) return FALSE;
  if (index == -1) {
    for (HBITMAP image : data->images) ::DeleteObject(image);
    data->images.clear();
    data->masked.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(data->images.size())) return FALSE;
  ::DeleteObject(data->images[static_cast<size_t>(index)]);
  data->images.erase(data->images.begin() + index);
  data->masked.erase(data->masked.begin() + index);
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT /*style*/) {
  const platform::ImageListData* data = platform::Find(list);
  const HBITMAP image = platform::ImageListBitmap(list, index);
  if (data == nullptr || image == nullptr || dc == nullptr) return FALSE;
  platform::Copy(dc, x, y, SIZE{data->cx, data->cy}, image);
  if (data->masked[static_cast<size_t>(index)]) {
    if (platform::DrawOp* blit = platform::LastDrawOp(dc); blit != nullptr && blit->kind == platform::DrawKind::Blit) {
      blit->sourceUndrawnClear = true;
    }
  }
  return TRUE;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (m_hImageList != nullptr) return FALSE;
  m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
  return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  const BOOL destroyed = ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return destroyed;
}

int CImageList::Add(CBitmap* image, CBitmap* mask) {
  return ImageList_Add(m_hImageList, image != nullptr ? static_cast<HBITMAP>(*image) : nullptr,
                       mask != nullptr ? static_cast<HBITMAP>(*mask) : nullptr);
}

int CImageList::Add(CBitmap* image, COLORREF mask) {
  return ImageList_AddMasked(m_hImageList, image != nullptr ? static_cast<HBITMAP>(*image) : nullptr, mask);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style) {
  return ImageList_Draw(m_hImageList, index, dc != nullptr ? dc->GetSafeHdc() : nullptr, point.x, point.y, style);
}
