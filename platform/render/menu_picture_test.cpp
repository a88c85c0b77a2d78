#include "platform/render/menu_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_metrics.h"

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

}  // namespace
