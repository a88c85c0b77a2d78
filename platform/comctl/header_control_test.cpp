#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/comctl/cheaderctrl.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/input/input_driver.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_test.h"

namespace {

namespace input = platform::input;
using Strings = std::vector<std::string>;

constexpr int kId = 7;
constexpr int kRow = 13 + platform::kHeaderPadding;  // item row height with the default font

// The header's parent: records its notifications as "code item [detail]" and
// answers them with what the test set.
class Parent : public CWnd {
 public:
  void Open() { CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 500, 200, nullptr, 0); }
  Strings Taken() { return std::exchange(log, {}); }  // what was heard since last asked
  Strings log;
  UINT vetoCode = 0;  // answer TRUE to this notification
  HFONT firstItemFont = nullptr;
  LRESULT filterButtonAnswer = 0;
  RECT filterButton;

 protected:
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
    const auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    const auto* nm = reinterpret_cast<NMHEADER*>(lParam);
    std::string line;
    switch (hdr->code) {
      case HDN_ITEMCHANGING: line = "changing " + Item(nm); break;
      case HDN_ITEMCHANGED: line = "changed " + Item(nm); break;
      case HDN_ITEMCLICK: line = "click " + std::to_string(nm->iItem); break;
      case HDN_BEGINTRACK: line = "begintrack " + Item(nm); break;
      case HDN_TRACK: line = "track " + Item(nm); break;
      case HDN_ENDTRACK: line = "endtrack " + Item(nm); break;
      case HDN_BEGINDRAG: line = "begindrag " + std::to_string(nm->iItem); break;
      case HDN_ENDDRAG:
        line = "enddrag " + std::to_string(nm->iItem) + " to " + std::to_string(nm->pitem->iOrder);
        break;
      case HDN_FILTERCHANGE: line = "filter " + std::to_string(nm->iItem); break;
      case HDN_FILTERBTNCLICK: {
        const auto* b = reinterpret_cast<NMHDFILTERBTNCLICK*>(lParam);
        filterButton = b->rc;
        line = "filterbtn " + std::to_string(b->iItem);
        *result = filterButtonAnswer;
        break;
      }
      case NM_CUSTOMDRAW: {  // every paint asks; with firstItemFont set the first item is in it, the last skipped
        const auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
        if (firstItemFont != nullptr && cd->dwDrawStage == CDDS_PREPAINT) *result = CDRF_NOTIFYITEMDRAW;
        if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec != 1) {
          ::SelectObject(cd->hdc, firstItemFont);
          *result = cd->dwItemSpec == 0 ? CDRF_NEWFONT : CDRF_SKIPDEFAULT;
        }
        return TRUE;
      }
      default: line = "other"; break;
    }
    if (hdr->idFrom != static_cast<UINT_PTR>(kId)) line += " ?id";
    log.push_back(line);
    if (hdr->code == vetoCode) *result = TRUE;
    return TRUE;
  }

 private:
  static std::string Item(const NMHEADER* nm) {
    std::string s = std::to_string(nm->iItem);
    if (nm->pitem != nullptr && (nm->pitem->mask & HDI_WIDTH)) s += " w" + std::to_string(nm->pitem->cxy);
    return s;
  }
};

class HeaderTest : public platform::ResetTest {
 protected:
  void SetUp() override { parent.Open(); }

  // Columns "A" (width 100), "B" (50), "C" (80) in a header 400 wide.
  void Make(DWORD style) {
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS | style, CRect(0, 0, 400, 40), &parent, kId));
    const char* names[] = {"A", "B", "C"};
    const int widths[] = {100, 50, 80};
    for (int i = 0; i < 3; ++i) {
      HDITEM item{.mask = HDI_TEXT | HDI_WIDTH | HDI_LPARAM, .cxy = widths[i], .pszText = const_cast<char*>(names[i]),
                  .lParam = 10 + i};
      ASSERT_EQ(header.InsertItem(i, &item), i);
    }
    parent.log.clear();
  }
  std::string Text(int index) {
    char text[16] = "";
    HDITEM item{.mask = HDI_TEXT, .pszText = text, .cchTextMax = sizeof text};
    header.GetItem(index, &item);
    return text;
  }
  std::vector<int> Order() {
    std::vector<int> order(static_cast<size_t>(header.GetItemCount()));
    header.GetOrderArray(order.data());
    return order;
  }
  int Width(int index) {
    HDITEM item{.mask = HDI_WIDTH};
    header.GetItem(index, &item);
    return item.cxy;
  }
  std::string Filter(int index) {
    char text[32] = "?";
    HD_TEXTFILTER filter{text, sizeof text};
    HDITEM item{.mask = HDI_FILTER, .type = HDFT_ISSTRING, .pvFilter = &filter};
    header.GetItem(index, &item);
    return text;
  }
  // Sets a text filter, which the header announces as a change of the item.
  void SetFilter(int index, const char* text) {
    HD_TEXTFILTER filter{const_cast<char*>(text), 0};
    HDITEM item{.mask = HDI_FILTER, .type = HDFT_ISSTRING, .pvFilter = &filter};
    header.SetItem(index, &item);
  }
  // Press at `from`, move through `to` in small steps, release at `to`.
  void Drag(POINT from, POINT to) {
    auto at = [](POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); };
    platform::SetKeyDown(VK_LBUTTON, true);
    ::PostMessage(header, WM_LBUTTONDOWN, MK_LBUTTON, at(from));
    for (int step = 1; step <= 4; ++step) {
      POINT p{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4};
      ::PostMessage(header, WM_MOUSEMOVE, MK_LBUTTON, at(p));
    }
    platform::SetKeyDown(VK_LBUTTON, false);
    ::PostMessage(header, WM_LBUTTONUP, 0, at(to));
    platform::PumpMessages();
  }

  Parent parent;
  CHeaderCtrl header;
};

TEST_F(HeaderTest, DisplayOrderIsSeparateFromTheIndex) {
  Make(0);
  // Insert "X" at index 1 but show it first.
  HDITEM x{.mask = HDI_TEXT | HDI_WIDTH | HDI_ORDER, .cxy = 30, .pszText = const_cast<char*>("X"), .iOrder = 0};
  EXPECT_EQ(header.InsertItem(1, &x), 1);
  EXPECT_EQ(Text(1) + Text(2), "XB");  // later items moved up one index
  EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2, 3}));
  EXPECT_EQ(header.OrderToIndex(0), 1);

  // Only a permutation of every item is accepted.
  int twice[] = {0, 0, 1, 2}, three[] = {0, 1, 2}, good[] = {3, 2, 1, 0};
  EXPECT_TRUE(!header.SetOrderArray(4, twice) && !header.SetOrderArray(3, three) && header.SetOrderArray(4, good));

  // Deleting keeps the others' order, with their indexes renumbered.
  EXPECT_TRUE(header.DeleteItem(2));
  EXPECT_EQ(Order(), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(Text(0) + Text(1) + Text(2), "AXC");
  EXPECT_FALSE(header.DeleteItem(3));

  // A short buffer gets a terminated prefix; the order is not given into room for no item.
  char small[2] = "?";
  HDITEM item{.mask = HDI_TEXT, .pszText = small, .cchTextMax = 2};
  header.GetItem(0, &item);
  EXPECT_STREQ(small, "A");
  EXPECT_TRUE(parent.log.empty() && !header.GetOrderArray(good, 0));
}

// Outside: the sides passed. Item row: a divider's grip (3 pixels about a right
// edge) before the item. Filter bar: the filter, its last 12 pixels the button.
TEST_F(HeaderTest, HitTestNamesTheDividerItemOrFilterUnderEachPoint) {
  Make(HDS_FILTERBAR);
  const int rights[] = {100, 150, 230};
  const auto expected = [&](POINT p) -> std::pair<int, UINT> {
    const UINT outside = (p.y < 0 ? HHT_ABOVE : 0) | (p.y >= 40 ? HHT_BELOW : 0) | (p.x < 0 ? HHT_TOLEFT : 0) |
                         (p.x >= 400 ? HHT_TORIGHT : 0);
    if (outside != 0) return {-1, outside};
    const bool inFilter = p.y >= kRow;
    for (int i = 0; i < 3 && !inFilter; ++i) {
      if (std::abs(p.x - rights[i]) <= 3) return {i, HHT_ONDIVIDER};
    }
    for (int i = 0; i < 3; ++i) {
      if (p.x < rights[i]) return {i, !inFilter ? HHT_ONHEADER : p.x >= rights[i] - 12 ? HHT_ONFILTERBUTTON : HHT_ONFILTER};
    }
    return {-1, HHT_NOWHERE};
  };
  for (const int y : {-1, 0, kRow - 1, kRow, 39, 40}) {
    for (int x = -1; x <= 400; ++x) {
      HDHITTESTINFO hit{.pt = POINT{x, y}};
      const auto [item, flags] = expected(hit.pt);
      const int found = header.HitTest(&hit);
      ASSERT_EQ(std::tuple(found, hit.iItem, hit.flags), std::tuple(item, item, flags)) << x << "," << y;
    }
  }
  // A first item shrunk to nothing is opened by the grip from the left edge on.
  HDITEM hidden{.mask = HDI_WIDTH, .cxy = 0};
  ASSERT_TRUE(header.SetItem(0, &hidden));
  HDHITTESTINFO hit{.pt = POINT{0, 5}};
  const int found = header.HitTest(&hit);
  EXPECT_EQ(std::pair(found, hit.flags), std::pair(0, UINT{HHT_ONDIVOPEN}));
}

// A filter box is edited in place: Enter commits, a pause in the typing
// commits, Escape throws the typing away; the button asks the parent.
// Clearing one column's filter leaves the others; -1 clears them all.
TEST_F(HeaderTest, AFilterIsTypedInItsBoxAndCountsOnEnterOrAPause) {
  Make(HDS_FILTERBAR);
  ASSERT_TRUE(input::ClickAt(header, POINT{110, kRow + 5}));
  HWND edit = ::GetFocus();
  ASSERT_EQ(::GetParent(edit), header.m_hWnd);
  input::TypeText("ab");
  input::PressKey(VK_RETURN);
  EXPECT_EQ(Filter(1), "ab");
  EXPECT_FALSE(::IsWindow(edit)) << "closed after Enter";
  EXPECT_EQ(::GetFocus(), parent.m_hWnd) << "the focus goes back to the header's parent";
  EXPECT_EQ(parent.Taken(), (Strings{"filter 1"}));

  header.SetFilterChangeTimeout(300);
  ASSERT_TRUE(header.EditFilter(0, FALSE));
  edit = ::GetFocus();
  input::TypeText("x");
  input::Advance(299);
  EXPECT_EQ(Filter(0), "");
  input::Advance(1);
  EXPECT_EQ(Filter(0), "x");
  EXPECT_EQ(::GetFocus(), edit) << "a pause keeps the box open";
  SetFilter(0, "set");
  char shown[8] = "";
  ::GetWindowText(edit, shown, sizeof shown);
  EXPECT_STREQ(shown, "set") << "the open box shows a filter set meanwhile";
  header.ClearFilter(0);
  EXPECT_EQ(::GetWindowTextLength(edit), 0) << "the open box shows the filter cleared";
  EXPECT_EQ(Filter(0) + "|" + Filter(1), "|ab");
  input::TypeText("yz");
  input::PressKey(VK_ESCAPE);
  EXPECT_FALSE(::IsWindow(edit));
  header.ClearFilter(-1);
  EXPECT_EQ(Filter(0) + Filter(1), "");
  EXPECT_EQ(parent.log, (Strings{"filter 0", "changing 0", "changed 0", "filter 0", "filter 0", "filter -1"}));
  // Opening another box closes the open one, keeping its typing or, when told, discarding it; a click on
  // another filter keeps it.
  for (const BOOL discard : {TRUE, FALSE}) {
    ASSERT_TRUE(header.EditFilter(1, FALSE));
    input::TypeText("k");
    ASSERT_TRUE(header.EditFilter(0, discard));
    EXPECT_EQ(Filter(1), discard ? "" : "k");
  }
  input::TypeText("c");
  input::ClickAt(header, POINT{160, kRow + 5});
  EXPECT_EQ(Filter(0), "c");

  // The button: the parent's TRUE makes it a change of the filter.
  parent.log.clear();
  input::ClickAt(header, POINT{225, kRow + 5});
  parent.filterButtonAnswer = TRUE;
  input::ClickAt(header, POINT{145, kRow + 5});
  EXPECT_EQ(parent.log, (Strings{"filterbtn 2", "filterbtn 1", "filter 1"}));
  EXPECT_EQ(CRect(parent.filterButton), CRect(138, kRow, 150, 2 * kRow));
  EXPECT_FALSE(header.EditFilter(3, FALSE));
  ASSERT_TRUE(header.EditFilter(1, FALSE));
  edit = ::GetFocus();
  input::TypeText("d");
  HDITEM before{.mask = HDI_WIDTH, .cxy = 30};
  ASSERT_EQ(header.InsertItem(1, &before), 1);  // the edited item becomes 2
  parent.log.clear();
  ASSERT_TRUE(header.DeleteItem(2));
  EXPECT_TRUE(parent.log.empty() && !::IsWindow(edit)) << "a deleted item's box and typing go with it";
}

// What a paint records, for items of any width, order, alignment and filter:
// the face right of the items, then per item in display order its face,
// raised edges and text between margins, and with a filter bar its box,
// filter text and button. Nothing is drawn for an empty rectangle.
TEST_F(HeaderTest, PaintedItemsFollowTheirWidthsOrderAlignmentAndFilters) {
  Make(0);
  std::mt19937 random(384);
  const int widths[] = {0, 5, 12, 30, 100};
  for (int round = 0; round < 40; ++round) {
    const bool bar = random() % 2 == 0;
    header.ModifyStyle(bar ? 0 : HDS_FILTERBAR, bar ? HDS_FILTERBAR : 0);
    int order[] = {0, 1, 2};
    std::shuffle(order, order + 3, random);
    ASSERT_TRUE(header.SetOrderArray(3, order));
    std::string filters[3];
    int fmts[3];
    for (int i = 0; i < 3; ++i) {
      HDITEM item{.mask = HDI_WIDTH | HDI_FORMAT, .cxy = widths[random() % 5],
                  .fmt = HDF_STRING | static_cast<int>(random() % 3)};
      fmts[i] = item.fmt;
      header.SetItem(i, &item);
      filters[i] = std::string(random() % 3, static_cast<char>('p' + i));
      SetFilter(i, filters[i].c_str());
    }
    header.Invalidate();
    header.UpdateWindow();

    Strings expected;
    const auto add = [&](platform::DrawKind kind, RECT r, int color, std::string text = "", UINT format = 0) {
      if (kind == platform::DrawKind::FillRect && (r.right <= r.left || r.bottom <= r.top)) return;
      platform::DrawOp o;
      o.kind = kind;
      o.rect = r;
      o.color = GetSysColor(color);
      o.text = std::move(text);
      expected.push_back(platform::Describe(o) + " " + std::to_string(format));
    };
    const int right = Width(0) + Width(1) + Width(2);
    add(platform::DrawKind::FillRect, RECT{right, 0, 400, 40}, COLOR_BTNFACE);
    int x = 0;
    for (const int i : order) {
      const int w = Width(i);
      const RECT r{x, 0, x + w, kRow};
      add(platform::DrawKind::FillRect, r, COLOR_BTNFACE);
      add(platform::DrawKind::FillRect, RECT{x, 0, x + w - 1, 1}, COLOR_BTNHIGHLIGHT);
      add(platform::DrawKind::FillRect, RECT{x, 0, x + 1, kRow - 1}, COLOR_BTNHIGHLIGHT);
      add(platform::DrawKind::FillRect, RECT{x + w - 1, 0, x + w, kRow}, COLOR_BTNSHADOW);
      add(platform::DrawKind::FillRect, RECT{x, kRow - 1, x + w, kRow}, COLOR_BTNSHADOW);
      const int justify = fmts[i] & HDF_JUSTIFYMASK;
      const UINT align = justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : 0;
      add(platform::DrawKind::Text, RECT{x + 6, 0, x + w - 6, kRow}, COLOR_BTNTEXT, Text(i), align);
      if (bar) {
        const int split = std::max(x, x + w - platform::kHeaderFilterButtonWidth);
        add(platform::DrawKind::FillRect, RECT{x, kRow, split, 2 * kRow}, COLOR_WINDOW);
        add(platform::DrawKind::Text, RECT{x + 2, kRow, split - 2, 2 * kRow}, COLOR_WINDOWTEXT, filters[i]);
        add(platform::DrawKind::FillRect, RECT{split, kRow, x + w, 2 * kRow}, COLOR_BTNFACE);
        add(platform::DrawKind::FrameRect, RECT{split, kRow, x + w, 2 * kRow}, COLOR_BTNSHADOW);
      }
      x += w;
    }
    Strings drawn;
    for (const platform::DrawOp& o : platform::WindowDisplayList(header)) {
      drawn.push_back(platform::Describe(o) + " " + std::to_string(o.format & (DT_RIGHT | DT_CENTER)));
    }
    ASSERT_EQ(drawn, expected) << "round " << round;
  }
}

TEST_F(HeaderTest, AFontTheParentPicksForOneItemStaysWithThatItemAndAnItemItSkipsIsNotDrawn) {
  Make(0);
  parent.firstItemFont = ::CreateFont(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Tahoma");
  header.Invalidate();
  header.UpdateWindow();
  std::vector<int> weights;
  for (const platform::DrawOp& o : platform::WindowDisplayList(header)) {
    if (o.kind == platform::DrawKind::Text) weights.push_back(o.font.weight);
  }
  EXPECT_EQ(weights, (std::vector<int>{FW_BOLD, FW_NORMAL}));
  ::DeleteObject(parent.firstItemFont);
}

TEST_F(HeaderTest, ClickAndDividerDrag) {
  Make(0);
  input::ClickAt(header, POINT{120, 5});
  EXPECT_EQ(parent.Taken(), (Strings{"click 1"}));

  // Dragging the divider after "A" from 100 to 140: tracked, then set once.
  Drag(POINT{100, 5}, POINT{140, 5});
  EXPECT_EQ(parent.Taken(), (Strings{"begintrack 0 w100", "track 0 w110", "track 0 w120", "track 0 w130",
                                     "track 0 w140", "endtrack 0 w140", "changing 0 w140", "changed 0 w140"}));
  EXPECT_EQ(std::pair(Width(0), ::GetCapture()), std::pair(140, HWND{}));

  // A refused track changes nothing and is not a click either.
  parent.vetoCode = HDN_BEGINTRACK;
  Drag(POINT{140, 5}, POINT{100, 5});
  EXPECT_EQ(std::pair(parent.Taken(), Width(0)), std::pair(Strings{"begintrack 0 w140"}, 140));

  // The width never goes below zero.
  parent.vetoCode = 0;
  Drag(POINT{140, 5}, POINT{-60, 5});
  EXPECT_EQ(Width(0), 0);
}

TEST_F(HeaderTest, DragDropReordersOnlyWithTheStyleAndWithoutAVeto) {
  Make(0);
  Drag(POINT{20, 5}, POINT{200, 5});  // no HDS_DRAGDROP: a press that ends elsewhere
  EXPECT_EQ(std::pair(parent.log, Order()), std::pair(Strings{}, std::vector<int>{0, 1, 2}));

  ::DestroyWindow(header.Detach());
  Make(HDS_DRAGDROP);
  Drag(POINT{20, 5}, POINT{200, 5});  // "A" dropped past the middle of "C"
  EXPECT_EQ(std::pair(parent.Taken(), Order()),
            std::pair(Strings{"begindrag 0", "enddrag 0 to 2"}, std::vector<int>{1, 2, 0}));

  parent.vetoCode = HDN_ENDDRAG;
  Drag(POINT{10, 5}, POINT{300, 5});  // "B" to the end, refused
  EXPECT_EQ(std::pair(parent.log, Order()), std::pair(Strings{"begindrag 1", "enddrag 1 to 2"}, std::vector<int>{1, 2, 0}));
}

}  // namespace
