#include "controls/zr_drag_list_ctrl.h"

#include <string>
#include <utility>

#include "controls/testing/control_test_support.h"
#include "platform/comctl/image_list_drag.h"
#include "platform/user/message_box.h"

namespace {

using Texts = std::vector<std::string>;

// A parent that records the texts the lists ask about and refuses some.
class CQueryingParent : public CTestParent {
 public:
  Texts asked;
  Texts refuse;
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

class DragListTest : public ControlTestOf<CQueryingParent> {
 protected:
  DragListTest() : ControlTestOf(CRect(50, 50, 550, 350)) {}
  void SetUp() override {
    ControlTestOf::SetUp();
    Make(m_left, 1, CRect(10, 10, 210, 210), "a", 5);
    Make(m_right, 2, CRect(250, 10, 450, 210), "b", 3);
  }

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
  static Texts TextsOf(const CZRDragListCtrl& list) {
    Texts texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.emplace_back(list.GetItemText(i, 0).GetString());
    return texts;
  }
  static POINT On(const CZRDragListCtrl& list, int item) {
    CRect r;
    list.GetItemRect(item, &r, LVIR_LABEL);
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  }
  // Empty space below the list's last item.
  static POINT Below(const CZRDragListCtrl& list) { return POINT{60, On(list, list.GetItemCount() - 1).y + 40}; }
  // Selects `items` and presses on the last of them, moving far enough for the list to start a drag.
  static void StartDrag(CZRDragListCtrl& list, std::initializer_list<int> items) {
    for (int item : items) {
      input::ClickAt(list, On(list, item), item == *items.begin() ? input::kNone : input::kControl);
    }
    const POINT p = On(list, *(items.end() - 1));
    ASSERT_TRUE(input::ButtonDown(list, p));
    input::MouseMove(list, POINT{p.x + 10, p.y + 6});
  }
  // A whole drag of `items`, released at `at` over `target`.
  static void Drag(CZRDragListCtrl& list, std::initializer_list<int> items, HWND target, POINT at) {
    StartDrag(list, items);
    input::MouseMove(target, at);
    input::ButtonUp(target, at);
  }

  CZRDragListCtrl m_left;
  CZRDragListCtrl m_right;
};

TEST_F(DragListTest, ItemsOneAndThreeDroppedOnFourKeepTheirOrderBehindIt) {
  StartDrag(m_left, {1, 3});
  ASSERT_TRUE(m_left.IsDragging());
  EXPECT_EQ(m_left.DraggedItems(), (std::vector<int>{1, 3}));
  input::MouseMove(m_left, On(m_left, 4));
  EXPECT_EQ(m_left.DropIndex(), 4);
  input::ButtonUp(m_left, On(m_left, 4));
  EXPECT_EQ(TextsOf(m_left), (Texts{"a0", "a2", "a4", "a1", "a3"}));
  EXPECT_EQ(m_left.GetItemData(3), 101u) << "parameters travel with their items";
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
}

// Each step drags on the list the step before left.
TEST_F(DragListTest, DropsUpwardsOnTheItemAboveAndWhereNothingWasMarked) {
  const struct { std::initializer_list<int> items; int dropOn; Texts after; const char* why; } steps[] = {
      {{3, 4}, 0, {"a0", "a3", "a4", "a1", "a2"}, "upwards, behind the item dropped on"},
      {{2}, 1, {"a0", "a3", "a4", "a1", "a2"}, "an item dropped on the one above it stays"},
      {{1, 3}, 0, {"a0", "a3", "a1", "a4", "a2"}, "so does the first of two; the second follows it"},
      {{1}, 3, {"a0", "a1", "a4", "a3", "a2"}, "downwards"},
      {{0}, -1, {"a1", "a4", "a3", "a2", "a0"}, "released at once below the items: appended"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.why);
    if (step.dropOn < 0) {
      StartDrag(m_left, step.items);
      input::ButtonUp(m_left, Below(m_left));
    } else {
      Drag(m_left, step.items, m_left, On(m_left, step.dropOn));
    }
    EXPECT_EQ(TextsOf(m_left), step.after);
  }
}

TEST_F(DragListTest, TheDragImageJoinsEveryDraggedItemOnTransparentGreen) {
  StartDrag(m_left, {1, 3});
  const platform::DragImageState drag = platform::CurrentDragImage();
  ASSERT_TRUE(drag.dragging);
  EXPECT_TRUE(drag.shown);
  CRect first, last;
  m_left.GetItemRect(1, &first, LVIR_BOUNDS);
  m_left.GetItemRect(3, &last, LVIR_BOUNDS);
  // Follow the image list's plain copies down to the composite the list drew.
  const platform::DrawOps composite = Drawn(platform::BitmapDisplayList(drag.image));
  ASSERT_EQ(composite.size(), 3u);
  EXPECT_EQ(composite[0].color, RGB(0, 255, 0));
  EXPECT_EQ(CRect(composite[0].rect), CRect(0, 0, first.Width(), last.bottom - first.top));
  EXPECT_EQ(composite[2].rect.top, last.top - first.top);
  ASSERT_NE(composite[2].sourceOps, nullptr);  // each item's own image shows its label
  const platform::DrawOps texts = platform::OpsOfKind(Drawn(*composite[2].sourceOps), platform::DrawKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "a3");
  input::ButtonUp(m_left, On(m_left, 3));
}

TEST_F(DragListTest, AcrossListsARefusedItemStaysWithItsBoxAndTheOthersAppend) {
  m_parent.refuse = {"a3"};
  platform::ClearMessageBoxLog();
  Drag(m_left, {4, 3, 1}, m_right, Below(m_right));
  EXPECT_EQ(m_parent.asked, (Texts{"a1", "a3", "a4"}));
  const auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "a3 cannot be removed");
  EXPECT_EQ(TextsOf(m_left), (Texts{"a0", "a2", "a3"}));
  // Each goes in at the same index: the end of the list as it was.
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2", "a4", "a1"}));
  EXPECT_EQ(m_right.GetItemData(4), 101u);

  // An item the owner deletes while answering is not carried.
  m_parent.asked.clear();
  m_parent.shrink = &m_left;
  Drag(m_left, {0, 2}, m_right, Below(m_right));
  EXPECT_EQ(m_parent.asked, Texts{"a0"});
  EXPECT_EQ(TextsOf(m_left), (Texts{"a2"}));
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2", "a4", "a1", "a0"}));
}

TEST_F(DragListTest, AcrossListsTheLabelUnderThePointerIsTheInsertionPointAndChecksTravel) {
  m_left.SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_right.SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_left.SetCheck(2, TRUE);
  StartDrag(m_left, {2});
  input::MouseMove(m_right, On(m_right, 1));
  ASSERT_EQ(m_left.HighlightedItem(), 1) << "the probe marks the item of the source at the pointer's height";
  input::ButtonUp(m_right, On(m_right, 1));
  EXPECT_EQ(m_left.GetSelectedCount(), 0u) << "the highlight is given back where it was";
  Drag(m_left, {2}, m_right, On(m_right, 1));  // a3, unchecked
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "a3", "a2", "b1", "b2"}));
  EXPECT_EQ(std::vector<BOOL>({m_right.GetCheck(1), m_right.GetCheck(2), m_right.GetCheck(3)}),
            std::vector<BOOL>({FALSE, TRUE, FALSE}));
}

TEST_F(DragListTest, DroppingOutsideAnyDragListOrLosingTheCaptureChangesNothing) {
  StartDrag(m_left, {0, 2});
  input::MouseMove(m_left, On(m_left, 4));
  input::ButtonUp(m_parent, POINT{230, 250});
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_TRUE(m_parent.asked.empty());

  StartDrag(m_left, {1});
  input::MouseMove(m_left, On(m_left, 3));
  input::MouseMove(m_left, POINT{30, 3});
  ASSERT_TRUE(m_left.ScrollTimerRunning());
  ::SetCapture(m_right);
  EXPECT_FALSE(m_left.IsDragging());
  EXPECT_FALSE(m_left.ScrollTimerRunning());
  ::ReleaseCapture();
  input::ButtonUp(m_left, On(m_left, 3));
  EXPECT_EQ(TextsOf(m_left), (Texts{"a0", "a1", "a2", "a3", "a4"}));
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2"}));
}

// The short list is wide enough for its columns beside a vertical scroll
// bar, so that no horizontal bar takes its rows' room.
TEST_F(DragListTest, BeyondTheItemsItScrollsOneRowPerTickUntilThePointerComesBack) {
  CZRDragListCtrl tall;
  Make(tall, 3, CRect(10, 220, 230, 290), "t", 20);
  tall.EnsureVisible(19, FALSE);
  const int top = tall.GetTopIndex();
  ASSERT_GT(top, 3);
  StartDrag(tall, {top + 1});
  input::MouseMove(tall, On(tall, top));
  input::MouseMove(tall, POINT{30, 3});  // on the header
  EXPECT_EQ(tall.ScrollDirectionNow(), CZRDragListCtrl::kScrollUp);
  input::Advance(100);
  EXPECT_EQ(tall.GetTopIndex(), top - 1);
  EXPECT_EQ(tall.HighlightedItem(), top - 1);
  input::MouseMove(tall, On(tall, tall.GetTopIndex()));  // back over the items
  EXPECT_FALSE(tall.ScrollTimerRunning());

  // Below the client area it scrolls down.
  CRect client;
  tall.GetClientRect(&client);
  input::MouseMove(tall, POINT{30, client.bottom + 5});
  EXPECT_EQ(tall.ScrollDirectionNow(), CZRDragListCtrl::kScrollDown);
  input::Advance(100);
  EXPECT_EQ(tall.HighlightedItem(), top) << "one row further down per tick";
  input::Advance(100);
  EXPECT_EQ(tall.GetTopIndex(), top);
  EXPECT_EQ(tall.HighlightedItem(), top + 1) << "the last row shown: two fit";
  input::ButtonUp(tall, POINT{30, client.bottom + 5});
  EXPECT_FALSE(tall.ScrollTimerRunning());
}

}  // namespace
