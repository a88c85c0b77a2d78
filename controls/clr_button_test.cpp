#include "controls/clr_button.h"

#include "controls/testing/control_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
using Colours = std::vector<COLORREF>;

class ClrButtonTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(
        m_button.Create("Apply", BS_OWNERDRAW | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 90, 40), &m_parent, 100));
  }

  // The frame's pens, ring by ring, each ring top, left, bottom, right.
  static Colours LineColours(const DrawOps& ops) {
    Colours colours;
    for (const DrawOp& op : platform::OpsOfKind(ops, DrawKind::Line)) colours.push_back(op.pen.color);
    return colours;
  }
  static CRect TextRect(const DrawOps& ops, size_t i = 0) {
    const DrawOps texts = platform::OpsOfKind(ops, DrawKind::Text);
    return texts.size() > i ? CRect(texts[i].rect) : CRect();
  }

  CClrButton m_button;
};

TEST_F(ClrButtonTest, FocusAddsABlackRingAndAPressSinksFrameAndCaptionByOnePixel) {
  ASSERT_TRUE(input::Focus(m_button));
  DrawOps ops = Repaint(m_button);
  EXPECT_EQ(LineColours(ops),
            (Colours{kBlack, kBlack, kBlack, kBlack, kWhite, kWhite, kBlack, kBlack, kFace, kFace, kShadow, kShadow}));
  // Each ring runs along the edges of the one outside it, one pixel in.
  const DrawOps lines = platform::OpsOfKind(ops, DrawKind::Line);
  ASSERT_EQ(lines.size(), 12u);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int l = static_cast<int>(i / 4), t = l, r = 80 - l, b = 30 - l;
    const CPoint edges[4][2] = {{{l, t}, {r, t}}, {{l, t}, {l, b}}, {{l, b - 1}, {r, b - 1}}, {{r - 1, t}, {r - 1, b}}};
    ASSERT_EQ(lines[i].points.size(), 2u);
    EXPECT_TRUE(edges[i % 4][0] == lines[i].points[0] && edges[i % 4][1] == lines[i].points[1]) << "line " << i;
  }

  platform::ClearDisplayList(m_button.m_hWnd);
  ASSERT_TRUE(input::KeyDown(VK_SPACE));
  ops = platform::WindowDisplayList(m_button);
  input::KeyUp(VK_SPACE);
  EXPECT_EQ(TextRect(ops), CRect(0, 0, 80, 30));
  // No black ring while pressed, though focused: dark shadow, then shadow.
  EXPECT_EQ(LineColours(ops), (Colours{kBlack, kBlack, kBlack, kBlack, kShadow, kShadow, kShadow, kShadow}));
  const DrawOps focus = platform::OpsOfKind(ops, DrawKind::FocusRect);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(CRect(focus[0].rect), CRect(4, 4, 76, 26));
}

TEST_F(ClrButtonTest, AFontDescriptionBecomesTheCaption) {
  m_button.SetFontDescription("Arial", "10", 1);
  CString caption;
  m_button.GetWindowText(caption);
  EXPECT_EQ(caption, "Arial (Bold , 10)");
  EXPECT_EQ(m_button.GetFontStyle(), 1);
  EXPECT_EQ(CClrButton::FontCaption("Arial", "10", -1), "Arial (10)");
  EXPECT_EQ(CClrButton::FontCaption("Tahoma", "8", 3), "Tahoma (Bold Italic , 8)");
}

}  // namespace
