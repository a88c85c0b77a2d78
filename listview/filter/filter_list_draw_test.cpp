// Owner-drawn filter list rows, read back from the list's display list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/list_test.h"
#include "platform/comctl/image_list.h"
#include "platform/gdi/display_list.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"

namespace {

COLORREF ColorOf(const TRIVERTEX& v) { return RGB(v.Red >> 8, v.Green >> 8, v.Blue >> 8); }

class FilterListDrawing : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  FilterListDrawing() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS) {}
  void SetUp() override {
    ListTest::SetUp();
    OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>(
        "drawtest", {sTarnColInfo("Side", 80, 0, sort_kind::kText), sTarnColInfo("Qty", 60, 1, sort_kind::kInteger),
                     sTarnColInfo("Book", 60, 2, sort_kind::kText)}));
    for (const char* side : {"BUYER", "sell"}) AddRow({side, "10", "mid"});
  }
  CFilterListCtrl& list() { return TheList(); }
  platform::DrawOps Paint() { return listview::testing::Paint(list().m_hWnd); }
  // The operations drawn within row `row`'s rectangle.
  platform::DrawOps InRow(const platform::DrawOps& ops, int row) {
    RECT rect{};
    list().GetItemRect(row, &rect, LVIR_BOUNDS);
    platform::DrawOps out;
    for (const auto& op : ops) {
      if (op.rect.top >= rect.top && op.rect.bottom <= rect.bottom && op.rect.bottom > op.rect.top) out.push_back(op);
    }
    return out;
  }
  // The operation that draws `text`; when none does, a failure and an empty one.
  platform::DrawOp TextOp(const platform::DrawOps& ops, const std::string& text) {
    for (const auto& op : ops) {
      if (op.kind == platform::DrawKind::Text && op.text == text) return op;
    }
    ADD_FAILURE() << "\"" << text << "\" is not drawn";
    return {};
  }
};

TEST_F(FilterListDrawing, TheSelectionIsBlueWithFocusAndGreyWithout) {
  list().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  ASSERT_TRUE(platform::input::Focus(list().m_hWnd));
  auto row = InRow(Paint(), 0);
  auto gradients = platform::OpsOfKind(row, platform::DrawKind::Gradient);
  ASSERT_EQ(gradients.size(), 1u);
  EXPECT_EQ(ColorOf(gradients[0].vertices[0]), RGB(82, 123, 225));
  EXPECT_EQ(ColorOf(gradients[0].vertices[1]), RGB(60, 165, 255));
  // From the row's first pixel to its last.
  CRect bounds;
  ASSERT_TRUE(list().GetItemRect(0, &bounds, LVIR_BOUNDS));
  EXPECT_EQ(CPoint(gradients[0].vertices[0].x, gradients[0].vertices[0].y), bounds.TopLeft());
  EXPECT_EQ(CPoint(gradients[0].vertices[1].x, gradients[0].vertices[1].y), CPoint(bounds.right - 1, bounds.bottom - 1));
  EXPECT_EQ(TextOp(row, "BUYER").color, RGB(255, 255, 255));

  ::SetFocus(nullptr);
  gradients = platform::OpsOfKind(InRow(Paint(), 0), platform::DrawKind::Gradient);
  ASSERT_EQ(gradients.size(), 1u);
  EXPECT_EQ(ColorOf(gradients[0].vertices[0]), RGB(126, 126, 126));
  EXPECT_EQ(ColorOf(gradients[0].vertices[1]), RGB(0, 0, 0));
}

// Rows are filled with the background, numbers align right, and keywords
// colour their rows' texts.
TEST_F(FilterListDrawing, RowsAreFilledWithTheBackgroundAndKeywordsColourTheirRows) {
  list().Appearance().nKeywordColumn = 0;
  list().Appearance().AddKeyword("buy", RGB(0, 0, 255));
  list().Appearance().AddKeyword("e", RGB(255, 0, 0));
  const auto ops = Paint();
  EXPECT_EQ(TextOp(InRow(ops, 0), "BUYER").color, RGB(0, 0, 255)) << "the first keyword that matches";
  const auto sell = InRow(ops, 1);
  EXPECT_EQ(TextOp(sell, "sell").color, RGB(255, 0, 0)) << "the second keyword, the first not matching";
  const auto fills = platform::OpsOfKind(sell, platform::DrawKind::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].color, list().Appearance().clrBack) << "the row is filled with the background";
  EXPECT_TRUE(TextOp(sell, "10").format & DT_RIGHT) << "numbers align right";
  EXPECT_TRUE(TextOp(sell, "mid").format & DT_CENTER) << "a centred column";

  // A row no keyword matches keeps the list's colour.
  list().Appearance().ClearKeywords();
  list().Appearance().AddKeyword("buy", RGB(0, 0, 255));
  EXPECT_EQ(TextOp(InRow(Paint(), 1), "sell").color, RGB(0, 255, 0));
  // Colouring turned off, or no colouring function: the list's colour.
  const auto buyer = [this] { return TextOp(InRow(Paint(), 0), "BUYER").color; };
  list().m_bApplyColors = FALSE;
  EXPECT_EQ(buyer(), RGB(0, 255, 0));
  list().m_bApplyColors = TRUE;
  list().SetColorCallback(nullptr);
  EXPECT_EQ(buyer(), RGB(0, 255, 0));
}

// A new font measures the rows again: (|font height| + 4) x lines per row,
// fewer than one line counting as one; the rows below follow.
TEST_F(FilterListDrawing, ANewFontMeasuresTheRowsAgain) {
  struct Case {
    int height;  // the font's character height, in pixels
    int lines;
    int rowHeight;
  };
  std::vector<std::unique_ptr<CFont>> fonts;  // each in use until the next replaces it
  for (const Case c : {Case{-12, 1, 16}, Case{-20, 1, 24}, Case{-30, 1, 34}, Case{-12, 3, 48}, Case{-12, 0, 16}}) {
    SCOPED_TRACE(std::to_string(c.height) + " x " + std::to_string(c.lines));
    list().SetLinesPerRow(c.lines);
    fonts.push_back(std::make_unique<CFont>());
    ASSERT_TRUE(fonts.back()->CreateFont(c.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    list().SetFont(fonts.back().get());
    RECT first{}, second{};
    ASSERT_TRUE(list().GetItemRect(0, &first, LVIR_BOUNDS));
    ASSERT_TRUE(list().GetItemRect(1, &second, LVIR_BOUNDS));
    EXPECT_EQ(first.bottom - first.top, c.rowHeight);
    EXPECT_EQ(second.top, first.bottom);
  }
  list().SendMessage(WM_SETFONT, 0, FALSE);
}

// Right of the last column and below the last row the list's background shows,
// scrolled as far as the columns go: in step 1 to their end, nothing beside
// them; in step 2, every column narrowed to nothing, nothing below them.
TEST_F(FilterListDrawing, TheEmptyAreaBesideAndBelowTheRowsIsFilledWithTheBackground) {
  list().m_bFillEmptyArea = TRUE;
  list().Appearance().clrBack = RGB(10, 20, 30);
  for (const int step : {0, 1, 2}) {
    if (step == 1) list().SetColumnWidth(1, 400);
    for (int column = 0; step == 2 && column < 3; ++column) list().SetColumnWidth(column, 0);
    list().Scroll(CSize(10000, 0));  // as far as the columns go
    CRect client, last;
    list().GetClientRect(&client);
    ASSERT_TRUE(list().GetItemRect(1, &last, LVIR_BOUNDS));
    std::vector<CRect> expected;
    if (step != 1) expected.push_back(CRect(last.right, client.top, client.right, client.bottom));
    if (step != 2)
      expected.push_back(CRect(client.left, last.bottom, std::min(last.right, client.right), client.bottom));
    EXPECT_EQ(listview::testing::FillsToTheBottom(list().m_hWnd, RGB(10, 20, 30)), expected) << "step " << step;
  }
}

// Rows that come before any column draw nothing.
TEST_F(FilterListDrawing, ARowWithoutColumnsDrawsNoText) {
  m_dialog.reset();
  OpenWith(listview::testing::FilterListOfRows<CFilterListCtrl>("bare", {}));
  AddRow({"BUYER"});
  ASSERT_EQ(list().GetItemCount(), 1);
  EXPECT_TRUE(platform::OpsOfKind(Paint(), platform::DrawKind::Text).empty());
}

// A stored layout that puts another column first still draws the rows, each
// cell under its caption.
TEST_F(FilterListDrawing, RowsAreDrawnInTheStoredColumnOrder) {
  m_dialog.reset();
  m_rows.clear();
  m_settings.Write("[drawtest]\r\nCOLUMNPROFILE=0,1,80,1,2,60,2,0,60\r\n");
  SetUp();
  ASSERT_EQ(Captions(), (Strings{"Book", "Side", "Qty"}));
  const auto ops = Paint();
  const auto first = InRow(ops, 0);
  const bool buyer = std::any_of(first.begin(), first.end(), [](const auto& op) { return op.text == "BUYER"; });
  const std::string side = buyer ? "BUYER" : "sell";
  // Book 60 pixels wide from the left, then Side 80, then Qty 60.
  for (const auto& [text, left, right] : {std::tuple<std::string, int, int>{"mid", 0, 60}, {side, 60, 140}, {"10", 140, 200}}) {
    const auto op = TextOp(first, text);
    EXPECT_TRUE(op.rect.left >= left && op.rect.right <= right) << text << " " << op.rect.left << "-" << op.rect.right;
  }
}

// A row's small image is drawn once, at the icon's place of the first
// column, however many of its cells name one; a row naming none draws none.
TEST_F(FilterListDrawing, OnlyTheFirstColumnDrawsTheRowsImage) {
  const HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  const HBITMAP bitmap = ::CreateBitmap(16, 16, 1, 32, nullptr);
  ASSERT_EQ(ImageList_Add(images, bitmap, nullptr), 0);
  ::DeleteObject(bitmap);
  list().SetImageList(images, LVSIL_SMALL);
  list().SetDataDescriptor(+[](DWORD_PTR data, int column, CString& text, COLORREF& fore, COLORREF& back, int& image) {
    if (reinterpret_cast<const listview::testing::TextRow*>(data)->cells[0] == "BUYER") image = 0;
    return listview::testing::FormatTextRow(data, column, text, fore, back, image);
  });
  const auto ops = Paint();
  platform::DrawOps blits;
  for (const auto& op : platform::OpsOfKind(ops, platform::DrawKind::Blit)) {
    if (op.sourceBitmap == platform::ImageListBitmap(images, 0)) blits.push_back(op);
  }
  ASSERT_EQ(blits.size(), 1u);
  const auto first = InRow(ops, 0);
  const int row = std::any_of(first.begin(), first.end(), [](const auto& op) { return op.text == "BUYER"; }) ? 0 : 1;
  CRect icon;
  ASSERT_TRUE(list().GetItemRect(row, &icon, LVIR_ICON));
  EXPECT_EQ(CPoint(blits[0].rect.left, blits[0].rect.top), icon.TopLeft());
  list().SetImageList(nullptr, LVSIL_SMALL);
  ImageList_Destroy(images);
}

}  // namespace
