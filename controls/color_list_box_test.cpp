#include "controls/color_list_box.h"

#include <string>

#include "controls/testing/control_test_support.h"
#include "platform/user/clipboard.h"
#include "platform/window/cpaintdc.h"
#include "platform/window/cursor.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// In Arial 9.5 points (13 pixels, lines of 15) "alpha beta" is 60 pixels
// and "alpha beta gamma" 107: two lines in a 100-pixel box. In the list
// box's own font (11 pixels) the whole text is 115 pixels, too wide for a tip-free item.
constexpr char kLong[] = "alpha beta gamma delta";

class ColorListBoxTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(m_list.Create(WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY, CRect(0, 0, 100, 200),
                              &m_parent, 200));
    for (const auto& [text, colour] : {std::pair{"short", kRed}, {kLong, kBlue}}) {
      m_list.SetItemData(m_list.AddString(text), colour);
    }
  }

  CColorListBox m_list;
};

TEST_F(ColorListBoxTest, EachItemIsMeasuredAndDrawnWrappedInItsColourOnTheWindowColour) {
  const DrawOps ops = Repaint(m_list);
  const DrawOps texts = platform::OpsOfKind(ops, DrawKind::Text);
  ASSERT_EQ(texts.size(), 2u);
  // Each text comes right after the fill of its item's rectangle: one line high, then two.
  const auto text = std::find_if(ops.begin(), ops.end(), [](const auto& op) { return op.text == kLong; });
  ASSERT_NE(text, ops.begin());
  EXPECT_EQ(CRect((text - 1)->rect), CRect(0, 15, 100, 45));
  EXPECT_EQ((text - 1)->color, RGB(255, 255, 255));
  EXPECT_EQ(texts[0].color, kRed);
  EXPECT_EQ(texts[1].color, kBlue);
  ASSERT_EQ(texts[1].lines.size(), 2u);
  EXPECT_EQ(texts[1].lines[1].text, "gamma delta");

  m_list.SetPlainText(TRUE);
  for (const auto& op : platform::OpsOfKind(Repaint(m_list), DrawKind::Text)) EXPECT_EQ(op.color, RGB(0, 0, 0));
}

TEST_F(ColorListBoxTest, FocusRectangleOnlyForTheFocusedItemOrAFocusChange) {
  m_list.SetCurSel(1);
  ASSERT_TRUE(input::Focus(m_list));
  const DrawOps focus = platform::OpsOfKind(Repaint(m_list), DrawKind::FocusRect);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(CRect(focus[0].rect), CRect(0, 15, 100, 45));

  // No item (as an empty list asks) shows the focus only, whatever the action.
  platform::ClearDisplayList(m_list.m_hWnd);
  DRAWITEMSTRUCT dis{};
  dis.itemID = static_cast<UINT>(-1);
  dis.itemAction = ODA_DRAWENTIRE | ODA_FOCUS;
  dis.rcItem = CRect(0, 0, 100, 15);
  m_list.DrawItem(&dis);
  const DrawOps ops = platform::WindowDisplayList(m_list);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::FocusRect);
}

TEST_F(ColorListBoxTest, AWideItemShowsItsWholeTextAtItsCornerUntilThePointerLeaves) {
  const HWND tip = m_list.GetToolTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_FALSE(::GetWindowLongPtr(tip, GWL_STYLE) & WS_BORDER);

  MovePointer(m_list, {5, 20});
  platform::TooltipState s = platform::ReadTooltip(tip);
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(s.text, kLong);
  EXPECT_EQ(s.position.x, 100);
  EXPECT_EQ(s.position.y, 115);
  EXPECT_EQ(s.background, RGB(0, 0, 128));

  MovePointer(m_list, {5, 5});    // "short" fits
  MovePointer(m_list, {5, 100});  // below the items, beside none
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);
  MovePointer(m_list, {5, 20});
  ASSERT_TRUE(platform::ReadTooltip(tip).shown);

  ::SetCursorPos(600, 600);
  input::Advance(CColorListBox::kTipTimerMs);
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);
  // Exactly as wide as its item less a slack of 3 pixels, the text fits.
  CClientDC dc(&m_list);
  m_list.MoveWindow(0, 0, dc.GetTextExtent(kLong).cx + 3, 200);
  MovePointer(m_list, {5, 20});
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);
}

TEST_F(ColorListBoxTest, CtrlCCopiesTheSelectedItemAndNothingWithoutOne) {
  ASSERT_TRUE(input::Focus(m_list));
  m_list.SetCurSel(1);
  ASSERT_TRUE(input::KeyDown(VK_CONTROL));
  ASSERT_TRUE(input::KeyDown('C'));
  EXPECT_EQ(platform::ClipboardText(), kLong) << "copied as the key goes down";
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(::GlobalSize(::GetClipboardData(CF_TEXT)), sizeof kLong) << "the text and its end, nothing past it";
  ::CloseClipboard();
  input::KeyUp('C');
  input::KeyUp(VK_CONTROL);

  // A clipboard someone else holds open is left alone; without a selection nothing is copied.
  const DWORD sequence = ::GetClipboardSequenceNumber();
  m_list.SetCurSel(0);
  ASSERT_TRUE(::OpenClipboard(m_parent));
  ASSERT_TRUE(input::PressKey('C', input::kControl));
  ::CloseClipboard();
  m_list.SetCurSel(-1);
  ASSERT_TRUE(input::PressKey('C', input::kControl));
  m_list.SetCurSel(0);
  // Control with another key copies nothing, nor does C alone, also now that
  // Control has gone down an even number of times and its toggle bit is clear.
  ASSERT_TRUE(input::PressKey('X', input::kControl));
  ASSERT_TRUE(input::PressKey('C'));
  EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
}

TEST_F(ColorListBoxTest, ErasingFillsOnlyBelowTheLastItemInModeTwo) {
  // Erasing goes into the DC it is given: a memory bitmap here, not the window.
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = ::CreateBitmap(100, 200, 1, 32, nullptr);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  const auto erase = [&] {
    platform::ClearDisplayList(m_list.m_hWnd);
    platform::ClearDisplayList(bitmap);
    EXPECT_TRUE(platform::WindowDisplayList(m_list).empty());
    return m_list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory));
  };
  m_list.SetBackgroundColor(RGB(1, 2, 3));
  EXPECT_TRUE(erase());
  DrawOps ops = platform::BitmapDisplayList(bitmap);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 45, 100, 200));
  EXPECT_EQ(ops[0].color, RGB(1, 2, 3));

  // Emptied, it erases as usual: no fill in its background colour.
  m_list.ResetContent();
  erase();
  for (const DrawOp& op : platform::BitmapDisplayList(bitmap)) EXPECT_NE(op.color, RGB(1, 2, 3));
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

}  // namespace
