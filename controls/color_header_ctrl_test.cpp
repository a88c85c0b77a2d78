#include "controls/color_header_ctrl.h"

#include <gtest/gtest.h>

#include "controls/testing/control_test_support.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_for_test.h"
#include "platform/window/window_paint.h"

namespace {

constexpr int kId = 500;

// A list with a filter on column 2, which its header shows as item 1.
class FakeList : public CColorHeaderSource {
 public:
  std::vector<int> filtered{2};
  bool filterRow = true;
  std::vector<int> FilteredColumns() const override { return filtered; }
  int HeaderItemOfColumn(int column) const override { return column - 1; }
  bool IsFilterRowShown() const override { return filterRow; }
};

class ColorHeaderCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateAt(100, 100));
    ASSERT_TRUE(m_header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 300, 20), &m_parent, kId));
    for (const char* text : {"Scrip", "Expiry", "Strike"}) {
      HDITEM item;
      item.mask = HDI_TEXT | HDI_WIDTH;
      item.cxy = 100;
      item.pszText = const_cast<char*>(text);
      m_header.InsertItem(m_header.GetItemCount(), &item);
    }
  }
  void TearDown() override { platform::ResetForTest(); }

  // The custom-draw request the header's paint sends its parent, with the answer and the colours left in the DC.
  struct Drawn {
    LRESULT answer;
    COLORREF text;
    COLORREF background;
  };
  Drawn CustomDraw(DWORD stage, int item) {
    const HDC dc = ::GetDC(m_header);
    NMCUSTOMDRAW cd;
    cd.hdr = NMHDR{m_header.m_hWnd, kId, NM_CUSTOMDRAW};
    cd.dwDrawStage = stage;
    cd.hdc = dc;
    cd.dwItemSpec = static_cast<DWORD_PTR>(item);
    const LRESULT answer = m_parent.SendMessage(WM_NOTIFY, kId, reinterpret_cast<LPARAM>(&cd));
    const Drawn drawn{answer, ::GetTextColor(dc), ::GetBkColor(dc)};
    ::ReleaseDC(m_header, dc);
    return drawn;
  }

  CTestParent m_parent;
  CColorHeaderCtrl m_header;
  FakeList m_list;
};

TEST_F(ColorHeaderCtrlTest, FilteredColumnsAreGoldTheOthersLightGoldAndTheCaptionsBlack) {
  m_header.SetSource(&m_list);
  EXPECT_EQ(CustomDraw(CDDS_PREPAINT, 0).answer, CDRF_NOTIFYITEMDRAW);
  const Drawn filtered = CustomDraw(CDDS_ITEMPREPAINT, 1);
  EXPECT_EQ(filtered.answer, CDRF_NEWFONT);
  EXPECT_EQ(filtered.background, CColorHeaderCtrl::kGold);
  EXPECT_EQ(filtered.text, RGB(0, 0, 0));
  EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 2).background, CColorHeaderCtrl::kLightGold);
  EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 0).background, CColorHeaderCtrl::kLightGold);

  m_list.filtered.clear();  // no filter anywhere: the button face throughout
  for (int item = 0; item < 3; ++item) {
    EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, item).background, ::GetSysColor(COLOR_BTNFACE)) << item;
  }
}

TEST_F(ColorHeaderCtrlTest, ErasingPaintsLightGoldOnlyWhileTheFilterRowShows) {
  m_header.SetSource(&m_list);
  platform::DrawOps ops = Repaint(m_header);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, platform::DrawKind::FillRect);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 300, 20));
  EXPECT_EQ(ops[0].color, CColorHeaderCtrl::kLightGold);

  m_list.filterRow = false;
  ops = Repaint(m_header);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].color, ::GetSysColor(COLOR_BTNFACE));

  // Erasing into a context of the sender's (a page being printed) paints there, not on the screen.
  CDC page;
  ASSERT_TRUE(page.CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&page, 300, 20);
  CBitmap* old = page.SelectObject(&bitmap);
  platform::ClearDisplayList(m_header);
  m_header.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(page.m_hDC));
  page.SelectObject(old);
  ops = platform::BitmapDisplayList(bitmap);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].color, ::GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(platform::WindowDisplayList(m_header).empty());
}

}  // namespace
