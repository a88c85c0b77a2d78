#include "controls/zr_drag_list_ctrl.h"

#include <algorithm>
#include <functional>
#include <memory>
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
  std::function<void()> firstAnswer;  // what the owner does while it gives its first answer

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == CZRDragListCtrl::kQueryLeave) {
      const std::string text = reinterpret_cast<const char*>(wParam);
      asked.push_back(text);
      if (firstAnswer) std::exchange(firstAnswer, nullptr)();
      *result = std::find(refuse.begin(), refuse.end(), text) != refuse.end() ? 1 : 0;
      return TRUE;
    }
    return CTestParent::OnWndMsg(message, wParam, lParam, result);
  }
};

// What a surface shows, through the plain copies that image lists make.
DrawOps Drawn(DrawOps ops) {
  while (ops.size() == 1 && ops[0].kind == DrawKind::Blit && ops[0].sourceOps != nullptr) {
    ops = DrawOps(*ops[0].sourceOps);
  }
  return ops;
}

class DragListTest : public ControlTestOf<CQueryingParent> {
 protected:
  DragListTest() : ControlTestOf(CRect(50, 50, 550, 400)) {}
  void SetUp() override {
    ControlTestOf::SetUp();
    Make(m_left, 1, CRect(10, 10, 210, 250), "a", 5);
    Make(m_right, 2, CRect(250, 10, 450, 250), "b", 3);
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

  CZRDragListCtrl m_left;
  CZRDragListCtrl m_right;
};

// What a list shows of an item: its text, parameter, check and selection.
struct Item {
  std::string text;
  DWORD_PTR param;
  BOOL checked;
  bool selected;
  bool operator==(const Item&) const = default;
};
using Items = std::vector<Item>;

Items Read(const CZRDragListCtrl& list) {
  Items items;
  for (int i = 0; i < list.GetItemCount(); ++i) {
    items.push_back({list.GetItemText(i, 0).GetString(), list.GetItemData(i), list.GetCheck(i),
                     list.GetItemState(i, LVIS_SELECTED) != 0});
  }
  return items;
}

// Seeded drags by the mouse within a list or across (the right one takes one
// selection only), the pointer wandering first; dropped on an item, below the
// items, outside any list, or ended by a lost capture; the owner refusing some
// items. After each the lists must hold what a model of them says.
TEST_F(DragListTest, SeededDragsMoveTheItemsAsAModelOfTheTwoListsSays) {
  m_right.ModifyStyle(0, LVS_SINGLESEL);
  for (CZRDragListCtrl* list : {&m_left, &m_right}) list->SetExtendedStyle(LVS_EX_CHECKBOXES);
  m_left.SetCheck(2, TRUE);
  m_right.SetCheck(0, TRUE);
  m_left.SetItemText(3, 0, std::string(300, 'w').c_str());
  Items model[2] = {Read(m_left), Read(m_right)};
  CZRDragListCtrl* lists[2] = {&m_left, &m_right};
  const POINT outside{230, 100};  // between the lists
  std::mt19937 random(38);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 2000 && !HasFatalFailure(); ++step) {
    const int from = pick(2), kind = pick(8);  // 0 outside, 1 capture lost, 2-4 across, 5-7 within
    const int to = kind >= 2 && kind <= 4 ? 1 - from : from;
    CZRDragListCtrl &source = *lists[from], &target = *lists[to];
    Items &was = model[from], &into = model[to];
    const int count = source.GetItemCount();
    if (count == 0) continue;
    std::vector<int> dragged;
    for (int i = 0; i < count && from == 0; ++i) {
      if (pick(3) == 0) dragged.push_back(i);
    }
    if (dragged.empty()) dragged.push_back(pick(count));
    const auto isDragged = [&](int i) { return std::find(dragged.begin(), dragged.end(), i) != dragged.end(); };
    std::string trace = "step " + std::to_string(step) + ", kind " + std::to_string(kind);

    StartDrag(source, dragged, static_cast<size_t>(pick(static_cast<int>(dragged.size()))));
    // The image joins the dragged items' own images (each showing its label)
    // in the union of their rectangles, on transparent green.
    ASSERT_TRUE(platform::CurrentDragImage().shown);
    const DrawOps composite = Drawn(platform::BitmapDisplayList(platform::CurrentDragImage().image));
    ASSERT_EQ(composite.size(), dragged.size() + 1) << trace;
    CRect first, last;
    source.GetItemRect(dragged.front(), &first, LVIR_BOUNDS);
    source.GetItemRect(dragged.back(), &last, LVIR_BOUNDS);
    EXPECT_EQ(composite[0].color, RGB(0, 255, 0));
    EXPECT_EQ(CRect(composite[0].rect), CRect(0, 0, first.Width(), last.bottom - first.top)) << trace;
    EXPECT_EQ(composite.back().rect.top, last.top - first.top) << trace;
    ASSERT_NE(composite.back().sourceOps, nullptr);
    const DrawOps texts = platform::OpsOfKind(Drawn(*composite.back().sourceOps), DrawKind::Text);
    EXPECT_EQ(texts.at(0).text, was[static_cast<size_t>(dragged.back())].text) << trace;
    for (int i = 0; i < count; ++i) was[static_cast<size_t>(i)].selected = isDragged(i);
    // A drop on no item goes behind the last item the pointer was over; over the
    // header or below the list a tick moves that a row up or down.
    int highlighted = -1;
    for (int moves = pick(4); moves > 0; --moves) {
      const int over = pick(count + 3) - 3;  // -3, -2: the header, below the list; -1: below the items
      const POINT scrolling{30, over == -3 ? 3 : 260};
      input::MouseMove(source, over >= 0 ? On(source, over) : over == -1 ? Below(source) : scrolling);
      if (over < -1) {
        input::Advance(CZRDragListCtrl::kScrollPeriodMs);
        if (const int next = highlighted + (over == -3 ? -1 : 1); next >= 0 && next < count) highlighted = next;
      }
      if (over >= 0) highlighted = over;
    }
    ASSERT_EQ(source.HighlightedItem(), highlighted) << trace;
    if (kind < 2) {  // nothing changes, the dragged items stay selected
      if (kind == 0) input::MouseMove(m_parent, outside);
      if (kind == 1 && pick(2) == 0) ::SetCapture(lists[1 - from]->m_hWnd);
      if (kind == 1) ::ReleaseCapture();
      input::ButtonUp(m_parent, outside);
    } else {
      const int on = from == to && pick(2) == 0 ? -1 : pick(target.GetItemCount() + 1) - 1;  // -1: below the items
      const POINT at = on >= 0 ? On(target, on) : target.GetItemCount() > 0 ? Below(target) : POINT{60, 60};
      trace += " on " + std::to_string(on);
      m_parent.refuse.clear();
      for (const int index : dragged) {
        if (from != to && pick(4) == 0) m_parent.refuse.push_back(was[static_cast<size_t>(index)].text);
      }
      platform::ClearMessageBoxLog();
      input::MouseMove(target, at);
      input::ButtonUp(target, at);
      // Within a list the items go, in order, behind the drop item (the end
      // without one), nothing selected. Across, each one not refused goes in at
      // the drop item (the end without one), so they land last first, selected;
      // a refused one stays, and a box names it.
      const int drop = from == to && on < 0 ? highlighted : on;
      int insert = drop < 0 ? static_cast<int>(into.size()) : drop + (from == to);
      Items moving;
      Texts boxes;
      for (int i = count - 1; i >= 0; --i) {
        const auto item = was.begin() + i;
        if (!isDragged(i)) continue;
        if (std::find(m_parent.refuse.begin(), m_parent.refuse.end(), item->text) != m_parent.refuse.end()) {
          boxes.insert(boxes.begin(), item->text + " cannot be removed");
          continue;
        }
        moving.insert(moving.begin(), *item);
        moving.front().text.resize(std::min<size_t>(item->text.size(), 255));  // the most a move carries
        was.erase(item);
        if (from == to && i < insert) --insert;
      }
      for (auto& item : into) item.selected = false;
      if (from == to) {
        for (auto& item : moving) item.selected = false;
        into.insert(into.begin() + insert, moving.begin(), moving.end());
      } else if (!moving.empty()) {
        into.insert(into.begin() + insert, moving.rbegin(), moving.rend());
        ASSERT_EQ(target.GetNextItem(-1, LVNI_FOCUSED), insert) << trace;
      }
      Texts shown;
      for (const auto& box : platform::MessageBoxLog()) shown.push_back(box.text);
      ASSERT_EQ(shown, boxes) << trace;
    }
    ASSERT_TRUE(!source.IsDragging() && !source.ScrollTimerRunning() && ::GetCapture() == nullptr) << trace;
    ASSERT_TRUE((m_right.GetStyle() & LVS_SINGLESEL) && !(m_left.GetStyle() & LVS_SINGLESEL)) << trace;
    ASSERT_EQ(Read(m_left), model[0]) << trace;
    ASSERT_EQ(Read(m_right), model[1]) << trace;
  }
}

// An item the owner deletes while it answers is not carried, and one it
// inserts moves no other item into a dragged item's place; a list's first
// drag, within it, is not followed so. A list going mid-drag ends its drag
// (not another's) and takes its tool-tip along.
TEST_F(DragListTest, WhatTheOwnerDeletesOrAListGoneMidDragIsNotCarried) {
  StartDrag(m_left, {1, 3});
  input::ButtonUp(m_left, On(m_left, 4));  // a0 a2 a4 a1 a3
  m_parent.firstAnswer = [this] {
    m_left.DeleteItem(0);
    m_left.InsertItem(3, "n");
  };
  StartDrag(m_left, {0, 4});
  input::ButtonUp(m_right, Below(m_right));
  EXPECT_EQ(m_parent.asked, (Texts{"a0", "a3"}));
  EXPECT_EQ(TextsOf(m_left), (Texts{"a2", "a4", "a1", "n"}));
  EXPECT_EQ(TextsOf(m_right), (Texts{"b0", "b1", "b2", "a3"}));

  for (const bool midDrag : {false, true}) {
    auto going = std::make_unique<CZRDragListCtrl>();
    Make(*going, 3, CRect(10, 260, 210, 330), "g", 2);
    const HWND tip = going->GetToolTip();
    ASSERT_TRUE(::IsWindow(tip));
    StartDrag(*going, {0});
    input::ButtonUp(*going, Below(*going));
    StartDrag(midDrag ? *going : m_left, {1});
    ASSERT_TRUE(platform::CurrentDragImage().dragging);
    going.reset();
    EXPECT_EQ(platform::CurrentDragImage().dragging, !midDrag) << midDrag;
    EXPECT_FALSE(::IsWindow(tip));
    input::ButtonUp(m_left, On(m_left, 1));
  }
}

// Over the header or below the client area a drag scrolls a row per tick. The
// list is wide enough for its columns beside a vertical bar, so no horizontal
// bar takes its rows' room.
TEST_F(DragListTest, BeyondTheItemsADragScrollsOneRowPerTick) {
  CZRDragListCtrl tall;
  Make(tall, 3, CRect(10, 260, 230, 330), "t", 20);
  tall.EnsureVisible(19, FALSE);
  const int top = tall.GetTopIndex();
  ASSERT_GT(top, 3);
  StartDrag(tall, {top + 1});
  CRect header, client;
  tall.GetHeaderCtrl()->GetWindowRect(&header);
  tall.GetClientRect(&client);
  for (const int y : {header.Height(), client.bottom - 1, header.Height() - 1}) {
    input::MouseMove(tall, POINT{30, y});
    EXPECT_EQ(tall.ScrollTimerRunning(), y < header.Height()) << y;
  }
  input::Advance(100);
  EXPECT_EQ(tall.GetTopIndex(), top - 1);
  input::MouseMove(tall, POINT{30, client.bottom});
  input::Advance(200);
  EXPECT_EQ(tall.GetTopIndex(), top);
  input::ButtonUp(tall, POINT{30, client.bottom});
}

}  // namespace
