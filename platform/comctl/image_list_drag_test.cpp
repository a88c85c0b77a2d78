#include "platform/comctl/image_list_drag.h"

#include <gtest/gtest.h>

#include "platform/comctl/image_list.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/testing/reset_test.h"

namespace {

class ImageListDragTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    m_list = ImageList_Create(40, 16, ILC_MASK, 1, 1);
    m_bitmap = ::CreateBitmap(40, 16, 1, 32, nullptr);
    ASSERT_EQ(ImageList_AddMasked(m_list, m_bitmap, RGB(0, 255, 0)), 0);
  }
  void TearDown() override {
    ImageList_Destroy(m_list);
    ::DeleteObject(m_bitmap);
  }
  HIMAGELIST m_list = nullptr;
  HBITMAP m_bitmap = nullptr;
};

TEST_F(ImageListDragTest, ADragOfAnImageThereGoesThroughEnterMoveHideLeaveAndEnd) {
  const HWND desktop = reinterpret_cast<HWND>(0x5);  // any lock window will do
  EXPECT_FALSE(ImageList_DragEnter(desktop, 1, 1)) << "entered without a drag";
  EXPECT_FALSE(ImageList_BeginDrag(m_list, 1, 0, 0) || ImageList_BeginDrag(nullptr, 0, 0, 0)) << "no such image";
  ASSERT_TRUE(ImageList_BeginDrag(m_list, 0, 7, 3));
  EXPECT_FALSE(ImageList_BeginDrag(m_list, 0, 0, 0)) << "two drags at once";
  ImageList_Destroy(m_list);  // the drag keeps its own copy
  m_list = nullptr;
  platform::DragImageState s = platform::CurrentDragImage();
  EXPECT_TRUE(s.dragging && !s.shown && s.image != nullptr);
  EXPECT_EQ(std::pair(s.hotspot.x, s.hotspot.y), std::pair(7, 3));

  ASSERT_TRUE(ImageList_DragEnter(desktop, 100, 200));
  EXPECT_FALSE(ImageList_DragEnter(desktop, 100, 200));
  ASSERT_TRUE(ImageList_DragMove(120, 210));
  ASSERT_TRUE(ImageList_DragShowNolock(FALSE));
  s = platform::CurrentDragImage();
  EXPECT_EQ(std::tuple(s.lock, s.position.x, s.position.y, s.shown), std::tuple(desktop, 120, 210, false));
  ImageList_DragShowNolock(TRUE);
  EXPECT_TRUE(platform::CurrentDragImage().shown);

  EXPECT_FALSE(ImageList_DragLeave(nullptr)) << "left another window";
  ASSERT_TRUE(ImageList_DragLeave(desktop));
  EXPECT_FALSE(platform::CurrentDragImage().shown);
  ImageList_DragShowNolock(TRUE);
  EXPECT_FALSE(platform::CurrentDragImage().shown) << "shown while not entered";
  ImageList_EndDrag();
  EXPECT_FALSE(platform::CurrentDragImage().dragging);
  EXPECT_FALSE(ImageList_DragMove(0, 0));
}

}  // namespace
