#include "controls/x_mem_dc.h"

#include "controls/testing/control_test_support.h"
#include "platform/window/cpaintdc.h"

namespace {

using XMemDCTest = ControlTest;

// On a screen the picture arrives whole, as one copy, when the object goes;
// a printer is drawn on straight away and stays usable afterwards.
TEST_F(XMemDCTest, AScreenGetsOneCopyAtTheEndAPrinterEachCallAtOnce) {
  for (const BOOL printing : {FALSE, TRUE}) {
    platform::ClearDisplayList(m_parent);
    CClientDC target(&m_parent);
    target.m_bPrinting = printing;
    {
      CXMemDC dc(&target);
      EXPECT_EQ(dc.IsOffScreen(), !printing);
      dc.FillSolidRect(4, 5, 6, 7, RGB(1, 2, 3));
      EXPECT_EQ(platform::WindowDisplayList(m_parent).size(), printing ? 1u : 0u) << printing;
    }
    const DrawOps drawn = platform::WindowDisplayList(m_parent);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].kind, printing ? DrawKind::FillRect : DrawKind::Blit);
    target.FillSolidRect(0, 0, 1, 1, RGB(9, 9, 9));
    EXPECT_EQ(platform::WindowDisplayList(m_parent).size(), 2u);
  }
}

}  // namespace
