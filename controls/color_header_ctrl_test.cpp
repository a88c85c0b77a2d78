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

  CColorHeaderCtrl m_header;
  FakeList m_list;
};

TEST_F(ColorHeaderCtrlTest, ErasingPaintsLightGoldOnlyWhileTheFilterRowShowsAndIntoTheSendersContext) {
  platform::DrawOps ops = Repaint(m_header);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, platform::DrawKind::FillRect);
  EXPECT_EQ(CRect(ops[0].rect), CRect(0, 0, 300, 20));
  EXPECT_EQ(ops[0].color, CColorHeaderCtrl::kLightGold);
  EXPECT_EQ(m_header.ItemBackground(1), CColorHeaderCtrl::kGold) << "item 1 shows the filtered column";

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
