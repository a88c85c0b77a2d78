// CCommonListCtrl's header tool-tips as a person meets them: the pointer
// rests on a header item for the tip's delay, the tip window shows the
// column's description (a computed column's formula), and it goes when the
// pointer leaves; the tools keep to their items through a resize, a fit, a
// header drag and a column's deletion.
#include <gtest/gtest.h>


#include "listview/common/common_list_ctrl.h"
#include "listview/testing/list_test.h"
#include "platform/comctl/tooltip.h"
#include "platform/input/input_driver.h"
#include "platform/window/cursor.h"

namespace {

namespace input = platform::input;

class HeaderTips : public listview::testing::ListTest<CCommonListCtrl> {
 protected:
  // Name, Qty, Price and, from the stored profile, the computed column
  // "Value" whose formula the user typed as "Qty" * "Price".
  // Without caption tips only the described columns have tools.
  CCommonListCtrl& Open(bool captionTips = true) {
    m_settings.Write(
        "[testlist]\r\nCOLUMNPROFILE=0,0,80,1,1,70,2,2,60,3,3,90,Value# \"1\" * \"2\"#\"Qty\" * \"Price\"\r\n");
    return OpenWith([captionTips](CCommonListCtrl& list) {
      list.m_bHeaderToolTips = captionTips ? 1 : 0;
      listview::testing::AddTestListColumns(list);
      list.m_arrColumns[1].strDescription = "Quantity in lots";
      list.ApplyColumnProfile();
    });
  }

  HWND Header() { return m_dialog->list.GetHeaderCtrl()->GetSafeHwnd(); }
  RECT ItemRect(int item) {
    RECT r{};
    m_dialog->list.GetHeaderCtrl()->GetItemRect(item, &r);
    return r;
  }
  // Rests the pointer on a header item for `ms` and reads the tip.
  platform::TooltipState RestOn(int item, int ms) {
    const RECT r = ItemRect(item);
    EXPECT_TRUE(input::MouseMove(Header(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    input::Advance(static_cast<uint64_t>(ms));
    return platform::ReadTooltip(m_dialog->list.HeaderToolTip());
  }
};

TEST_F(HeaderTips, ATipShowsItsItemsDescriptionAfterTheDelayAndKeepsToItsItemThroughChanges) {
  ::SetDoubleClickTime(300);  // the tip's default delay follows it
  CCommonListCtrl& list = Open();
  const HWND tip = list.HeaderToolTip();
  ASSERT_NE(tip, nullptr);
  ASSERT_EQ(platform::ReadTooltip(tip).initialDelay, 300);

  EXPECT_FALSE(RestOn(1, 299).shown) << "not before the delay";
  input::Advance(1);
  platform::TooltipState shown = platform::ReadTooltip(tip);
  ASSERT_TRUE(shown.shown);
  EXPECT_EQ(shown.text, "Quantity in lots");

  // Onto the next item: that tip, after the delay again.
  shown = RestOn(3, 300);
  ASSERT_TRUE(shown.shown);
  EXPECT_EQ(shown.text, "\"Qty\" * \"Price\"") << "a computed column shows its formula as typed";

  // Out of the list altogether: the tip's own check notices.
  EXPECT_TRUE(RestOn(2, 300).shown);
  ASSERT_TRUE(input::MouseMove(m_dialog->m_hWnd, POINT{1, 1}));
  input::Advance(platform::kTooltipLeaveCheckMs);
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);

  // The tools keep to their items through a resize, a fit, a header drag and a deletion.
  list.SetColumnWidth(0, 150);
  EXPECT_EQ(RestOn(1, 500).text, "Quantity in lots") << "Qty moved right with Name's width";

  list.FitColumns(list_command::kFitToWindow);
  EXPECT_EQ(RestOn(3, 500).text, "\"Qty\" * \"Price\"") << "after a fit";

  // Drag "Name" (item 0) by its caption to the right of "Price".
  const RECT from = ItemRect(0);
  const RECT onto = ItemRect(2);
  ASSERT_TRUE(input::ButtonDownAt(Header(), POINT{from.left + 10, 5}, input::Button::Left));
  ASSERT_TRUE(input::MouseMove(Header(), POINT{from.left + 30, 5}));
  ASSERT_TRUE(input::MouseMove(Header(), POINT{onto.right - 3, 5}));
  ASSERT_TRUE(input::ButtonUpAt(Header(), POINT{onto.right - 3, 5}, input::Button::Left));
  ASSERT_NE(list.GetHeaderCtrl()->OrderToIndex(0), 0) << "the drag moved Name";
  EXPECT_EQ(RestOn(0, 500).text, "Name") << "Name's tip went with it";

  // Name goes: the tools after it move down one item, and the last tool goes;
  // a resize then moves the moved tools with their items.
  list.DeleteColumn(0);
  list.AddHeaderToolTip(3, "past the last item");  // the header has no such item: no tool
  EXPECT_EQ(::SendMessage(list.HeaderToolTip(), TTM_GETTOOLCOUNT, 0, 0), 3);
  EXPECT_EQ(RestOn(0, 500).text, "Quantity in lots");
  EXPECT_EQ(RestOn(2, 500).text, "\"Qty\" * \"Price\"");
  list.SetColumnWidth(0, 10);
  EXPECT_EQ(RestOn(2, 500).text, "\"Qty\" * \"Price\"");
}

}  // namespace
