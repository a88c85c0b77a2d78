#include "platform/comctl/win_term.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/sys_colors.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/clipboard.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"
#include "platform/testing/reset_for_test.h"

namespace {

// A session left in every state a program can leave: windows with an owned
// pop-up, a posted message, a timer, a key down, changed colours, text on
// an open clipboard, a menu, a logged message box. AfxWinTerm leaves none.
TEST(WinTerm, EndsTheSessionAsANewProcessFindsIt) {
  platform::ResetForTest();
  const HWND owner = ::CreateWindowEx(0, "Test", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  const HWND owned = ::CreateWindowEx(0, "Test", "owned", WS_POPUP, 0, 0, 20, 20, owner, nullptr, nullptr, nullptr);
  ASSERT_NE(owned, nullptr);
  ASSERT_TRUE(::PostMessage(owner, WM_USER, 0, 0));
  ASSERT_NE(::SetTimer(owner, 7, 10, nullptr), 0u);
  platform::SetKeyDown(VK_SHIFT, true);
  const int index = COLOR_WINDOW;
  const COLORREF classic = ::GetSysColor(COLOR_WINDOW);
  const COLORREF pink = RGB(255, 0, 255);
  ASSERT_TRUE(::SetSysColors(1, &index, &pink));
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(::GlobalLock(block), "hi", 3);
  ::GlobalUnlock(block);
  ASSERT_NE(::SetClipboardData(CF_TEXT, block), nullptr);
  const HMENU menu = ::CreatePopupMenu();
  platform::SetMessageBoxResponder([](const platform::MessageBoxRecord&) { return IDOK; });
  ::MessageBox(owner, "text", "caption", MB_OK);
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);

  AfxWinTerm();
  EXPECT_FALSE(::IsWindow(owner) || ::IsWindow(owned));
  MSG msg;
  EXPECT_FALSE(::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) << "no posted message, no timer";
  EXPECT_EQ(std::tuple(::GetKeyState(VK_SHIFT) & 0x8000, ::GetSysColor(COLOR_WINDOW), ::GetOpenClipboardWindow()),
            std::tuple(0, classic, HWND{}));
  EXPECT_FALSE(platform::ClipboardText().has_value() || ::IsMenu(menu) || !platform::MessageBoxLog().empty());
  platform::ResetForTest();
}

}  // namespace
