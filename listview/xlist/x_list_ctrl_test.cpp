// CXListCtrl: colour boxes and check boxes in cells, a header check box
// over a column, and the messages its owner gets.
#include "listview/xlist/x_list_ctrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/image_list.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
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

  static void ClickCell(CXListCtrl& list, int row, int column) {
    CRect rect;
    ASSERT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, rect));
    ASSERT_TRUE(input::ClickAt(list, CPoint(rect.left + 20, rect.CenterPoint().y)));
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
  // How many of `fills` fill exactly `rect` in `color`.
  static long Fills(const platform::DrawOps& fills, const CRect& rect, COLORREF color) {
    return std::count_if(fills.begin(), fills.end(),
                         [&](const platform::DrawOp& op) { return CRect(op.rect) == rect && op.color == color; });
  }
  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Receiver::Message& m : m_parent.messages) codes.push_back(m.message);
    return codes;
  }

  Receiver m_parent;
  CXListCtrl m_list;
};

// Every cell is drawn within its own column (the header item's span) and
// its row: a text cut off with an ellipsis, a check box empty or filled, a
// colour box inside a frame of the selection or window colour.
TEST_F(XListTest, EachCellIsDrawnWithinItsColumnAsTextCheckBoxOrColourBox) {
  m_list.InsertColumn(2, "Note", LVCFMT_LEFT, 60);
  m_list.SetItemText(0, 2, "a note far too long for its column");
  m_list.SetItemText(1, 2, "short");
  m_list.SetCheckbox(0, 1, 0);
  m_list.SetCheckbox(1, 1, 1);
  m_list.SetCheckbox(2, 2, 0);
  m_list.SetColorBox(2, 1, RGB(12, 34, 56));
  m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const platform::DrawOps ops = Paint(m_list);
  const auto fills = platform::OpsOfKind(ops, platform::DrawKind::FillRect);
  const auto texts = platform::OpsOfKind(ops, platform::DrawKind::Text);
  const auto filled = [&](const CRect& r, COLORREF color) { return Fills(fills, r, color); };
  int cutOff = 0;
  for (int row = 0; row < 3; ++row) {
    CRect bounds;
    ASSERT_TRUE(m_list.GetItemRect(row, &bounds, LVIR_BOUNDS));
    for (int column = 0; column < 3; ++column) {
      SCOPED_TRACE(testing::Message() << "row " << row << " column " << column);
      CRect cell;
      ASSERT_TRUE(m_list.m_HeaderCtrl.GetItemRect(column, &cell));
      cell.top = bounds.top;
      cell.bottom = bounds.bottom;
      const COLORREF back = row == 2 ? highlight : window;
      EXPECT_EQ(filled(cell, back), 1) << "the cell's background, exactly its bounds";
      const int check = m_list.GetCheckbox(row, column);
      const int top = cell.top + (cell.Height() - 13) / 2;
      const CRect box(cell.left + 2, top, cell.left + 15, top + 13);
      EXPECT_EQ(filled(box, window), check >= 0 ? 1 : 0) << "a check box's white square";
      EXPECT_EQ(filled(CRect(box.left + 3, box.top + 3, box.right - 3, box.bottom - 3), text), check == 1 ? 1 : 0);
      COLORREF color = 0;
      if (m_list.GetColorBox(row, column, &color)) {
        EXPECT_EQ(filled(CRect(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2), color), 1);
      }
      const auto caption = std::find_if(texts.begin(), texts.end(), [&](const platform::DrawOp& op) {
        return CRect(op.rect) == CRect(cell.left + 4, cell.top, cell.right - 4, cell.bottom);
      });
      const bool showsText = check < 0 && color == 0;
      ASSERT_EQ(caption != texts.end(), showsText) << "only a plain cell shows its text";
      if (!showsText) continue;
      const std::string expected = m_list.GetItemText(row, column).GetString();
      EXPECT_EQ(caption->text, expected);
      ASSERT_EQ(caption->lines.size(), 1u);
      const std::string shown = caption->lines[0].text;
      EXPECT_LE(caption->lines[0].width, cell.Width() - 8);
      if (shown != expected) {
        EXPECT_EQ(row * 10 + column, 2) << "only the long note is cut off";
        ++cutOff;
        EXPECT_TRUE(shown.ends_with("...") && expected.starts_with(shown.substr(0, shown.size() - 3))) << shown;
      }
      EXPECT_EQ(caption->color, row == 2 ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    }
  }
  EXPECT_EQ(cutOff, 1);
}

// A cell with an image draws it at the cell's left, centred in the row,
// and then its text to the right of it.
TEST_F(XListTest, ACellDrawsItsImageAndThenItsText) {
  const HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  const HBITMAP bitmap = ::CreateBitmap(16, 16, 1, 32, nullptr);
  ASSERT_EQ(ImageList_Add(images, bitmap, nullptr), 0);
  ::DeleteObject(bitmap);
  m_list.SetImageList(images, LVSIL_SMALL);
  ASSERT_TRUE(m_list.SetCellImage(1, 0, 0));
  const platform::DrawOps ops = Paint(m_list);
  CRect cell;
  ASSERT_TRUE(m_list.GetItemRect(1, &cell, LVIR_BOUNDS));
  const auto image = std::find_if(ops.begin(), ops.end(), [&](const platform::DrawOp& op) {
    return op.kind == platform::DrawKind::Blit && op.sourceBitmap == platform::ImageListBitmap(images, 0);
  });
  ASSERT_NE(image, ops.end());
  const int top = cell.top + (cell.Height() - 16) / 2;
  EXPECT_EQ(CRect(image->rect), CRect(cell.left + 4, top, cell.left + 20, top + 16));
  const auto text = std::find_if(image, ops.end(), [](const platform::DrawOp& op) { return op.text == "buy"; });
  ASSERT_NE(text, ops.end()) << "the text comes after the image";
  EXPECT_EQ(text->rect.left, cell.left + 22);
  m_list.SetImageList(nullptr, LVSIL_SMALL);
  ImageList_Destroy(images);
}

// The header paints off-screen and copies the picture: each caption in the
// header's font, inside its margins, after a check box where the column's
// image is 1 or 2 (filled for 2).
TEST_F(XListTest, TheHeaderDrawsEachCaptionInItsFontAfterItsCheckBox) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
  m_list.m_HeaderCtrl.SetFont(&font);
  m_list.InsertColumn(2, "Note", LVCFMT_RIGHT, 60);
  ASSERT_TRUE(m_list.SetHeaderCheckedState(1, 2));
  ASSERT_TRUE(m_list.SetHeaderCheckedState(2, 1));
  const platform::DrawOps ops = Paint(m_list.m_HeaderCtrl);
  const auto copy = std::find_if(ops.begin(), ops.end(), [](const platform::DrawOp& op) { return op.sourceOps; });
  ASSERT_NE(copy, ops.end());
  const auto texts = platform::OpsOfKind(*copy->sourceOps, platform::DrawKind::Text);
  const auto fills = platform::OpsOfKind(*copy->sourceOps, platform::DrawKind::FillRect);
  ASSERT_EQ(texts.size(), 3u);
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    const platform::DrawOp& caption = texts[static_cast<size_t>(column)];
    CRect item;
    ASSERT_TRUE(m_list.m_HeaderCtrl.GetItemRect(column, &item));
    EXPECT_EQ(caption.font.face, "Arial");
    EXPECT_EQ(caption.rect.left, item.left + 8 + (column > 0 ? 13 + 6 : 0));
    EXPECT_EQ(caption.rect.right, item.right - 8);
    EXPECT_EQ(caption.format & (DT_RIGHT | DT_CENTER), column == 2 ? DT_RIGHT : 0u);
    const int top = item.top + (item.Height() - 13) / 2;
    const CRect filled(item.left + 11, top + 3, item.left + 18, top + 10);
    EXPECT_EQ(Fills(fills, filled, ::GetSysColor(COLOR_BTNTEXT)), column == 1 ? 1 : 0);
  }
}

TEST_F(XListTest, TheColourChooserStartsFromTheCellAndOnlyAChosenColourIsTakenAndPosted) {
  m_list.SetColorBox(0, 1, RGB(0, 128, 0));
  m_list.SetColorBox(2, 1, RGB(0, 128, 0));
  ClickCell(m_list, 0, 1);  // the chooser is cancelled
  ASSERT_EQ(platform::ColorLog().size(), 1u);
  EXPECT_EQ(platform::ColorLog()[0].initial, RGB(0, 128, 0));
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListClickMessage});  // and the colour stays, as read at the end

  m_parent.messages.clear();
  platform::SetColorResponder(platform::ChooseColorOnce(RGB(200, 0, 0)));
  ClickCell(m_list, 2, 1);
  COLORREF color = 0;
  m_list.GetColorBox(2, 1, &color);
  EXPECT_EQ(color, RGB(200, 0, 0));
  ASSERT_EQ(Codes(), (std::vector<UINT>{kXListClickMessage, WM_XLISTCTRL_COLORBOX_CLICKED}));
  EXPECT_EQ(m_parent.messages[0].wParam, 2u);
  EXPECT_EQ(m_parent.messages[1].text, "2|1");
  EXPECT_EQ(static_cast<COLORREF>(m_parent.messages[1].lParam), RGB(200, 0, 0));

  // The cells' records move with their rows when an earlier row goes.
  ASSERT_TRUE(m_list.DeleteItem(1));
  ASSERT_TRUE(m_list.GetColorBox(0, 1, &color));
  EXPECT_EQ(color, RGB(0, 128, 0));
  ASSERT_TRUE(m_list.GetColorBox(1, 1, &color));
  EXPECT_EQ(color, RGB(200, 0, 0));
}

// A click on a check box flips it and the header shows whether every row is
// checked; a click on the caption sets every enabled row to its new state.
TEST_F(XListTest, CheckBoxesFlipByTheirClickAndByTheCaptionsAndADisabledRowKeepsItsState) {
  for (int row = 0; row < 3; ++row) m_list.SetCheckbox(row, 1, row == 0 ? 0 : 1);
  ASSERT_TRUE(m_list.SetHeaderCheckedState(1, 1));
  EXPECT_FALSE(m_list.SetHeaderCheckedState(2, 1)) << "a column past the last has no check image";
  EXPECT_EQ(m_list.GetHeaderCheckedState(2), -1);
  ClickCell(m_list, 0, 1);
  EXPECT_EQ(m_list.GetCheckbox(0, 1), 1);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 2) << "every row is checked now";
  ASSERT_EQ(Codes(), (std::vector<UINT>{kXListClickMessage, WM_XLISTCTRL_CHECKBOX_CLICKED}));
  ClickCell(m_list, 2, 1);
  EXPECT_EQ(m_list.GetCheckbox(2, 1), 0);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 1);
  m_parent.messages.clear();
  m_list.SetEnabled(0, FALSE);
  ClickCell(m_list, 0, 1);
  EXPECT_EQ(m_list.GetCheckbox(0, 1), 1) << "a disabled row's box does not flip";
  EXPECT_TRUE(Codes().empty());

  m_list.SetCheckbox(0, 1, 0);
  ClickHeader(1);
  EXPECT_EQ(m_list.GetHeaderCheckedState(1), 2);
  for (const int row : {1, 2}) EXPECT_EQ(m_list.GetCheckbox(row, 1), 1) << row;
  EXPECT_EQ(m_list.GetCheckbox(0, 1), 0) << "a disabled row keeps its state";
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListCheckAllMessage});
  m_parent.messages.clear();
  ClickHeader(0);  // no check image: nothing happens
  EXPECT_TRUE(Codes().empty());
  EXPECT_FALSE(m_list.SetCheckbox(2, 1, 2)) << "no state past checked";
  EXPECT_TRUE(m_list.SetCheckbox(2, 1, -1) && m_list.GetCheckbox(2, 1) == -1) << "-1 takes the box away";
  ClickHeader(1);
  EXPECT_EQ(m_list.GetCheckbox(2, 1), -1) << "nor does the caption give it one";
}

TEST_F(XListTest, AListThatIsAnOwnedWindowOfItsOwnReportsToItsOwner) {
  CXListCtrl list;
  ASSERT_TRUE(list.CreateEx(0, WS_VISIBLE | LVS_REPORT, CRect(60, 60, 360, 260), &m_parent, 3209));
  ASSERT_EQ(list.GetParent(), nullptr);
  list.InsertColumn(0, "Keyword", LVCFMT_LEFT, 100);
  list.InsertItem(0, "buy");
  ClickCell(list, 0, 0);
  EXPECT_EQ(Codes(), std::vector<UINT>{kXListClickMessage});
}

}  // namespace
