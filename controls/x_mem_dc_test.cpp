#include "controls/x_mem_dc.h"

#include <gtest/gtest.h>

#include "controls/testing/control_test_support.h"
#include "platform/testing/reset_for_test.h"
#include "platform/window/window_paint.h"

namespace {

using platform::DrawKind;

class XMemDCTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_window.CreateAt(50, 50, 200, 120));
    platform::PumpMessages();
    platform::ClearDisplayList(m_window);
  }
  void TearDown() override { platform::ResetForTest(); }

  CTestParent m_window;
};

TEST_F(XMemDCTest, ThePictureReachesTheTargetOnlyWhenTheContextGoesAndInOneCopy) {
  CDC target;
  target.Attach(::GetDC(m_window));
  {
    CXMemDC dc(&target);
    EXPECT_TRUE(dc.IsOffScreen());
    EXPECT_EQ(dc.Area(), CRect(0, 0, 200, 120));
    dc.FillSolidRect(CRect(0, 0, 200, 120), RGB(0, 0, 128));
    dc.TextOut(4, 4, CString("Symbol"));
    EXPECT_TRUE(platform::WindowDisplayList(m_window).empty()) << "drawn before the copy";
  }
  const platform::DrawOps ops = platform::WindowDisplayList(m_window);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::Blit);
  EXPECT_EQ(ops[0].rop, SRCCOPY);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 200, 120));
  EXPECT_EQ(CPoint(ops[0].sourceOrigin), CPoint(0, 0));
  ASSERT_NE(ops[0].sourceOps, nullptr);
  ASSERT_EQ(ops[0].sourceOps->size(), 2u);
  EXPECT_EQ((*ops[0].sourceOps)[0].color, RGB(0, 0, 128));
  EXPECT_EQ((*ops[0].sourceOps)[1].text, "Symbol");
  // The target still has its own state and draws on.
  EXPECT_TRUE(target.TextOut(0, 0, CString("after")));
  ::ReleaseDC(m_window, target.Detach());
}

TEST_F(XMemDCTest, APrinterContextIsDrawnIntoDirectlyAndStaysUsable) {
  // A memory page stands in for the printer's surface.
  CDC printer;
  ASSERT_TRUE(printer.CreateCompatibleDC(nullptr));
  CBitmap page;
  page.CreateCompatibleBitmap(&printer, 300, 400);
  CBitmap* old = printer.SelectObject(&page);
  printer.m_bPrinting = TRUE;
  {
    CXMemDC dc(&printer);
    EXPECT_FALSE(dc.IsOffScreen());
    EXPECT_TRUE(dc.IsPrinting());
    dc.TextOut(10, 10, CString("Page 1"));
    ASSERT_EQ(platform::BitmapDisplayList(page).size(), 1u) << "a printer page must be drawn at once";
  }
  EXPECT_TRUE(platform::IsDC(printer.m_hDC));
  EXPECT_TRUE(printer.TextOut(10, 30, CString("Page 1, line 2")));
  const platform::DrawOps ops = platform::BitmapDisplayList(page);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].text, "Page 1");
  EXPECT_EQ(ops[1].kind, DrawKind::Text);
  printer.SelectObject(old);
}

TEST_F(XMemDCTest, AMemoryTargetGetsItsWholeBitmapBackAndKeepsItsOwnSelection) {
  CDC target;
  ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
  CBitmap surface;
  surface.CreateCompatibleBitmap(&target, 30, 20);
  CBitmap* old = target.SelectObject(&surface);
  {
    CXMemDC dc(&target);
    ASSERT_TRUE(dc.IsOffScreen());
    EXPECT_EQ(dc.Area(), CRect(0, 0, 30, 20)) << "the target's bitmap, not a window's client area";
    dc.FillSolidRect(CRect(2, 3, 12, 13), RGB(200, 0, 0));
    EXPECT_TRUE(platform::BitmapDisplayList(surface).empty());
  }
  const platform::DrawOps ops = platform::BitmapDisplayList(surface);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::Blit);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 30, 20));
  ASSERT_NE(ops[0].sourceOps, nullptr);
  ASSERT_EQ(ops[0].sourceOps->size(), 1u);
  EXPECT_EQ(CRect((*ops[0].sourceOps)[0].rect), CRect(2, 3, 12, 13)) << "drawn where the caller drew it";
  CBitmap* selected = target.SelectObject(old);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->GetSafeHandle(), surface.GetSafeHandle()) << "the target's bitmap is still the one selected";
}

TEST_F(XMemDCTest, WithoutATargetNothingIsDrawnAndNothingBreaks) {
  CXMemDC dc(nullptr);
  EXPECT_FALSE(dc.IsOffScreen());
  EXPECT_FALSE(dc.TextOut(0, 0, CString("nowhere")));
}

}  // namespace
