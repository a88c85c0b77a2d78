#include "controls/x_mem_dc.h"

#include "controls/testing/control_test_support.h"

namespace {

// A memory target stands in for a window's paint context (the copy lands in
// its bitmap's display list) and, flagged as printing, for a printer's page.
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
    EXPECT_EQ(dc.Area(), CRect(0, 0, 30, 20)) << "the target's bitmap, not a window's client area";
    dc.FillSolidRect(CRect(2, 3, 12, 13), RGB(200, 0, 0));
    dc.TextOut(4, 4, CString("Symbol"));
    EXPECT_TRUE(platform::BitmapDisplayList(m_surface).empty()) << "drawn before the copy";
  }
  const platform::DrawOps ops = platform::BitmapDisplayList(m_surface);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::Blit);
  EXPECT_EQ(ops[0].rop, SRCCOPY);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 30, 20));
  EXPECT_EQ(CPoint(ops[0].sourceOrigin), CPoint(0, 0));
  ASSERT_NE(ops[0].sourceOps, nullptr);
  ASSERT_EQ(ops[0].sourceOps->size(), 2u);
  EXPECT_EQ(CRect((*ops[0].sourceOps)[0].rect), CRect(2, 3, 12, 13)) << "drawn where the caller drew it";
  EXPECT_EQ((*ops[0].sourceOps)[1].text, "Symbol");
  // The target keeps its own bitmap selected and draws on.
  EXPECT_TRUE(m_target.TextOut(0, 0, CString("after")));
  EXPECT_EQ(m_target.SelectObject(m_old)->GetSafeHandle(), m_surface.GetSafeHandle());
}

TEST_F(XMemDCTest, APrinterIsDrawnIntoDirectlyAndStaysUsableAndNoTargetDrawsNothing) {
  m_target.m_bPrinting = TRUE;
  {
    CXMemDC dc(&m_target);
    EXPECT_FALSE(dc.IsOffScreen());
    EXPECT_TRUE(dc.IsPrinting());
    dc.TextOut(10, 10, CString("Page 1"));
    ASSERT_EQ(platform::BitmapDisplayList(m_surface).size(), 1u) << "a printer page must be drawn at once";
  }
  EXPECT_TRUE(platform::IsDC(m_target.m_hDC));
  EXPECT_TRUE(m_target.TextOut(10, 30, CString("Page 1, line 2")));
  EXPECT_EQ(platform::BitmapDisplayList(m_surface).size(), 2u);
  m_target.SelectObject(m_old);

  CXMemDC none(nullptr);
  EXPECT_FALSE(none.IsOffScreen());
  EXPECT_FALSE(none.TextOut(0, 0, CString("nowhere")));
}

}  // namespace
