#include "platform/render/message_box_picture.h"

#include <cairo.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/render/canvas.h"
#include "platform/render/control_chrome.h"
#include "platform/window/metrics.h"

namespace platform {
namespace {

constexpr int kMargin = 11;
constexpr int kIcon = 32;
constexpr int kMaxTextWidth = 450;
constexpr SIZE kButton{75, 23};
constexpr int kButtonGap = 6;

std::vector<const char*> Buttons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {"OK", "Cancel"};
    case MB_ABORTRETRYIGNORE: return {"&Abort", "&Retry", "&Ignore"};
    case MB_YESNOCANCEL: return {"&Yes", "&No", "Cancel"};
    case MB_YESNO: return {"&Yes", "&No"};
    case MB_RETRYCANCEL: return {"&Retry", "Cancel"};
    case MB_CANCELTRYCONTINUE: return {"Cancel", "&Try Again", "&Continue"};
    default: return {"OK"};
  }
}

void Icon(const Painter& p, UINT icon, int x, int y) {
  cairo_t* cr = p.cr();
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  const double cx = x + kIcon / 2.0;
  const double cy = y + kIcon / 2.0;
  COLORREF ink = RGB(255, 255, 255);
  const char* mark = "i";
  switch (icon) {
    case MB_ICONHAND:
      SetSourceColor(cr, RGB(220, 0, 0));
      cairo_arc(cr, cx, cy, 15, 0, 6.2832);
      cairo_fill(cr);
      mark = "X";
      break;
    case MB_ICONEXCLAMATION:
      SetSourceColor(cr, RGB(255, 220, 0));
      cairo_move_to(cr, cx, y + 1);
      cairo_line_to(cr, x + kIcon - 1, y + kIcon - 2);
      cairo_line_to(cr, x + 1, y + kIcon - 2);
      cairo_close_path(cr);
      cairo_fill_preserve(cr);
      SetSourceColor(cr, RGB(0, 0, 0));
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      ink = RGB(0, 0, 0);
      mark = "!";
      break;
    default:  // question and information: a blue disc
      SetSourceColor(cr, RGB(0, 0, 200));
      cairo_arc(cr, cx, cy, 15, 0, 6.2832);
      cairo_fill(cr);
      mark = icon == MB_ICONQUESTION ? "?" : "i";
      break;
  }
  cairo_restore(cr);
  FontSpec font{"MS Shell Dlg", 20, FW_BOLD};
  const TextLayout layout = LayOutText(font, mark, RECT{x, y + 3, x + kIcon, y + kIcon},
                                       DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  for (const TextLine& line : layout.lines) p.Text(font, line.text, line.origin, ink);
}

}  // namespace

Image RenderMessageBox(const MessageBoxRecord& box) {
  const FontSpec font;
  const UINT icon = box.type & MB_ICONMASK;
  const bool hasIcon =
      icon == MB_ICONHAND || icon == MB_ICONQUESTION || icon == MB_ICONEXCLAMATION || icon == MB_ICONASTERISK;
  // Client coordinates first; the frame and caption go around them.
  const int textLeft = kMargin + (hasIcon ? kIcon + kMargin : 0);
  const TextLayout measured = LayOutText(font, box.text, RECT{0, 0, kMaxTextWidth, 0}, DT_WORDBREAK | DT_NOPREFIX);
  int textWidth = 0;
  for (const TextLine& line : measured.lines) textWidth = std::max(textWidth, line.width);
  const int textHeight = measured.extent.bottom - measured.extent.top;
  const int textTop = kMargin + (hasIcon ? std::max(0, (kIcon - textHeight) / 2) : 0);
  const std::vector<const char*> buttons = Buttons(box.type);
  const int count = static_cast<int>(buttons.size());
  const int buttonsWidth = count * kButton.cx + (count - 1) * kButtonGap;
  const int contentBottom = std::max(textTop + textHeight, hasIcon ? kMargin + kIcon : 0);
  const int buttonTop = contentBottom + 14;
  const int clientWidth = std::max(textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin);
  const int clientHeight = buttonTop + kButton.cy + kMargin;

  const int frame = GetSystemMetrics(SM_CXDLGFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int width = clientWidth + 2 * frame;
  const int height = clientHeight + 2 * frame + caption;
  return PaintPicture(width, height, [&](cairo_t* cr) {
    const Painter p(cr);
    const RECT window{0, 0, width, height};
    p.Fill(window, GetSysColor(COLOR_3DFACE));
    p.RaisedEdge(window);
    CaptionLook look;
    look.text = box.caption.value_or("Error");
    DrawCaption(p, look, RECT{frame, frame, width - frame, frame + caption});
    cairo_translate(cr, frame, frame + caption);
    if (hasIcon) Icon(p, icon, kMargin, kMargin);
    const TextLayout text = LayOutText(font, box.text, RECT{textLeft, textTop, textLeft + kMaxTextWidth, clientHeight},
                                       DT_WORDBREAK | DT_NOPREFIX);
    for (const TextLine& line : text.lines) p.Text(font, line.text, line.origin, GetSysColor(COLOR_WINDOWTEXT));
    const int defaultButton = static_cast<int>((box.type & MB_DEFMASK) >> 8);
    int x = (clientWidth - buttonsWidth) / 2;
    for (int i = 0; i < count; ++i) {
      const std::string shown = LayOutText(font, buttons[static_cast<size_t>(i)], RECT{}, DT_SINGLELINE).lines[0].text;
      DrawPushButton(p, RECT{x, buttonTop, x + kButton.cx, buttonTop + kButton.cy}, shown,
                     i == std::min(defaultButton, count - 1));
      x += kButton.cx + kButtonGap;
    }
  });
}

}  // namespace platform
