#include "platform/user/draw_icon.h"

#include <gtest/gtest.h>

#include "platform/gdi/display_list.h"
#include "platform/testing/reset_test.h"
#include "platform/user/dialog_resources.h"
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

TEST_F(DrawIconTest, AnIconHandlePassesThroughAnIntAndDrawsWhereItIsAsked) {
  const HICON first = platform::RegisterIcon(kModule, 1);
  const HICON second = platform::RegisterIcon(kModule, 2);
  ASSERT_NE(first, second);
  for (HICON icon : {first, second}) {
    const int asInt = static_cast<int>(reinterpret_cast<INT_PTR>(icon));
    EXPECT_GT(asInt, 0);
    EXPECT_EQ(reinterpret_cast<HICON>(static_cast<INT_PTR>(asInt)), icon);
  }
  EXPECT_EQ(platform::IconFromHandle(second)->id, 2u);

  ASSERT_TRUE(::DrawIconEx(m_dc, 10, 20, second, 30, 15, 0, nullptr, DI_NORMAL));
  ASSERT_TRUE(::DrawIcon(m_dc, 1, 2, first));
  const auto icons = platform::OpsOfKind(platform::WindowDisplayList(m_window), platform::DrawKind::Icon);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].icon, second);
  EXPECT_EQ(icons[0].rect.left, 10);
  EXPECT_EQ(icons[0].rect.top, 20);
  EXPECT_EQ(icons[0].rect.right, 40);
  EXPECT_EQ(icons[0].rect.bottom, 35);
  EXPECT_EQ(icons[1].rect.right - icons[1].rect.left, 32) << "the system's icon size";
  EXPECT_EQ(icons[1].rect.bottom - icons[1].rect.top, 32);
}

TEST_F(DrawIconTest, WhatIsNoIconOrNoDrawingDrawsNothing) {
  const HICON icon = platform::RegisterIcon(kModule, 1);
  const auto asked = reinterpret_cast<INT_PTR>(icon);
  EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, nullptr, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, reinterpret_cast<HICON>(asked + 1), 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, reinterpret_cast<HICON>(asked + 4), 0, 0, 0, nullptr, DI_NORMAL))
      << "the next handle is not given out yet";
  EXPECT_FALSE(::DrawIconEx(m_dc, 0, 0, icon, 0, 0, 0, nullptr, 0)) << "neither mask nor image";
  EXPECT_FALSE(::DrawIconEx(reinterpret_cast<HDC>(asked), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  platform::RemoveModuleResources(kModule);
  EXPECT_FALSE(::DrawIcon(m_dc, 0, 0, icon)) << "its module is gone";
  EXPECT_TRUE(platform::OpsOfKind(platform::WindowDisplayList(m_window), platform::DrawKind::Icon).empty());
}

}  // namespace
