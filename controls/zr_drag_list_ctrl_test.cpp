#include "controls/zr_drag_list_ctrl.h"

#include <random>
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
  // Selects `items` and presses on one of them (the last unless told),
  // moving far enough for the list to start a drag.
  static void StartDrag(CZRDragListCtrl& list, const std::vector<int>& items, size_t pressed = SIZE_MAX) {
    for (int item : items) {
      input::ClickAt(list, On(list, item), item == items.front() ? input::kNone : input::kControl);
    }
    const POINT p = On(list, items[std::min(pressed, items.size() - 1)]);
    ASSERT_TRUE(input::ButtonDown(list, p));
    input::MouseMove(list, POINT{p.x + 10, p.y + 6});
  }
  // A whole drag of `items`, released at `at` over `target`.
  static void Drag(CZRDragListCtrl& list, const std::vector<int>& items, HWND target, POINT at) {
    StartDrag(list, items);
    input::MouseMove(target, at);
    input::ButtonUp(target, at);
  }

  CZRDragListCtrl m_left;
  CZRDragListCtrl m_right;
};

// What two lists should hold: each item's text, parameter and check, in order.
struct Item {
  std::string text;
  DWORD_PTR param;
  BOOL checked;
  bool operator==(const Item&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << item.text << ":" << item.param << (item.checked ? "+" : "");
  }
};
using Items = std::vector<Item>;

// A drag of the items at `dragged` (ascending) within one list, dropped on
// item `on` (-1: below the items): they leave and go, in their order, behind
// the items that stood before the drop's next place.
void ModelMoveWithin(Items& items, const std::vector<int>& dragged, int on) {
  const int insert = on < 0 ? static_cast<int>(items.size()) : on + 1;
  Items moving, staying;
  int before = 0;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const bool drags = std::find(dragged.begin(), dragged.end(), i) != dragged.end();
    (drags ? moving : staying).push_back(items[static_cast<size_t>(i)]);
    if (!drags && i < insert) ++before;
  }
  staying.insert(staying.begin() + before, moving.begin(), moving.end());
  items = staying;
}

// Seeded drags within each list and across, dropped on an item or below the
// items, some items refused by the owner, compared with the model after each.
TEST_F(DragListTest, DragsWithinAndAcrossListsMoveTheItemsAsTheModelSays) {
  for (CZRDragListCtrl* list : {&m_left, &m_right}) list->SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_left.SetCheck(2, TRUE);
  m_right.SetCheck(0, TRUE);
  const auto read = [](const CZRDragListCtrl& list) {
    Items items;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      items.push_back({list.GetItemText(i, 0).GetString(), list.GetItemData(i), list.GetCheck(i)});
    }
    return items;
  };
  Items model[2] = {read(m_left), read(m_right)};
  CZRDragListCtrl* lists[2] = {&m_left, &m_right};
  std::mt19937 random(38);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::string trace;
  for (int step = 0; step < 150 && !HasFatalFailure(); ++step) {
    const int from = pick(2);
    const int to = pick(3) == 0 ? 1 - from : from;
    CZRDragListCtrl& source = *lists[from];
    CZRDragListCtrl& target = *lists[to];
    const int count = source.GetItemCount();
    if (count == 0) continue;
    std::vector<int> dragged;
    for (int i = 0; i < count; ++i) {
      if (pick(3) == 0) dragged.push_back(i);
    }
    if (dragged.empty()) dragged.push_back(pick(count));
    const int on = pick(target.GetItemCount() + 1) - 1;  // -1: below the items
    trace += std::to_string(from) + ">" + std::to_string(to) + " on " + std::to_string(on) + "; ";
    m_parent.refuse.clear();
    if (from != to && pick(2) == 0) m_parent.refuse.push_back(model[from][static_cast<size_t>(dragged[0])].text);
    platform::ClearMessageBoxLog();

    StartDrag(source, dragged, static_cast<size_t>(pick(static_cast<int>(dragged.size()))));
    if (from == to) {
      ASSERT_EQ(source.DraggedItems(), dragged) << trace;
    }
    const POINT at = on >= 0 ? On(target, on) : target.GetItemCount() > 0 ? Below(target) : POINT{60, 60};
    input::MouseMove(target, at);
    input::ButtonUp(target, at);
    ASSERT_FALSE(source.IsDragging());
    ASSERT_EQ(::GetCapture(), nullptr);

    if (from == to) {
      ModelMoveWithin(model[from], dragged, on);
    } else {
      // Every item not refused goes in at the same place, so they land last
      // first; a refused one stays, and a box names it.
      const int insert = on < 0 ? static_cast<int>(model[to].size()) : on;
      unsigned carried = 0;
      for (const int index : dragged) {
        const Item& item = model[from][static_cast<size_t>(index)];
        if (m_parent.refuse.empty() || item.text != m_parent.refuse[0]) {
          model[to].insert(model[to].begin() + insert, item);
          ++carried;
        }
      }
      // The items carried are the selection in their new list, the focus on the first.
      ASSERT_EQ(target.GetSelectedCount(), carried) << trace;
      if (carried > 0) {
        ASSERT_EQ(target.GetNextItem(-1, LVNI_FOCUSED), insert) << trace;
      }
      for (auto index = dragged.rbegin(); index != dragged.rend(); ++index) {
        const auto gone = model[from].begin() + *index;
        if (m_parent.refuse.empty() || gone->text != m_parent.refuse[0]) model[from].erase(gone);
      }
      ASSERT_EQ(platform::MessageBoxLog().size(), m_parent.refuse.size()) << trace;
    }
    ASSERT_EQ(read(m_left), model[0]) << trace;
    ASSERT_EQ(read(m_right), model[1]) << trace;
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

// An item the owner deletes while it answers for another is not carried;
// a move carries the first 255 characters of a text.
TEST_F(DragListTest, AMoveCarriesWhatTheOwnerLeftAndTextsOfUpTo255Characters) {
  m_parent.shrink = &m_left;
  Drag(m_left, {0, 4}, m_right, Below(m_right));
  EXPECT_EQ(m_parent.asked, Texts{"a0"});
  EXPECT_EQ(TextsOf(m_left), (Texts{"a1", "a2", "a3"}));
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2", "a0"}));
  m_left.SetItemText(0, 0, std::string(300, 'w').c_str());
  Drag(m_left, {0}, m_left, Below(m_left));
  EXPECT_EQ(TextsOf(m_left), (Texts{"a2", "a3", std::string(255, 'w')}));
}

TEST_F(DragListTest, DroppingOutsideAnyDragListLosingTheCaptureOrTheListChangesNothing) {
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
  StartDrag(m_left, {1});
  ::ReleaseCapture();  // to no window at all
  EXPECT_FALSE(m_left.IsDragging());
  input::ButtonUp(m_left, On(m_left, 3));
  EXPECT_EQ(TextsOf(m_left), (Texts{"a0", "a1", "a2", "a3", "a4"}));
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2"}));

  // A list that goes in the middle of its drag ends it; one whose drag is
  // over leaves another list's drag alone.
  for (const bool midDrag : {false, true}) {
    {
      CZRDragListCtrl going;
      Make(going, 3, CRect(10, 220, 210, 290), "g", 2);
      Drag(going, {0}, going, Below(going));
      StartDrag(midDrag ? going : m_left, {1});
      ASSERT_TRUE(platform::CurrentDragImage().dragging);
    }
    EXPECT_EQ(platform::CurrentDragImage().dragging, !midDrag) << midDrag;
    input::ButtonUp(m_left, On(m_left, 1));
  }
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
