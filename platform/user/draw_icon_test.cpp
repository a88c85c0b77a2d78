#include "platform/user/draw_icon.h"

#include <gtest/gtest.h>

#include "platform/gdi/display_list.h"
#include "platform/testing/reset_test.h"
#include "platform/user/dialog_resources.h"
#include "platform/window/metrics.h"
#include "platform/window/window_paint.h"
#include "platform/window/winapi.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7300});

class DrawIconTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    m_window =
        ::CreateWindowEx(0, "Rec", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    m_dc = ::GetDC(m_window);
  }
  void TearDown() override {
    ::ReleaseDC(m_window, m_dc);
    platform::RemoveModuleResources(kModule);
  }
  HWND m_window = nullptr;
  HDC m_dc = nullptr;
};

TEST_F(DrawIconTest, WhatIsNoIconOrNoDrawingDrawsNothing) {
  const HICON icon = platform::RegisterIcon(kModule, 1);
  EXPECT_EQ(::LoadIcon(kModule, MAKEINTRESOURCE(1)), icon);
  const auto other = reinterpret_cast<HINSTANCE>(uintptr_t{0x7400});
  EXPECT_EQ(::LoadIcon(other, MAKEINTRESOURCE(1)), nullptr) << "not its module";
  const auto asked = reinterpret_cast<INT_PTR>(icon);
  for (const INT_PTR none : {INT_PTR{0}, asked + 1, asked + 4}) {  // null, between handles, the next not given out yet
    EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, reinterpret_cast<HICON>(none), 0, 0, 0, nullptr, DI_NORMAL)) << none - asked;
  }
  EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, icon, 0, 0, 0, nullptr, 0)) << "neither mask nor image";
  EXPECT_FALSE(::DrawIconEx(reinterpret_cast<HDC>(asked), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_NE(platform::RegisterIcon(other, 1), icon) << "another module's icon 1 is its own";
  platform::RemoveModuleResources(other);
  platform::RemoveModuleResources(kModule);
  EXPECT_FALSE(::DrawIcon(m_dc, 0, 0, icon)) << "its module is gone";
  EXPECT_TRUE(platform::OpsOfKind(platform::WindowDisplayList(m_window), platform::DrawKind::Icon).empty());
}

TEST_F(DrawIconTest, AnIconIsDrawnAtItsSizeOrTheSystemIconSize) {
  const HICON icon = platform::RegisterIcon(kModule, 1);
  const int cx = ::GetSystemMetrics(SM_CXICON);
  const int cy = ::GetSystemMetrics(SM_CYICON);
  ASSERT_TRUE(cx != 16 && cy != 24);
  EXPECT_TRUE(::DrawIcon(m_dc, 2, 3, icon) && ::DrawIconEx(m_dc, 5, 6, icon, 16, 24, 0, nullptr, DI_NORMAL) &&
              ::DrawIconEx(m_dc, 7, 8, icon, 0, 24, 0, nullptr, DI_NORMAL) &&
              ::DrawIconEx(m_dc, 9, 10, icon, 16, 0, 0, nullptr, DI_NORMAL));
  const auto ops = platform::OpsOfKind(platform::WindowDisplayList(m_window), platform::DrawKind::Icon);
  ASSERT_EQ(ops.size(), 4u);
  const CRect want[] = {CRect(2, 3, 2 + cx, 3 + cy), CRect(5, 6, 21, 30), CRect(7, 8, 7 + cx, 32), CRect(9, 10, 25, 10 + cy)};
  for (size_t i = 0; i < ops.size(); ++i) {
    EXPECT_EQ(ops[i].icon, icon);
    EXPECT_EQ(want[i], ops[i].rect) << i;
  }
}

}  // namespace
