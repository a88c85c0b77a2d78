#include "controls/zr_drag_list_ctrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "controls/testing/control_test_support.h"
#include "platform/comctl/image_list_drag.h"
#include "platform/testing/reset_for_test.h"
#include "platform/user/message_box.h"

namespace {

using platform::input::ButtonDown;
using platform::input::ButtonUp;

// A parent that records the texts the lists ask about and refuses some.
class CQueryingParent : public CTestParent {
 public:
  std::vector<std::string> asked;
  std::vector<std::string> refuse;
  CZRDragListCtrl* shrink = nullptr;  // loses its last item at the first question

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == CZRDragListCtrl::kQueryLeave) {
      const std::string text = reinterpret_cast<const char*>(wParam);
      asked.push_back(text);
      if (shrink != nullptr) shrink->DeleteItem(std::exchange(shrink, nullptr)->GetItemCount() - 1);
      *result = std::find(refuse.begin(), refuse.end(), text) != refuse.end() ? 1 : 0;
      return TRUE;
    }
    return CTestParent::OnWndMsg(message, wParam, lParam, result);
  }
};

// What a surface shows, through the plain copies that image lists make.
platform::DrawOps Drawn(platform::DrawOps ops) {
  while (ops.size() == 1 && ops[0].kind == platform::DrawKind::Blit && ops[0].sourceOps != nullptr) {
    const platform::DrawOps next = *ops[0].sourceOps;
    ops = next;
  }
  return ops;
}

class DragListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateAt(50, 50, 500, 300));
    Make(m_left, 1, CRect(10, 10, 210, 210), "a", 5);
    Make(m_right, 2, CRect(250, 10, 450, 210), "b", 3);
  }
  void TearDown() override { platform::ResetForTest(); }

  void Make(CZRDragListCtrl& list, UINT id, const CRect& at, const std::string& prefix, int count, DWORD extra = 0) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | extra, at, &m_parent, id));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 150);
    list.InsertColumn(1, "Other", LVCFMT_LEFT, 40);
    for (int i = 0; i < count; ++i) {
      list.InsertItem(i, (prefix + std::to_string(i)).c_str());
      list.SetItemText(i, 1, "x");
      list.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
    }
  }
  static std::vector<std::string> Texts(const CZRDragListCtrl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.emplace_back(list.GetItemText(i, 0).GetString());
    return texts;
  }
  static POINT On(const CZRDragListCtrl& list, int item) {
    CRect r;
    list.GetItemRect(item, &r, LVIR_LABEL);
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  }
  static void Select(CZRDragListCtrl& list, std::initializer_list<int> items) {
    bool first = true;
    for (int item : items) {
      platform::input::ClickAt(list, On(list, item), first ? platform::input::kNone : platform::input::kControl);
      first = false;
    }
  }
  // Presses on `from`, moves far enough for the list to start a drag.
  static void StartDrag(CZRDragListCtrl& list, int from) {
    const POINT p = On(list, from);
    ASSERT_TRUE(ButtonDown(list, p));
    platform::input::MouseMove(list, POINT{p.x + 10, p.y + 6});
  }

  CQueryingParent m_parent;
  CZRDragListCtrl m_left;
  CZRDragListCtrl m_right;
};

TEST_F(DragListTest, ItemsOneAndThreeDroppedOnFourKeepTheirOrderBehindIt) {
  m_left.SetItemText(3, 0, std::string(300, 'L').c_str());  // a move carries 255 characters of it
  Select(m_left, {1, 3});
  StartDrag(m_left, 3);
  ASSERT_TRUE(m_left.IsDragging());
  EXPECT_EQ(m_left.DraggedItems(), (std::vector<int>{1, 3}));
  EXPECT_EQ(::GetCapture(), m_left.GetSafeHwnd());
  platform::input::MouseMove(m_left, On(m_left, 4));
  EXPECT_EQ(m_left.DropIndex(), 4);
  ButtonUp(m_left, On(m_left, 4));

  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a2", "a4", "a1", std::string(255, 'L')}));
  // Parameters travel with their items.
  EXPECT_EQ(m_left.GetItemData(3), 101u);
  EXPECT_EQ(m_left.GetItemData(4), 103u);
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(platform::CurrentDragImage().dragging);
  EXPECT_EQ(::GetFocus(), m_left.GetSafeHwnd());
}

TEST_F(DragListTest, DroppingUpwardsAndOnItselfKeepsEveryItem) {
  Select(m_left, {3, 4});
  StartDrag(m_left, 4);
  platform::input::MouseMove(m_left, On(m_left, 0));
  ButtonUp(m_left, On(m_left, 0));
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a3", "a4", "a1", "a2"}));

  // An item dropped on the one just above it stays where it is.
  Select(m_left, {2});
  StartDrag(m_left, 2);
  platform::input::MouseMove(m_left, On(m_left, 1));
  ButtonUp(m_left, On(m_left, 1));
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a3", "a4", "a1", "a2"}));

  // So does the first of two; the second follows it.
  Select(m_left, {1, 3});
  StartDrag(m_left, 3);
  platform::input::MouseMove(m_left, On(m_left, 0));
  ButtonUp(m_left, On(m_left, 0));
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a3", "a1", "a4", "a2"}));
}

TEST_F(DragListTest, ADropWhereNoItemWasMarkedAppendsWhateverTheLastDragLeft) {
  Select(m_left, {1});
  StartDrag(m_left, 1);
  platform::input::MouseMove(m_left, On(m_left, 3));
  ButtonUp(m_left, On(m_left, 3));
  ASSERT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a2", "a3", "a1", "a4"}));

  // Released at once over empty space: no item was marked in this drag.
  Select(m_left, {0});
  StartDrag(m_left, 0);
  ButtonUp(m_left, POINT{60, On(m_left, 4).y + 40});
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a2", "a3", "a1", "a4", "a0"}));
}

TEST_F(DragListTest, TheDragImageJoinsEveryDraggedItemOnTransparentGreen) {
  Select(m_left, {1, 3});
  const POINT press = On(m_left, 3);
  ASSERT_TRUE(ButtonDown(m_left, press));
  platform::input::MouseMove(m_left, POINT{press.x + 10, press.y + 6});

  const platform::DragImageState drag = platform::CurrentDragImage();
  ASSERT_TRUE(drag.dragging);
  EXPECT_TRUE(drag.shown);
  EXPECT_EQ(drag.lock, ::GetDesktopWindow());
  CRect first;
  CRect last;
  m_left.GetItemRect(1, &first, LVIR_BOUNDS);
  m_left.GetItemRect(3, &last, LVIR_BOUNDS);
  // The hot spot is where the press was, within the union of both rows.
  EXPECT_EQ(drag.hotspot.x, press.x - first.left);
  EXPECT_EQ(drag.hotspot.y, press.y - first.top);
  // It enters where the press was, in screen coordinates, and then follows the pointer.
  CPoint screen(press);
  m_left.ClientToScreen(&screen);
  EXPECT_EQ(drag.position.x, screen.x);
  EXPECT_EQ(drag.position.y, screen.y);
  platform::input::MouseMove(m_left, On(m_left, 2));
  screen = On(m_left, 2);
  m_left.ClientToScreen(&screen);
  EXPECT_EQ(platform::CurrentDragImage().position.x, screen.x);
  EXPECT_EQ(platform::CurrentDragImage().position.y, screen.y);
  EXPECT_TRUE(platform::CurrentDragImage().shown);

  // The drag's copy comes from the image list's copy of the composite,
  // which the list drew: follow the plain copies down to it.
  const platform::DrawOps composite = Drawn(platform::BitmapDisplayList(drag.image));
  ASSERT_EQ(composite.size(), 3u);
  EXPECT_EQ(composite[0].kind, platform::DrawKind::FillRect);
  EXPECT_EQ(composite[0].color, RGB(0, 255, 0));
  EXPECT_EQ(CRect(composite[0].rect), CRect(0, 0, first.Width(), last.bottom - first.top));
  EXPECT_EQ(composite[1].kind, platform::DrawKind::Blit);
  EXPECT_EQ(composite[1].rect.top, 0);
  EXPECT_EQ(composite[2].kind, platform::DrawKind::Blit);
  EXPECT_EQ(composite[2].rect.top, last.top - first.top);
  // Each item's own image shows its label.
  ASSERT_NE(composite[2].sourceOps, nullptr);
  const platform::DrawOps texts = platform::OpsOfKind(Drawn(*composite[2].sourceOps), platform::DrawKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "a3");
  ButtonUp(m_left, press);
}

TEST_F(DragListTest, TheHighlightFollowsThePointerAndGivesBackTheSelection) {
  Select(m_left, {1});
  StartDrag(m_left, 1);
  platform::input::MouseMove(m_left, On(m_left, 2));
  EXPECT_EQ(m_left.HighlightedItem(), 2);
  EXPECT_TRUE(m_left.GetItemState(2, LVIS_SELECTED));
  platform::input::MouseMove(m_left, On(m_left, 4));
  EXPECT_EQ(m_left.HighlightedItem(), 4);
  EXPECT_FALSE(m_left.GetItemState(2, LVIS_SELECTED)) << "the earlier highlight keeps its selection";
  EXPECT_TRUE(m_left.GetItemState(1, LVIS_SELECTED));
  // Moving over the dragged item itself leaves it selected when the highlight moves on.
  platform::input::MouseMove(m_left, On(m_left, 1));
  platform::input::MouseMove(m_left, On(m_left, 0));
  EXPECT_TRUE(m_left.GetItemState(1, LVIS_SELECTED));
  ButtonUp(m_left, On(m_left, 0));
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a1", "a2", "a3", "a4"}));
}

TEST_F(DragListTest, AcrossListsARefusedItemStaysWithItsBoxAndTheOthersAppend) {
  m_parent.refuse = {"a3"};
  platform::ClearMessageBoxLog();
  Select(m_left, {1, 3, 4});
  StartDrag(m_left, 1);
  // Empty space below the last item of the other list.
  const POINT below{60, On(m_right, 2).y + 40};
  platform::input::MouseMove(m_right, below);
  ButtonUp(m_right, below);

  EXPECT_EQ(m_parent.asked, (std::vector<std::string>{"a1", "a3", "a4"}));
  const auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "a3 cannot be removed");
  EXPECT_FALSE(boxes[0].caption.has_value());
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a2", "a3"}));
  // Each goes in at the same index: the end of the list as it was.
  EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"b0", "b1", "b2", "a4", "a1"}));
  EXPECT_TRUE(m_right.GetItemState(3, LVIS_SELECTED));
  EXPECT_TRUE(m_right.GetItemState(4, LVIS_SELECTED));
  EXPECT_EQ(m_right.GetItemData(4), 101u);
  EXPECT_EQ(m_right.GetItemText(4, 1), "") << "other columns stay behind";
  EXPECT_EQ(::GetFocus(), m_right.GetSafeHwnd());
}

TEST_F(DragListTest, AcrossListsAnItemTheOwnerDeletesWhileAnsweringIsNotCarried) {
  m_parent.shrink = &m_left;
  Select(m_left, {1, 4});
  StartDrag(m_left, 1);
  const POINT below{60, On(m_right, 2).y + 40};
  platform::input::MouseMove(m_right, below);
  ButtonUp(m_right, below);
  EXPECT_EQ(m_parent.asked, std::vector<std::string>{"a1"});
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a2", "a3"}));
  EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"b0", "b1", "b2", "a1"}));
}

TEST_F(DragListTest, AcrossListsTheLabelUnderThePointerIsTheInsertionPointAndChecksTravel) {
  m_left.SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_right.SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_left.SetCheck(2, TRUE);
  Select(m_left, {2});
  StartDrag(m_left, 2);
  platform::input::MouseMove(m_right, On(m_right, 1));
  ASSERT_EQ(m_left.HighlightedItem(), 1) << "the probe marks the item of the source at the pointer's height";
  ButtonUp(m_right, On(m_right, 1));
  EXPECT_EQ(m_left.GetSelectedCount(), 0u) << "the highlight is given back where it was";
  EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"b0", "a2", "b1", "b2"}));
  EXPECT_TRUE(m_right.GetCheck(1));
  EXPECT_FALSE(m_right.GetCheck(2));
  EXPECT_EQ(m_left.GetItemCount(), 4);

  // An unchecked item arrives unchecked.
  Select(m_left, {2});  // a3
  StartDrag(m_left, 2);
  platform::input::MouseMove(m_right, On(m_right, 1));
  ButtonUp(m_right, On(m_right, 1));
  EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"b0", "a3", "a2", "b1", "b2"}));
  EXPECT_FALSE(m_right.GetCheck(1));
  EXPECT_TRUE(m_right.GetCheck(2));
}

TEST_F(DragListTest, DroppingOutsideAnyDragListChangesNothing) {
  Select(m_left, {0, 2});
  StartDrag(m_left, 2);
  platform::input::MouseMove(m_left, On(m_left, 4));
  ButtonUp(m_parent, POINT{230, 250});
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a1", "a2", "a3", "a4"}));
  EXPECT_EQ(Texts(m_right), (std::vector<std::string>{"b0", "b1", "b2"}));
  EXPECT_FALSE(m_left.GetItemState(4, LVIS_SELECTED)) << "the highlight was given back";
  EXPECT_TRUE(m_parent.asked.empty());
}

// The short lists below are wide enough for their columns beside a vertical
// scroll bar, so that no horizontal bar takes their rows' room.
TEST_F(DragListTest, HoldingThePointerAboveTheItemsScrollsOneRowPerTick) {
  CZRDragListCtrl tall;
  Make(tall, 3, CRect(10, 220, 230, 290), "t", 20);
  tall.EnsureVisible(19, FALSE);
  const int top = tall.GetTopIndex();
  ASSERT_GT(top, 3);
  Select(tall, {top + 1});
  StartDrag(tall, top + 1);
  platform::input::MouseMove(tall, On(tall, top));
  ASSERT_EQ(tall.DropIndex(), top);
  platform::input::MouseMove(tall, POINT{30, 3});  // on the header
  EXPECT_EQ(tall.ScrollDirectionNow(), CZRDragListCtrl::kScrollUp);
  EXPECT_TRUE(tall.ScrollTimerRunning());

  platform::input::Advance(99);
  EXPECT_EQ(tall.GetTopIndex(), top);
  platform::input::Advance(1);
  EXPECT_EQ(tall.GetTopIndex(), top - 1);
  EXPECT_EQ(tall.HighlightedItem(), top - 1);
  platform::input::Advance(100);
  EXPECT_EQ(tall.GetTopIndex(), top - 2);
  EXPECT_EQ(tall.HighlightedItem(), top - 2);
  EXPECT_FALSE(tall.GetItemState(top - 1, LVIS_SELECTED));

  // Back over the items the scrolling stops.
  platform::input::MouseMove(tall, On(tall, tall.GetTopIndex() + 1));
  EXPECT_FALSE(tall.ScrollTimerRunning());
  platform::input::Advance(300);
  EXPECT_EQ(tall.GetTopIndex(), top - 2);
  ButtonUp(tall, On(tall, tall.GetTopIndex() + 1));
  EXPECT_FALSE(tall.ScrollTimerRunning());
}

TEST_F(DragListTest, BelowTheClientAreaItScrollsDown) {
  CZRDragListCtrl tall;
  Make(tall, 3, CRect(10, 220, 230, 290), "t", 20);
  Select(tall, {0});
  StartDrag(tall, 0);
  platform::input::MouseMove(tall, On(tall, 1));
  CRect client;
  tall.GetClientRect(&client);
  platform::input::MouseMove(tall, POINT{30, client.bottom + 5});
  EXPECT_EQ(tall.ScrollDirectionNow(), CZRDragListCtrl::kScrollDown);
  platform::input::Advance(200);
  EXPECT_EQ(tall.GetTopIndex(), 2);
  EXPECT_EQ(tall.HighlightedItem(), 3);
  ButtonUp(tall, POINT{30, client.bottom + 5});
}

TEST_F(DragListTest, ASingleSelectionListGetsItsStyleBack) {
  CZRDragListCtrl single;
  Make(single, 3, CRect(10, 220, 230, 290), "s", 3, LVS_SINGLESEL);
  Select(single, {0});
  StartDrag(single, 0);
  EXPECT_FALSE(single.GetStyle() & LVS_SINGLESEL) << "off while dragging";
  platform::input::MouseMove(single, On(single, 1));
  ButtonUp(single, On(single, 1));
  EXPECT_EQ(Texts(single), (std::vector<std::string>{"s1", "s0", "s2"}));
  EXPECT_TRUE(single.GetStyle() & LVS_SINGLESEL);

  // Also when the drop goes to another list.
  Select(single, {2});
  StartDrag(single, 2);
  platform::input::MouseMove(m_right, On(m_right, 0));
  ButtonUp(m_right, On(m_right, 0));
  EXPECT_EQ(Texts(m_right).front(), "s2");
  EXPECT_TRUE(single.GetStyle() & LVS_SINGLESEL);
}

TEST_F(DragListTest, ALostCaptureEndsTheDragWithoutADrop) {
  Select(m_left, {1});
  StartDrag(m_left, 1);
  platform::input::MouseMove(m_left, On(m_left, 3));
  platform::input::MouseMove(m_left, POINT{30, 3});
  ASSERT_TRUE(m_left.ScrollTimerRunning());
  ::SetCapture(m_right);
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_FALSE(m_left.ScrollTimerRunning());
  EXPECT_FALSE(platform::CurrentDragImage().dragging);
  EXPECT_FALSE(m_left.GetItemState(3, LVIS_SELECTED));
  ::ReleaseCapture();
  ButtonUp(m_left, On(m_left, 3));
  EXPECT_EQ(Texts(m_left), (std::vector<std::string>{"a0", "a1", "a2", "a3", "a4"}));
}

TEST_F(DragListTest, APressWithoutMovingStillSelectsOneItem) {
  Select(m_left, {1, 3});
  ASSERT_EQ(m_left.GetSelectedCount(), 2u);
  platform::input::ClickAt(m_left, On(m_left, 1));
  EXPECT_EQ(m_left.GetSelectedCount(), 1u);
  EXPECT_TRUE(m_left.GetItemState(1, LVIS_SELECTED));
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_NE(m_left.ToolTip(), nullptr);
}

}  // namespace
