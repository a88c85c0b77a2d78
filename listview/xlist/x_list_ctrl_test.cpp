// CXListCtrl: colour boxes and check boxes in cells, a header check box
// over a column, and the messages its owner gets.
#include "listview/xlist/x_list_ctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/display_list.h"
#include "platform/input/input_driver.h"
#include "platform/testing/reset_for_test.h"
#include "platform/user/color_dialog.h"
#include "platform/window/message_queue.h"

namespace {

namespace input = platform::input;

// Records the list's messages in arrival order.
class Receiver : public CWnd {
 public:
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // the colour box's "row|column"
  };
  std::vector<Message> messages;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == WM_XLISTCTRL_COLORBOX_CLICKED) {
      messages.push_back({message, 0, lParam, xlist::TakeColorBoxText(wParam).get()});
    } else if (message == WM_XLISTCTRL_CHECKBOX_CLICKED || message == kXListClickMessage ||
               message == kXListCheckAllMessage) {
      messages.push_back({message, wParam, lParam, ""});
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }
};

class XListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, 0));
    ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 3208));
    m_list.InsertColumn(0, "Keyword", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "Color", LVCFMT_LEFT, 100);
    for (const char* keyword : {"buyback", "buy", "b"}) m_list.InsertItem(m_list.GetItemCount(), keyword);
  }
  void TearDown() override { platform::ResetForTest(); }

  void ClickCell(int row, int column) {
    CRect rect;
    ASSERT_TRUE(m_list.GetSubItemRect(row, column, LVIR_BOUNDS, rect));
    ASSERT_TRUE(input::ClickAt(m_list, CPoint(rect.left + 20, rect.CenterPoint().y)));
    platform::PumpMessages();
  }
  void ClickHeader(int column) {
    CRect rect;
    ASSERT_TRUE(m_list.m_HeaderCtrl.GetItemRect(column, &rect));
    ASSERT_TRUE(input::ClickAt(m_list.m_HeaderCtrl, rect.CenterPoint()));
    platform::PumpMessages();
  }
  static platform::DrawOps Paint(HWND window) {
    platform::ClearDisplayList(window);
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
    return platform::WindowDisplayList(window);
  }
  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Receiver::Message& m : m_parent.messages) codes.push_back(m.message);
    return codes;
  }

  Receiver m_parent;
  CXListCtrl m_list;
};

TEST_F(XListTest, RecordsMoveWithTheirRowsWhenAnEarlierRowIsDeleted) {
  m_list.SetColorBox(1, 1, RGB(0, 0, 255));
  m_list.SetColorBox(2, 1, RGB(255, 0, 0));
  ASSERT_TRUE(m_list.DeleteItem(0));
  COLORREF color = 0;
  ASSERT_TRUE(m_list.GetColorBox(0, 1, &color));
  EXPECT_EQ(color, RGB(0, 0, 255));
  ASSERT_TRUE(m_list.DeleteAllItems());
  EXPECT_FALSE(m_list.GetColorBox(0, 1, &color));
}

TEST_F(XListTest, ColourBoxesAreDrawnInTheirColour) {
  m_list.SetColorBox(1, 1, RGB(12, 34, 56));
  CRect cell;
  m_list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell);
  bool drawn = false;
  for (const platform::DrawOp& op : platform::OpsOfKind(Paint(m_list), platform::DrawKind::FillRect)) {
    if (op.color == RGB(12, 34, 56)) {
      drawn = true;
      EXPECT_TRUE(CRect(cell).PtInRect(CPoint(op.rect.left, op.rect.top))) << platform::Describe(op);
    }
  }
  EXPECT_TRUE(drawn);
}

TEST_F(XListTest, TheColourChooserStartsFromTheCellAndOnlyAChosenColourIsTakenAndPosted) {
  m_list.SetColorBox(0, 1, RGB(0, 128, 0));
  m_list.SetColorBox(2, 1, RGB(0, 128, 0));
  ClickCell(0, 1);  // the chooser is cancelled
  ASSERT_EQ(platform::ColorLog().size(), 1u);
  EXPECT_EQ(platform::ColorLog()[0].initial, RGB(0, 128, 0));
  COLORREF color = 0;
  m_list.GetColorBox(0, 1, &color);
  EXPECT_EQ(color, RGB(0, 128, 0));
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListClickMessage});

  m_parent.messages.clear();
  platform::SetColorResponder(platform::ChooseColorOnce(RGB(200, 0, 0)));
  ClickCell(2, 1);
  m_list.GetColorBox(2, 1, &color);
  EXPECT_EQ(color, RGB(200, 0, 0));
  ASSERT_EQ(Codes(), (std::vector<UINT>{kXListClickMessage, WM_XLISTCTRL_COLORBOX_CLICKED}));
  EXPECT_EQ(m_parent.messages[0].wParam, 2u);
  EXPECT_EQ(m_parent.messages[1].text, "2|1");
  EXPECT_EQ(static_cast<COLORREF>(m_parent.messages[1].lParam), RGB(200, 0, 0));
}

TEST_F(XListTest, ClickingACheckBoxFlipsItAndTheHeaderShowsWhetherAllRowsAreChecked) {
  for (int row = 0; row < 3; ++row) m_list.SetCheckbox(row, 1, row == 0 ? 0 : 1);
  ASSERT_TRUE(m_list.SetHeaderCheckedState(1, 1));
  ClickCell(0, 1);
  EXPECT_EQ(m_list.GetCheckbox(0, 1), 1);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 2) << "every row is checked now";
  ASSERT_EQ(Codes(), (std::vector<UINT>{kXListClickMessage, WM_XLISTCTRL_CHECKBOX_CLICKED}));
  ClickCell(2, 1);
  EXPECT_EQ(m_list.GetCheckbox(2, 1), 0);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 1);
}

TEST_F(XListTest, ACaptionClickSetsEveryEnabledRowToTheHeadersNewState) {
  for (int row = 0; row < 3; ++row) m_list.SetCheckbox(row, 1, 0);
  m_list.SetHeaderCheckedState(1, 1);
  m_list.SetEnabled(2, FALSE);
  ClickHeader(1);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 2);
  EXPECT_EQ(m_list.GetCheckbox(0, 1), 1);
  EXPECT_EQ(m_list.GetCheckbox(1, 1), 1);
  EXPECT_EQ(m_list.GetCheckbox(2, 1), 0) << "a disabled row keeps its state";
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListCheckAllMessage});
  m_parent.messages.clear();
  ClickHeader(0);  // no check image: nothing happens
  EXPECT_TRUE(Codes().empty());
}

TEST_F(XListTest, AListThatIsAnOwnedWindowOfItsOwnReportsToItsOwner) {
  CXListCtrl list;
  ASSERT_TRUE(list.CreateEx(0, WS_VISIBLE | LVS_REPORT, CRect(60, 60, 360, 260), &m_parent, 3209));
  ASSERT_EQ(list.GetParent(), nullptr);
  list.InsertColumn(0, "Keyword", LVCFMT_LEFT, 100);
  list.InsertItem(0, "buy");
  CRect rect;
  ASSERT_TRUE(list.GetSubItemRect(0, 0, LVIR_BOUNDS, rect));
  ASSERT_TRUE(input::ClickAt(list, rect.CenterPoint()));
  platform::PumpMessages();
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListClickMessage});
}

}  // namespace
