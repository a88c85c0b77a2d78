#include "controls/control_pos.h"

#include <gtest/gtest.h>

#include "controls/testing/control_test_support.h"
#include "platform/testing/reset_for_test.h"

namespace {

// Counts the paints it gets, to tell a repaint at once from a later one.
class CPaintCountingParent : public CTestParent {
 public:
  int paints = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) ++paints;
    return CTestParent::WindowProc(message, wParam, lParam);
  }
};

class ControlPosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateAt(100, 100, 400, 300));
  }
  void TearDown() override { platform::ResetForTest(); }

  HWND Child(int x, int y, int cx, int cy) {
    return ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, cx, cy, m_parent, nullptr, nullptr, nullptr);
  }
  void ResizeParent(int cx, int cy) { ::MoveWindow(m_parent, 100, 100, cx, cy, TRUE); }
  CRect Placement(HWND child) const {
    CRect r;
    ::GetWindowRect(child, &r);
    m_parent.ScreenToClient(&r);
    return r;
  }

  CPaintCountingParent m_parent;
};

TEST_F(ControlPosTest, BelowTheMinimumWidthControlsStopAndComeBackWithTheParent) {
  const HWND ok = Child(300, 250, 80, 25);
  CControlPos pos(&m_parent);
  ASSERT_TRUE(pos.AddControl(ok, CControlPos::kMoveRight));
  pos.SetMinimumSize(300, 0);
  pos.UpdateParentSize();

  ResizeParent(250, 300);
  pos.MoveControls();
  EXPECT_EQ(Placement(ok), CRect(200, 250, 280, 275));  // -100: the width counts as 300

  ResizeParent(400, 300);
  pos.MoveControls();
  EXPECT_EQ(Placement(ok), CRect(300, 250, 380, 275));
}

TEST_F(ControlPosTest, FreeResizingIgnoresTheMinimum) {
  const HWND ok = Child(300, 250, 80, 25);
  CControlPos pos(&m_parent);
  pos.AddControl(ok, CControlPos::kMoveRight);
  pos.SetMinimumSize(300, 0);
  pos.SetFreeResizing(TRUE);
  pos.UpdateParentSize();
  ResizeParent(250, 300);
  pos.MoveControls();
  EXPECT_EQ(Placement(ok), CRect(150, 250, 230, 275));
}

TEST_F(ControlPosTest, EachFlagMovesOrStretchesItsOwnEdges) {
  const HWND list = Child(10, 10, 200, 100);
  const HWND button = Child(10, 200, 80, 25);
  const HWND fixed = Child(10, 250, 80, 25);
  CControlPos pos(&m_parent);
  pos.AddControl(list, CControlPos::kMoveRight | CControlPos::kStretchDown);
  pos.AddControl(button, CControlPos::kMoveDown | CControlPos::kStretchRight);
  pos.AddControl(fixed, 0);
  pos.UpdateParentSize();
  ResizeParent(450, 340);
  pos.MoveControls();
  EXPECT_EQ(Placement(list), CRect(60, 10, 260, 150));
  EXPECT_EQ(Placement(button), CRect(10, 240, 140, 265));
  EXPECT_EQ(Placement(fixed), CRect(10, 250, 90, 275));
}

TEST_F(ControlPosTest, MovingRepaintsTheParentAtOnceAndAForgottenControlIsSkipped) {
  const HWND gone = Child(10, 10, 50, 20);
  const HWND kept = Child(10, 40, 50, 20);
  CControlPos pos(&m_parent);
  EXPECT_FALSE(pos.AddControl(static_cast<HWND>(nullptr), CControlPos::kMoveRight));
  pos.AddControl(gone, CControlPos::kMoveRight);
  pos.AddControl(kept, CControlPos::kMoveRight);
  pos.UpdateParentSize();
  ::DestroyWindow(gone);
  ResizeParent(420, 300);
  platform::PumpMessages();
  m_parent.paints = 0;
  pos.MoveControls();
  EXPECT_EQ(Placement(kept), CRect(30, 40, 80, 60));
  EXPECT_EQ(m_parent.paints, 1) << "the parent was not repainted at once";
}

TEST_F(ControlPosTest, WithoutAParentNothingMoves) {
  const HWND ok = Child(300, 250, 80, 25);
  CControlPos pos;
  pos.AddControl(ok, CControlPos::kMoveRight);
  pos.UpdateParentSize();
  ResizeParent(500, 300);
  pos.MoveControls();
  EXPECT_EQ(Placement(ok), CRect(300, 250, 380, 275));
}

}  // namespace
