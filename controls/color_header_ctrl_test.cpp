#include "controls/color_header_ctrl.h"

#include "controls/testing/control_test_support.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"

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

class ColorHeaderCtrlTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(m_header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 300, 20), &m_parent, kId));
    m_header.SetSource(&m_list);
  }

  // Sends the header's custom-draw request to its parent; returns the answer
  // and the text and background colours it left in the DC.
  std::tuple<LRESULT, COLORREF, COLORREF> CustomDraw(DWORD stage, int item) {
    const HDC dc = ::GetDC(m_header);
    NMCUSTOMDRAW cd;
    cd.hdr = NMHDR{m_header.m_hWnd, kId, NM_CUSTOMDRAW};
    cd.dwDrawStage = stage;
    cd.hdc = dc;
    cd.dwItemSpec = static_cast<DWORD_PTR>(item);
    const LRESULT answer = m_parent.SendMessage(WM_NOTIFY, kId, reinterpret_cast<LPARAM>(&cd));
    const auto drawn = std::tuple(answer, ::GetTextColor(dc), ::GetBkColor(dc));
    ::ReleaseDC(m_header, dc);
    return drawn;
  }

  CColorHeaderCtrl m_header;
  FakeList m_list;
};

TEST_F(ColorHeaderCtrlTest, FilteredColumnsAreGoldTheOthersLightGoldAndTheCaptionsBlack) {
  const COLORREF black = RGB(0, 0, 0), gold = CColorHeaderCtrl::kGold, light = CColorHeaderCtrl::kLightGold;
  EXPECT_EQ(std::get<0>(CustomDraw(CDDS_PREPAINT, 0)), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(CustomDraw(CDDS_ITEMPREPAINT, 1), std::tuple(CDRF_NEWFONT, black, gold));
  EXPECT_EQ(std::get<2>(CustomDraw(CDDS_ITEMPREPAINT, 2)), light);
  EXPECT_EQ(std::get<2>(CustomDraw(CDDS_ITEMPREPAINT, 0)), light);
  m_list.filtered.clear();  // no filter anywhere: the button face throughout
  EXPECT_EQ(std::get<2>(CustomDraw(CDDS_ITEMPREPAINT, 1)), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColorHeaderCtrlTest, ErasingPaintsLightGoldOnlyWhileTheFilterRowShowsAndIntoTheSendersContext) {
  platform::DrawOps ops = Repaint(m_header);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, platform::DrawKind::FillRect);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 300, 20));
  EXPECT_EQ(ops[0].color, CColorHeaderCtrl::kLightGold);

  // Without the filter row, into a context of the sender's (a page being printed), not on the screen.
  m_list.filterRow = false;
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
