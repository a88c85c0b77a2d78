#include "controls/clr_button.h"

#include <gtest/gtest.h>

#include "controls/testing/control_test_support.h"
#include "platform/gdi/device_context.h"
#include "platform/input/input_driver.h"
#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_for_test.h"

namespace {

using platform::DrawKind;
using platform::DrawOp;
using platform::DrawOps;
namespace input = platform::input;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);

class ClrButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateAt(100, 100));
    ASSERT_TRUE(
        m_button.Create("Apply", BS_OWNERDRAW | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 90, 40), &m_parent, 100));
  }
  void TearDown() override {
    platform::ResetForTest();
  }
  // The frame's lines, in drawing order.
  static std::vector<DrawOp> Lines(const DrawOps& ops) { return platform::OpsOfKind(ops, DrawKind::Line); }
  static DrawOp OnlyText(const DrawOps& ops) {
    const DrawOps texts = platform::OpsOfKind(ops, DrawKind::Text);
    EXPECT_EQ(texts.size(), 1u);
    return texts.empty() ? DrawOp{} : texts[0];
  }

  CTestParent m_parent;
  CClrButton m_button;
};

TEST_F(ClrButtonTest, ARaisedButtonFillsItsFaceDrawsTwoRingsAndItsCaptionUpAndLeft) {
  m_button.SetColor(RGB(200, 0, 0), RGB(0, 0, 160));
  const DrawOps ops = Repaint(m_button);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, DrawKind::FillRect);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 80, 30));
  EXPECT_EQ(ops[0].color, RGB(0, 0, 160));

  const std::vector<DrawOp> lines = Lines(ops);
  ASSERT_EQ(lines.size(), 8u);
  const auto expectLine = [&](size_t i, COLORREF colour, POINT from, POINT to) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].pen.color, colour);
    EXPECT_EQ(CPoint(lines[i].points[0]), CPoint(from));
    EXPECT_EQ(CPoint(lines[i].points[1]), CPoint(to));
  };
  expectLine(0, kWhite, {0, 0}, {80, 0});     // top: button highlight
  expectLine(1, kWhite, {0, 0}, {0, 30});     // left
  expectLine(2, kBlack, {0, 29}, {80, 29});   // bottom row: 3-D dark shadow
  expectLine(3, kBlack, {79, 0}, {79, 30});   // right column
  expectLine(4, kFace, {1, 1}, {79, 1});      // inner ring: 3-D light
  expectLine(7, kShadow, {78, 1}, {78, 29});  // button shadow

  const DrawOp text = OnlyText(ops);
  EXPECT_EQ(text.text, "Apply");
  EXPECT_EQ(text.color, RGB(200, 0, 0));
  EXPECT_FALSE(text.opaque);
  EXPECT_EQ(CRect(text.rect), CRect(-1, -1, 79, 29));
  EXPECT_EQ(text.format, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_TRUE(platform::OpsOfKind(ops, DrawKind::FocusRect).empty());
}

TEST_F(ClrButtonTest, APressedButtonSinksItsFrameAndCaptionByOnePixel) {
  const DrawOp released = OnlyText(Repaint(m_button));
  ASSERT_TRUE(input::Focus(m_button));
  platform::ClearDisplayList(m_button.m_hWnd);
  ASSERT_TRUE(input::KeyDown(VK_SPACE));
  const DrawOps ops = platform::WindowDisplayList(m_button);
  input::KeyUp(VK_SPACE);

  const DrawOp pressed = OnlyText(ops);
  EXPECT_EQ(pressed.lines[0].origin.x, released.lines[0].origin.x + 1);
  EXPECT_EQ(pressed.lines[0].origin.y, released.lines[0].origin.y + 1);
  const std::vector<DrawOp> lines = Lines(ops);
  ASSERT_EQ(lines.size(), 8u);  // no black ring while pressed, though focused
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(lines[i].pen.color, kBlack) << i;
  for (size_t i = 4; i < 8; ++i) EXPECT_EQ(lines[i].pen.color, kShadow) << i;
  const DrawOps focus = platform::OpsOfKind(ops, DrawKind::FocusRect);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(CRect(focus[0].rect), CRect(4, 4, 76, 26));
}

TEST_F(ClrButtonTest, AFocusedButtonGetsABlackRingOutsideItsRaisedFrame) {
  ASSERT_TRUE(input::Focus(m_button));
  const std::vector<DrawOp> lines = Lines(Repaint(m_button));
  ASSERT_EQ(lines.size(), 12u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(lines[i].pen.color, kBlack) << i;
  EXPECT_EQ(lines[4].pen.color, kWhite);
  EXPECT_EQ(CPoint(lines[4].points[0]), CPoint(1, 1));
  EXPECT_EQ(CPoint(lines[11].points[0]), CPoint(77, 2));  // third ring's right column
}

TEST_F(ClrButtonTest, ADisabledButtonIsEmbossedOnTheDisabledFaceAndIgnoresItsTextColour) {
  const int index = COLOR_BTNFACE;
  const COLORREF olive = RGB(128, 128, 0);
  ASSERT_TRUE(::SetSysColors(1, &index, &olive));
  m_button.SetColor(RGB(200, 0, 0), RGB(0, 0, 160));  // takes the disabled face from the system now
  m_button.EnableWindow(FALSE);
  const DrawOps ops = Repaint(m_button);
  EXPECT_EQ(ops[0].color, olive);
  const DrawOps texts = platform::OpsOfKind(ops, DrawKind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].color, kWhite);
  EXPECT_EQ(CRect(texts[0].rect), CRect(0, 0, 80, 30));
  EXPECT_EQ(texts[1].color, RGB(128, 128, 128));
  EXPECT_EQ(CRect(texts[1].rect), CRect(-1, -1, 79, 29));
  for (const DrawOp& op : ops) EXPECT_NE(op.color, RGB(200, 0, 0)) << platform::Describe(op);
}

TEST_F(ClrButtonTest, AFontDescriptionBecomesTheCaption) {
  m_button.SetFontDescription("Arial", "10", 1);
  CString caption;
  m_button.GetWindowText(caption);
  EXPECT_EQ(caption, "Arial (Bold , 10)");
  EXPECT_EQ(m_button.GetFontStyle(), 1);
  EXPECT_EQ(CClrButton::FontCaption("Arial", "10", -1), "Arial (10)");
  EXPECT_EQ(CClrButton::FontCaption("Tahoma", "8", 3), "Tahoma (Bold Italic , 8)");
  EXPECT_EQ(CClrButton::FontCaption("Tahoma", "8", 7), "Tahoma (Regular , 8)");
}

}  // namespace
