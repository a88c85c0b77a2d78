#include "platform/render/menu_picture.h"

#include <cairo.h>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/render/canvas.h"
#include "platform/render/control_chrome.h"
#include "platform/user/menu_layout.h"

namespace platform {

namespace {

RECT Offset(const RECT& r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

}  // namespace

void PaintPopupMenu(const Painter& p, const MenuRecord& menu, POINT origin) {
  const FontSpec font;
  const MenuLayout layout = LayOutMenu(menu.entries);
  const RECT all = Offset(RECT{0, 0, layout.width, layout.height}, origin);
  p.Fill(all, GetSysColor(COLOR_MENU));
  p.RaisedEdge(all);
  for (size_t i = 0; i < menu.entries.size(); ++i) {
    const MenuEntry& e = menu.entries[i];
    const RECT row = Offset(layout.rows[i], origin);
    if (e.flags & MF_SEPARATOR) {
      const int mid = row.top + kMenuSeparatorHeight / 2 - 1;
      p.Fill(RECT{row.left + 1, mid, row.right - 1, mid + 1}, GetSysColor(COLOR_3DSHADOW));
      p.Fill(RECT{row.left + 1, mid + 1, row.right - 1, mid + 2}, GetSysColor(COLOR_3DHILIGHT));
      continue;
    }
    const bool lit = (menu.chosen != 0 && e.id == menu.chosen) || static_cast<int>(i) == menu.hot;
    const bool greyed = (e.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    if (lit) p.Fill(row, GetSysColor(COLOR_HIGHLIGHT));
    const COLORREF ink = lit      ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                         : greyed ? GetSysColor(COLOR_GRAYTEXT)
                                  : GetSysColor(COLOR_MENUTEXT);
    if (e.flags & MF_CHECKED) {
      static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
      for (int k = 0; k < 7; ++k) {
        p.Fill(RECT{row.left + 5 + k, row.top + 6 + kRise[k], row.left + 6 + k, row.top + 9 + kRise[k]}, ink);
      }
    }
    const MenuText text = SplitMenuText(e.text);
    const RECT textRect{row.left + kMenuCheckColumn, row.top, row.right - kMenuRightMargin, row.bottom};
    auto draw = [&](int dx, COLORREF color) {
      for (const TextLine& line : LayOutText(font, text.label, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT).lines) {
        p.Text(font, line.text, POINT{line.origin.x + dx, line.origin.y + dx}, color);
      }
      for (const TextLine& line :
           LayOutText(font, text.accelerator, textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT).lines) {
        p.Text(font, line.text, POINT{line.origin.x + dx, line.origin.y + dx}, color);
      }
    };
    if (greyed && !lit) draw(1, GetSysColor(COLOR_3DHILIGHT));
    draw(0, ink);
  }
}

Image RenderPopupMenu(const MenuRecord& menu) {
  const MenuLayout layout = LayOutMenu(menu.entries);
  return PaintPicture(layout.width, layout.height, [&](cairo_t* cr) {
    PaintPopupMenu(Painter(cr), menu, POINT{0, 0});
  });
}

}  // namespace platform
