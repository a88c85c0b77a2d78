// A dialog its creator leaves without owner and place.
#include "platform/user/dialog_placement.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/testing/reset_test.h"
#include "platform/user/cdialog.h"
#include "platform/user/dialog_resources.h"
#include "platform/window/metrics.h"

namespace {

class DialogPlacementTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    form.CreateEx(0, "Test", "form", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 400, 200, nullptr, 0);
    button = ::CreateWindowEx(0, "BUTTON", "Open", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, form.m_hWnd,
                              reinterpret_cast<HMENU>(1), nullptr, nullptr);
  }

  RECT Opened(CDialog& dialog) {
    EXPECT_TRUE(dialog.CreateIndirect(list, nullptr));
    RECT r{};
    ::GetWindowRect(dialog.m_hWnd, &r);
    return r;
  }

  CWnd form;
  HWND button = nullptr;
  platform::DialogTemplate list{
      .caption = "list", .cx = 100, .cy = 50, .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .items = {}};
};

TEST_F(DialogPlacementTest, WithAMainWindowItBelongsToThatOneSoTheFormItCameFromCanComeAboveIt) {
  CWnd main;
  main.CreateEx(0, "Test", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, 0);
  platform::SetMainWindow(&main);
  ::SetWindowLongPtr(form.m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main.m_hWnd));
  ::SetForegroundWindow(form.m_hWnd);
  ::SetFocus(button);
  CDialog dialog;
  const RECT r = Opened(dialog);
  EXPECT_EQ(::GetWindow(dialog.m_hWnd, GW_OWNER), main.m_hWnd);
  EXPECT_EQ(r.top, 300) << "still placed from the form it was opened from";
  dialog.ShowWindow(SW_SHOWMAXIMIZED);
  ::SetForegroundWindow(form.m_hWnd);
  EXPECT_EQ(::GetWindow(form.m_hWnd, GW_HWNDFIRST), form.m_hWnd) << "the form comes up over the maximised dialog";
  platform::SetMainWindow(nullptr);
}

TEST_F(DialogPlacementTest, BelowIfItFitsElseBesideElseUnderTheButtonOnTheScreenAndAPlaceGivenStands) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  ::SetFocus(button);
  CDialog probe;
  const RECT size = Opened(probe);
  EXPECT_EQ(::GetWindow(probe.m_hWnd, GW_OWNER), form.m_hWnd) << "without a main window the active one owns it";
  const int w = size.right - size.left;
  const int h = size.bottom - size.top;
  probe.DestroyWindow();
  // Forms placed where each rule just holds and one pixel past it: 'b'elow, 'r'ight, or 'u'nder the button.
  struct Case {
    int x, y;
    char where;
  };
  const Case cases[] = {{sw - w, 100, 'b'},
                        {sw - w + 1, 100, 'u'},
                        {100, sh - 200 - h, 'b'},
                        {100, sh - 200 - h + 1, 'r'},
                        {sw - 400 - w, sh - h, 'r'},
                        {sw - 400 - w + 1, sh - h, 'u'},
                        {sw - 400 - w, sh - h + 1, 'u'}};
  for (const Case& c : cases) {
    form.MoveWindow(c.x, c.y, 400, 200, TRUE);
    ::SetFocus(button);
    RECT pressed;
    ::GetWindowRect(button, &pressed);
    CDialog dialog;
    const RECT r = Opened(dialog);
    const POINT expected = c.where == 'b' ? POINT{c.x, c.y + 200}
                           : c.where == 'r'
                               ? POINT{c.x + 400, c.y}
                               : POINT{std::clamp(c.x, 0, sw - w), std::clamp<LONG>(pressed.bottom + 2, 0, sh - h)};
    EXPECT_EQ(r.left, expected.x) << c.x << "," << c.y;
    EXPECT_EQ(r.top, expected.y) << c.x << "," << c.y;
    dialog.DestroyWindow();
  }
  form.MoveWindow(100, 100, 400, 200, TRUE);

  // A template's own place, or no opening control in the owner, keeps the template's place.
  list.x = 8;
  CDialog placed;
  RECT p = Opened(placed);
  POINT origin{0, 0};
  ::ClientToScreen(form.m_hWnd, &origin);
  EXPECT_EQ(p.left, origin.x + 12);  // 8 dialog units
  list.x = 0;
  ::SetFocus(form.m_hWnd);
  CDialog unopened;
  p = Opened(unopened);
  EXPECT_EQ(p.left, origin.x);
  EXPECT_EQ(p.top, origin.y);
  form.ShowWindow(SW_HIDE);
  ::SetActiveWindow(form.m_hWnd);
  CDialog ownerless;
  Opened(ownerless);
  EXPECT_EQ(::GetWindow(ownerless.m_hWnd, GW_OWNER), nullptr) << "a hidden window, active or not, owns no dialog";
}

}  // namespace
