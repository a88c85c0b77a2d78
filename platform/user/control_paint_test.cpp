// Painting of the standard controls: the colours a parent (or the control
// itself, by reflection) gives through WM_CTLCOLOR*, and owner drawing on a
// real device context, read back from the display lists.
#include <gtest/gtest.h>

#include "platform/user/cbutton.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/display_list.h"
#include "platform/window/message_queue.h"
#include "platform/user/cstatic.h"
#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_test.h"
#include "platform/window/window_paint.h"

namespace {

using platform::DrawKind;
using platform::OpsOfKind;
using platform::WindowDisplayList;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGold = RGB(218, 165, 32);
constexpr COLORREF kBlue = RGB(0, 0, 180);

class Parent : public CWnd {
 public:
  Parent() { CreateEx(0, "Parent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0); }
  HWND Add(LPCSTR cls, LPCSTR text, DWORD style, int id) {
    return ::CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 120, 20, m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
  CBrush gold{kGold};
  std::vector<UINT> asked;

 protected:
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override {
    asked.push_back(kind);
    if (wnd != nullptr && wnd->GetDlgCtrlID() == 1) {
      dc->SetTextColor(kRed);
      dc->SetBkMode(TRANSPARENT);
      return gold;
    }
    return CWnd::OnCtlColor(dc, wnd, kind);
  }
};

class PaintTest : public platform::ResetTest {};

TEST_F(PaintTest, ControlsAskForTheColoursOfTheirKind) {
  Parent parent;
  parent.Add("BUTTON", "Add Group", BS_PUSHBUTTON, 3);
  parent.Add("BUTTON", "Buy", BS_AUTORADIOBUTTON, 4);
  parent.Add("EDIT", "x", 0, 5);
  parent.Add("EDIT", "y", ES_READONLY, 6);
  platform::PumpMessages();
  EXPECT_EQ(parent.asked, (std::vector<UINT>{CTLCOLOR_BTN, CTLCOLOR_STATIC, CTLCOLOR_EDIT, CTLCOLOR_STATIC}));
  const HWND edit = ::GetDlgItem(parent.m_hWnd, 5);
  EXPECT_EQ(OpsOfKind(WindowDisplayList(edit), DrawKind::FillRect)[0].color, GetSysColor(COLOR_WINDOW));
}

TEST_F(PaintTest, OwnerDrawingGetsARealDeviceContextOfTheButton) {
  struct Swatch : CButton {
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
      CDC* dc = CDC::FromHandle(dis->hDC);
      dc->FillSolidRect(&dis->rcItem, (dis->itemState & ODS_SELECTED) ? kRed : kGold);
    }
  };
  Parent parent;
  Swatch swatch;
  swatch.SubclassWindow(parent.Add("BUTTON", "", BS_OWNERDRAW, 7));
  platform::PumpMessages();
  auto fills = OpsOfKind(WindowDisplayList(swatch.m_hWnd), DrawKind::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().color, kGold);
  EXPECT_EQ(fills.back().rect.right, 120);
  swatch.SetState(TRUE);
  fills = OpsOfKind(WindowDisplayList(swatch.m_hWnd), DrawKind::FillRect);
  EXPECT_EQ(fills.back().color, kRed) << "pushed, drawn selected at once";
}

TEST_F(PaintTest, FontsAndDeviceContextsThroughTheWindowObject) {
  Parent parent;
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
  parent.SetFont(&font);
  ASSERT_NE(parent.GetFont(), nullptr);
  EXPECT_EQ(static_cast<HFONT>(*parent.GetFont()), static_cast<HFONT>(font));
  CDC* dc = parent.GetDC();
  ASSERT_NE(dc, nullptr);
  dc->FillSolidRect(0, 0, 5, 5, kBlue);
  EXPECT_EQ(parent.ReleaseDC(dc), 1);
  EXPECT_EQ(OpsOfKind(WindowDisplayList(parent.m_hWnd), DrawKind::FillRect).back().color, kBlue);
  CWnd bare;
  EXPECT_EQ(bare.GetDC(), nullptr) << "no window, no DC";
}

}  // namespace
