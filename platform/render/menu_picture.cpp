#include "platform/render/menu_picture.h"

#include <cairo.h>

#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/render/canvas.h"
#include "platform/render/painter.h"

namespace platform {
namespace {

constexpr int kFrame = 3;
constexpr int kEntryHeight = 19;
constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 17;
constexpr int kRightMargin = 17;
constexpr int kTabGap = 16;

struct Parts {
  std::string label;
  std::string accelerator;  // after a tab
};

Parts Split(const std::string& text) {
  const size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int Shown(const FontSpec& font, const std::string& text) {
  return LayOutText(font, text, RECT{}, DT_SINGLELINE).lines.front().width;
}

}  // namespace

Image RenderPopupMenu(const MenuRecord& menu) {
  const FontSpec font;
  int labels = 0;
  int accelerators = 0;
  int height = 0;
  for (const MenuEntry& e : menu.entries) {
    if (e.flags & MF_SEPARATOR) {
      height += kSeparatorHeight;
      continue;
    }
    const Parts parts = Split(e.text);
    labels = std::max(labels, Shown(font, parts.label));
    if (!parts.accelerator.empty()) accelerators = std::max(accelerators, Shown(font, parts.accelerator) + kTabGap);
    height += kEntryHeight;
  }
  const int width = 2 * kFrame + kCheckColumn + labels + accelerators + kRightMargin;
  const int pictureHeight = 2 * kFrame + std::max(height, 1);
  return PaintPicture(width, pictureHeight, [&](cairo_t* cr) {
    const Painter p(cr);
    const RECT all{0, 0, width, pictureHeight};
    p.Fill(all, GetSysColor(COLOR_MENU));
    p.RaisedEdge(all);
    int y = kFrame;
    for (const MenuEntry& e : menu.entries) {
      if (e.flags & MF_SEPARATOR) {
        const int mid = y + kSeparatorHeight / 2 - 1;
        p.Fill(RECT{kFrame + 1, mid, width - kFrame - 1, mid + 1}, GetSysColor(COLOR_3DSHADOW));
        p.Fill(RECT{kFrame + 1, mid + 1, width - kFrame - 1, mid + 2}, GetSysColor(COLOR_3DHILIGHT));
        y += kSeparatorHeight;
        continue;
      }
      const RECT row{kFrame, y, width - kFrame, y + kEntryHeight};
      const bool chosen = menu.chosen != 0 && e.id == menu.chosen;
      const bool greyed = (e.flags & (MF_GRAYED | MF_DISABLED)) != 0;
      if (chosen) p.Fill(row, GetSysColor(COLOR_HIGHLIGHT));
      const COLORREF ink = chosen   ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                           : greyed ? GetSysColor(COLOR_GRAYTEXT)
                                    : GetSysColor(COLOR_MENUTEXT);
      if (e.flags & MF_CHECKED) {
        static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
        for (int i = 0; i < 7; ++i) {
          p.Fill(RECT{row.left + 5 + i, y + 6 + kRise[i], row.left + 6 + i, y + 9 + kRise[i]}, ink);
        }
      }
      const Parts parts = Split(e.text);
      const RECT textRect{row.left + kCheckColumn, y, row.right - kRightMargin, y + kEntryHeight};
      auto draw = [&](int dx, COLORREF color) {
        for (const TextLine& line :
             LayOutText(font, parts.label, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT).lines) {
          p.Text(font, line.text, POINT{line.origin.x + dx, line.origin.y + dx}, color);
        }
        for (const TextLine& line :
             LayOutText(font, parts.accelerator, textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT).lines) {
          p.Text(font, line.text, POINT{line.origin.x + dx, line.origin.y + dx}, color);
        }
      };
      if (greyed && !chosen) draw(1, GetSysColor(COLOR_3DHILIGHT));
      draw(0, ink);
      y += kEntryHeight;
    }
  });
}

}  // namespace platform
