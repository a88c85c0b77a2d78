#include "controls/x_mem_dc.h"

#include "controls/testing/control_test_support.h"

namespace {

// A memory target stands in for a window's paint context: the copy lands in
// its bitmap's display list.
class XMemDCTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(m_target.CreateCompatibleDC(nullptr));
    m_surface.CreateCompatibleBitmap(&m_target, 30, 20);
    m_old = m_target.SelectObject(&m_surface);
  }

  CDC m_target;
  CBitmap m_surface;
  CBitmap* m_old = nullptr;
};

TEST_F(XMemDCTest, ThePictureReachesTheTargetInOneCopyWhenTheContextGoes) {
  {
    CXMemDC dc(&m_target);
    ASSERT_TRUE(dc.IsOffScreen());
    dc.FillSolidRect(CRect(2, 3, 12, 13), RGB(200, 0, 0));
    dc.TextOut(4, 4, CString("Symbol"));
    EXPECT_TRUE(platform::BitmapDisplayList(m_surface).empty()) << "drawn before the copy";
  }
  const platform::DrawOps ops = platform::BitmapDisplayList(m_surface);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::Blit);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 30, 20));
  ASSERT_NE(ops[0].sourceOps, nullptr);
  ASSERT_EQ(ops[0].sourceOps->size(), 2u);
  EXPECT_EQ(CRect((*ops[0].sourceOps)[0].rect), CRect(2, 3, 12, 13)) << "drawn where the caller drew it";
  EXPECT_EQ((*ops[0].sourceOps)[1].text, "Symbol");
  // The target keeps its own bitmap selected and draws on.
  EXPECT_TRUE(m_target.TextOut(0, 0, CString("after")));
  EXPECT_EQ(m_target.SelectObject(m_old)->GetSafeHandle(), m_surface.GetSafeHandle());
}

}  // namespace
