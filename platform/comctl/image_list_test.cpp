#include "platform/comctl/image_list.h"

#include <gtest/gtest.h>

#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/testing/reset_test.h"

namespace {

class ImageLists : public platform::ResetTest {};

TEST_F(ImageLists, RemovingAndDestroying) {
  const HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR, 0, 4);
  // A bitmap with one red fill on it.
  const HBITMAP red = CreateBitmap(16, 16, 1, 32, nullptr);
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(memory, red);
  CDC::FromHandle(memory)->FillSolidRect(0, 0, 16, 16, RGB(255, 0, 0));
  SelectObject(memory, old);
  DeleteDC(memory);
  ImageList_Add(list, red, nullptr);
  ImageList_Add(list, red, nullptr);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_FALSE(ImageList_Remove(list, 5));
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_Add(list, red, nullptr), -1);
  EXPECT_EQ(ImageList_Create(0, 8, ILC_COLOR, 0, 0), nullptr);

  CImageList framed;  // the framework's list adds the bitmap it is handed
  ASSERT_TRUE(framed.Create(8, 8, ILC_COLOR, 0, 4));
  CBitmap bitmap;
  bitmap.Attach(red);
  EXPECT_EQ(framed.Add(&bitmap, nullptr), 0);
  EXPECT_EQ(framed.GetImageCount(), 1);
  bitmap.Detach();
  DeleteObject(red);
}

}  // namespace
