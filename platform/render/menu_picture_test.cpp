#include "platform/render/menu_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_metrics.h"
#include "platform/input/input_driver.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_for_test.h"
#include "platform/user/menu_layout.h"
#include "platform/user/popup_menu_window.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"

namespace {

using platform::MenuEntry;

// Pixels whose every channel is below (dark) or above (light) a level:
// antialiased text is seldom exactly its colour.
int Pixels(const platform::Image& image, const RECT& r, bool dark) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = image.At(x, y);
      const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      const int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
      if (dark ? hi < 64 : lo > 224) ++n;
    }
  }
  return n;
}

TEST(MenuPicture, EntriesSeparatorsChecksGreyedAndTheChoice) {
  platform::MenuRecord menu;
  menu.entries = {MenuEntry{MF_STRING, 4001, "&Column Profile"}, MenuEntry{MF_SEPARATOR, 0, ""},
                  MenuEntry{MF_GRAYED, 4002, "Export\tCtrl+E"}, MenuEntry{MF_CHECKED, 4003, "Filter Row"}};
  const platform::Image image = platform::RenderPopupMenu(menu);
  EXPECT_EQ(image.height, 3 + 19 + 9 + 19 + 19 + 3);
  const platform::FontSpec font;
  // The check column, the widest label and its accelerator apart, a right margin.
  EXPECT_EQ(image.width,
            3 + 17 + platform::TextWidth(font, "Column Profile") + platform::TextWidth(font, "Ctrl+E") + 16 + 17 + 3);
  const COLORREF black = GetSysColor(COLOR_MENUTEXT);
  const RECT first{20, 3, image.width - 3, 22};
  const RECT greyed{20, 31, image.width - 3, 50};
  const RECT checkColumn{3, 50, 20, 69};
  EXPECT_GT(Pixels(image, first, true), 10);
  EXPECT_EQ(Pixels(image, greyed, true), 0) << "a greyed entry has no black text";
  EXPECT_GT(Pixels(image, greyed, false), 5) << "it is embossed";
  EXPECT_EQ(image.Count(checkColumn, black), 21) << "the tick";
  EXPECT_EQ(image.Count(RECT{3, 3, 20, 22}, black), 0) << "no tick on an unchecked entry";
  EXPECT_EQ(image.Count(first, GetSysColor(COLOR_HIGHLIGHT)), 0);

  menu.chosen = 4001;
  const platform::Image chosen = platform::RenderPopupMenu(menu);
  EXPECT_GT(chosen.Count(first, GetSysColor(COLOR_HIGHLIGHT)), (first.right - first.left) * 19 / 2);
}

TEST(MenuPicture, AMenuWindowShowsTheEntryUnderThePointerHot) {
  platform::ResetForTest();
  CWnd owner;
  owner.CreateEx(0, "Test", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0);
  platform::MenuRecord menu;
  menu.owner = owner.m_hWnd;
  menu.position = POINT{20, 20};
  menu.entries = {MenuEntry{MF_STRING, 4001, "Reposition Columns"}, MenuEntry{MF_SEPARATOR, 0, ""},
                  MenuEntry{MF_STRING, 4002, "Fit to Header Size"}, MenuEntry{MF_STRING, 4003, "Fit to Window"}};
  const platform::MenuLayout layout = platform::LayOutMenu(menu.entries);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  platform::Image first, third;
  platform::SetModalResponder([&](HWND window) {
    first = platform::RenderWindow(window);  // at first, the first entry
    const RECT row = layout.rows[3];
    platform::input::MouseMove(window, POINT{row.left + 20, (row.top + row.bottom) / 2});
    third = platform::RenderWindow(window);
    platform::input::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(platform::ShowPopupMenu(menu), 0u);
  const int rowArea = (layout.rows[0].right - layout.rows[0].left) * 19;
  EXPECT_EQ(first.width, layout.width);
  EXPECT_GT(first.Count(layout.rows[0], highlight), rowArea / 2);
  EXPECT_EQ(first.Count(layout.rows[3], highlight), 0);
  EXPECT_GT(third.Count(layout.rows[3], highlight), rowArea / 2) << "the pointer's entry";
  EXPECT_EQ(third.Count(layout.rows[0], highlight), 0) << "and no other";
  EXPECT_EQ(third.Count(layout.rows[2], highlight), 0);
  platform::ResetForTest();
}

}  // namespace
