#include "controls/control_pos.h"

#include "controls/testing/control_test_support.h"

namespace {

// The parent is 400 by 300; each test adds children, resizes it and moves them.
class ControlPosTest : public ControlTest {
 protected:
  HWND Child(int x, int y, int cx, int cy) {
    return ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, cx, cy, m_parent, nullptr, nullptr, nullptr);
  }
  void ResizeParentAndMove(CControlPos& pos, int cx, int cy) {
    ::MoveWindow(m_parent, 100, 100, cx, cy, TRUE);
    pos.MoveControls();
  }
  CRect Placement(HWND child) const {
    CRect r;
    ::GetWindowRect(child, &r);
    m_parent.ScreenToClient(&r);
    return r;
  }
};

TEST_F(ControlPosTest, EachFlagMovesOrStretchesItsOwnEdges) {
  const HWND list = Child(10, 10, 200, 100);
  const HWND button = Child(10, 200, 80, 25);
  const HWND fixed = Child(10, 250, 80, 25);
  CControlPos pos(&m_parent);
  pos.AddControl(list, CControlPos::kMoveRight | CControlPos::kStretchDown);
  pos.AddControl(button, CControlPos::kMoveDown | CControlPos::kStretchRight);
  pos.AddControl(fixed, 0);
  pos.UpdateParentSize();
  ResizeParentAndMove(pos, 450, 340);
  EXPECT_EQ(Placement(list), CRect(60, 10, 260, 150));
  EXPECT_EQ(Placement(button), CRect(10, 240, 140, 265));
  EXPECT_EQ(Placement(fixed), CRect(10, 250, 90, 275));
}

// Below the minimum width the controls stop, and come back with the parent,
// unless resizing is free; without a parent nothing moves.
TEST_F(ControlPosTest, TheMinimumWidthHoldsControlsUnlessResizingIsFree) {
  const struct { bool parent, free; int width; int left; } cases[] = {
      {true, false, 250, 200}, {true, false, 400, 300}, {true, true, 250, 150}, {false, false, 500, 300},
  };
  const HWND ok = Child(300, 250, 80, 25);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "parent " << c.parent << " free " << c.free << " width " << c.width);
    ::MoveWindow(m_parent, 100, 100, 400, 300, TRUE);
    ::MoveWindow(ok, 300, 250, 80, 25, TRUE);
    CControlPos pos(c.parent ? &m_parent : nullptr);
    ASSERT_TRUE(pos.AddControl(ok, CControlPos::kMoveRight));
    pos.SetMinimumSize(300, 0);
    pos.SetFreeResizing(c.free);
    pos.UpdateParentSize();
    ResizeParentAndMove(pos, 250, 300);  // the width counts as 300 unless free
    ResizeParentAndMove(pos, c.width, 300);
    EXPECT_EQ(Placement(ok), CRect(c.left, 250, c.left + 80, 275));
  }
}

}  // namespace
