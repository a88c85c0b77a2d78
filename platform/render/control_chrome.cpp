#include "platform/render/control_chrome.h"

#include <algorithm>
#include <cctype>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/user/combo_box.h"
#include "platform/user/popup_menu_window.h"
#include "platform/window/metrics.h"
#include "platform/window/move_size.h"
#include "platform/window/non_client.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

constexpr int kBoxSize = 13;        // check and radio boxes
constexpr int kGroupTextInset = 8;  // a group box's caption, from its left

COLORREF Sys(int index) { return GetSysColor(index); }

DWORD StyleOf(HWND w) { return static_cast<DWORD>(::GetWindowLongPtr(w, GWL_STYLE)); }
DWORD ExStyleOf(HWND w) { return static_cast<DWORD>(::GetWindowLongPtr(w, GWL_EXSTYLE)); }

std::string TextOf(HWND w) {
  std::string text(static_cast<size_t>(::GetWindowTextLength(w)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowText(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

FontSpec FontOf(HWND w) {
  const auto font = reinterpret_cast<HFONT>(::SendMessage(w, WM_GETFONT, 0, 0));
  const FontSpec* face = font != nullptr ? FontFromHandle(font) : nullptr;
  return face != nullptr ? *face : FontSpec{};
}

// A solid triangle pointing down, `width` pixels wide at the top (odd), centred on (cx, top).
void DownArrow(const Painter& p, int cx, int top, int width, COLORREF color) {
  for (int row = 0; row <= width / 2; ++row) {
    p.Fill(RECT{cx - width / 2 + row, top + row, cx + width / 2 - row + 1, top + row + 1}, color);
  }
}

void UpArrow(const Painter& p, int cx, int bottom, int width, COLORREF color) {
  for (int row = 0; row <= width / 2; ++row) {
    p.Fill(RECT{cx - width / 2 + row, bottom - row - 1, cx + width / 2 - row + 1, bottom - row}, color);
  }
}

void ButtonFace(const Painter& p, const RECT& r, bool pushed) {
  p.Fill(RECT{r.left, r.top, r.right, r.bottom}, Sys(COLOR_3DFACE));
  if (pushed) {
    p.Frame(r, Sys(COLOR_3DSHADOW));
  } else {
    p.RaisedEdge(r);
  }
}

// ---- Window frames ----

void Caption(const Painter& p, HWND w, const RECT& bar) {
  const DWORD style = StyleOf(w);
  CaptionLook look;
  look.text = TextOf(w);
  look.active = ::GetActiveWindow() == w || ::GetForegroundWindow() == w;
  look.closeBox = (style & WS_SYSMENU) != 0;
  look.icon = look.closeBox && !(ExStyleOf(w) & WS_EX_DLGMODALFRAME) && !(style & DS_MODALFRAME);
  if (look.closeBox && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0) {
    look.minMax = CaptionLook::MinMaxBoxes{.minimizeEnabled = (style & WS_MINIMIZEBOX) != 0,
                                           .maximizeEnabled = (style & WS_MAXIMIZEBOX) != 0,
                                           .minimized = (style & WS_MINIMIZE) != 0,
                                           .maximized = (style & WS_MAXIMIZE) != 0};
  }
  look.pushed = PushedCaptionBox(w);
  DrawCaption(p, look, bar);
}

void LeftArrow(const Painter& p, int right, int cy, int height, COLORREF color) {
  for (int col = 0; col <= height / 2; ++col) {
    p.Fill(RECT{right - col - 1, cy - height / 2 + col, right - col, cy + height / 2 - col + 1}, color);
  }
}

// ---- Caption boxes ----

enum class BoxGlyph { Minimize, Maximize, Restore };

// A minimise, maximise or restore box: a raised face (pushed in while held)
// with its glyph, grey with a white shadow when the style lacks the box.
void CaptionBox(const Painter& p, const RECT& box, BoxGlyph glyph, bool enabled, bool pushed) {
  ButtonFace(p, box, pushed);
  const int x = box.left + 4 + (pushed ? 1 : 0);
  const int y = box.top + 2 + (pushed ? 1 : 0);
  auto draw = [&](int dx, int dy, COLORREF ink) {
    switch (glyph) {
      case BoxGlyph::Minimize: p.Fill(RECT{x + dx, y + dy + 7, x + dx + 6, y + dy + 9}, ink); break;
      case BoxGlyph::Maximize:
        p.Frame(RECT{x + dx, y + dy, x + dx + 9, y + dy + 9}, ink);
        p.Fill(RECT{x + dx, y + dy + 1, x + dx + 9, y + dy + 2}, ink);
        break;
      case BoxGlyph::Restore:
        // Two windows, the front one lower left.
        p.Frame(RECT{x + dx + 2, y + dy, x + dx + 8, y + dy + 5}, ink);
        p.Fill(RECT{x + dx + 2, y + dy + 1, x + dx + 8, y + dy + 2}, ink);
        p.Fill(RECT{x + dx, y + dy + 3, x + dx + 6, y + dy + 9}, Sys(COLOR_3DFACE));
        p.Frame(RECT{x + dx, y + dy + 3, x + dx + 6, y + dy + 9}, ink);
        p.Fill(RECT{x + dx, y + dy + 4, x + dx + 6, y + dy + 5}, ink);
        break;
    }
  };
  if (!enabled) draw(1, 1, Sys(COLOR_3DHILIGHT));
  draw(0, 0, Sys(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

void RightArrow(const Painter& p, int left, int cy, int height, COLORREF color) {
  for (int col = 0; col <= height / 2; ++col) {
    p.Fill(RECT{left + col, cy - height / 2 + col, left + col + 1, cy + height / 2 - col + 1}, color);
  }
}

// The classic track: a checkerboard of the 3-D highlight and the face.
void Track(const Painter& p, const RECT& r, bool pressed) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const COLORREF light = pressed ? Sys(COLOR_3DDKSHADOW) : Sys(COLOR_3DHILIGHT);
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2, 2);
  cairo_t* t = cairo_create(tile);
  SetSourceColor(t, Sys(COLOR_3DFACE));
  cairo_paint(t);
  SetSourceColor(t, light);
  cairo_rectangle(t, 0, 0, 1, 1);
  cairo_rectangle(t, 1, 1, 1, 1);
  cairo_fill(t);
  cairo_destroy(t);
  cairo_t* cr = p.cr();
  cairo_save(cr);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(tile);
}

RECT Offset(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// One arrow button of a scroll bar: face, edge (flat when held), and its
// arrow, grey and embossed when disabled.
void ScrollArrow(const Painter& p, const RECT& r, bool vertical, bool first, bool pressed, bool disabled) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  ButtonFace(p, r, pressed);
  const int shift = pressed ? 1 : 0;
  const int cx = (r.left + r.right) / 2 + shift;
  const int cy = (r.top + r.bottom) / 2 + shift;
  auto draw = [&](int dx, int dy, COLORREF color) {
    if (vertical && first) UpArrow(p, cx + dx, cy + 2 + dy, 7, color);
    if (vertical && !first) DownArrow(p, cx + dx, cy - 2 + dy, 7, color);
    if (!vertical && first) LeftArrow(p, cx + 2 + dx, cy + dy, 7, color);
    if (!vertical && !first) RightArrow(p, cx - 2 + dx, cy + dy, 7, color);
  };
  if (disabled) {
    draw(1, 1, Sys(COLOR_3DHILIGHT));
    draw(0, 0, Sys(COLOR_3DSHADOW));
  } else {
    draw(0, 0, Sys(COLOR_BTNTEXT));
  }
}

// A window's scroll bar from the geometry hit-testing uses, moved to the
// image by the window's origin there.
void ScrollBar(const Painter& p, HWND w, int bar, POINT origin) {
  const ScrollBarRects g = ScrollBarGeometry(w, bar);
  if (!g.shown) return;
  const bool vertical = bar == SB_VERT;
  const RECT track = Offset(g.track, origin.x, origin.y);
  const RECT thumb = Offset(g.thumb, origin.x, origin.y);
  Track(p, track, false);
  if (g.pressed == ScrollPart::PageUp || g.pressed == ScrollPart::PageDown) {
    // The held part of the track darkens, from the thumb to the track's end.
    RECT held = track;
    if (g.pressed == ScrollPart::PageUp) {
      (vertical ? held.bottom : held.right) = vertical ? thumb.top : thumb.left;
    } else {
      (vertical ? held.top : held.left) = vertical ? thumb.bottom : thumb.right;
    }
    Track(p, held, true);
  }
  if (thumb.right > thumb.left) ButtonFace(p, thumb, false);
  ScrollArrow(p, Offset(g.lineUp, origin.x, origin.y), vertical, true, g.pressed == ScrollPart::LineUp, g.upDisabled);
  ScrollArrow(p, Offset(g.lineDown, origin.x, origin.y), vertical, false, g.pressed == ScrollPart::LineDown,
              g.downDisabled);
}

// ---- Buttons ----

// A push button's frame: the default's black frame outside, then raised (or
// pushed in: one shadow line).
void ButtonEdges(const Painter& p, const RECT& c, bool isDefault, bool pushed) {
  RECT r = c;
  if (isDefault) {
    p.Frame(r, Sys(COLOR_WINDOWFRAME));
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (pushed) {
    p.Frame(r, Sys(COLOR_3DSHADOW));
  } else {
    p.RaisedEdge(r);
  }
}

// Whether a control shows its focus rectangle: it has the focus, and its
// window shows keyboard cues (the keyboard was used there).
bool ShowsFocus(HWND w) { return ::GetFocus() == w && !(::SendMessage(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS); }

void PushButton(const Painter& p, HWND w, const RECT& c) {
  const UINT state = static_cast<UINT>(::SendMessage(w, BM_GETSTATE, 0, 0));
  ButtonEdges(p, c, (StyleOf(w) & BS_TYPEMASK) == BS_DEFPUSHBUTTON, (state & BST_PUSHED) != 0);
  if (ShowsFocus(w)) p.FocusFrame(RECT{c.left + 4, c.top + 4, c.right - 4, c.bottom - 4});
}

void CheckMark(const Painter& p, int left, int top, COLORREF color) {
  static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) p.Fill(RECT{left + i, top + kRise[i], left + i + 1, top + kRise[i] + 3}, color);
}

// The focus rectangle of a check box or radio button: around its caption
// (where the model draws it, after the box), a pixel clear of the letters.
void CaptionFocus(const Painter& p, HWND w, const RECT& c) {
  const std::string text = TextOf(w);
  if (text.empty() || !ShowsFocus(w)) return;
  const FontSpec font = FontOf(w);
  const int left = c.left + kBoxSize + 3;
  const TextLayout layout = LayOutText(font, text, RECT{left, c.top, c.right, c.bottom}, DT_LEFT | DT_SINGLELINE);
  const int height = MeasureFont(font).height;
  const int top = c.top + (c.bottom - c.top - height) / 2;  // as DT_VCENTER places the line
  p.FocusFrame(RECT{left - 1, std::max(c.top, top - 1),
                    std::min(c.right, left + (layout.extent.right - layout.extent.left) + 1),
                    std::min(c.bottom, top + height + 1)});
}

void CheckBox(const Painter& p, HWND w, const RECT& c, bool radio) {
  const UINT check = static_cast<UINT>(::SendMessage(w, BM_GETCHECK, 0, 0));
  const UINT state = static_cast<UINT>(::SendMessage(w, BM_GETSTATE, 0, 0));
  const bool enabled = ::IsWindowEnabled(w) != FALSE;
  CaptionFocus(p, w, c);
  const int top = c.top + (c.bottom - c.top - kBoxSize) / 2;
  const RECT box{c.left, top, c.left + kBoxSize, top + kBoxSize};
  const COLORREF inside = enabled && !(state & BST_PUSHED) ? Sys(COLOR_WINDOW) : Sys(COLOR_3DFACE);
  const COLORREF ink = enabled ? Sys(COLOR_WINDOWTEXT) : Sys(COLOR_GRAYTEXT);
  if (!radio) {
    p.Fill(box, inside);
    p.SunkenEdge(box);
    if (check == BST_CHECKED) CheckMark(p, box.left + 3, box.top + 3, ink);
    if (check == BST_INDETERMINATE) CheckMark(p, box.left + 3, box.top + 3, Sys(COLOR_3DSHADOW));
    return;
  }
  cairo_t* cr = p.cr();
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  const double cx = box.left + kBoxSize / 2.0;
  const double cy = box.top + kBoxSize / 2.0;
  SetSourceColor(cr, inside);
  cairo_arc(cr, cx, cy, 5, 0, 6.2832);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  SetSourceColor(cr, Sys(COLOR_3DSHADOW));
  cairo_arc(cr, cx, cy, 5.5, 2.36, 5.50);
  cairo_stroke(cr);
  SetSourceColor(cr, Sys(COLOR_3DHILIGHT));
  cairo_arc(cr, cx, cy, 5.5, 5.50, 2.36 + 6.2832);
  cairo_stroke(cr);
  if (check == BST_CHECKED) {
    SetSourceColor(cr, ink);
    cairo_arc(cr, cx, cy, 2, 0, 6.2832);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void GroupBox(const Painter& p, HWND w, const RECT& c) {
  const FontSpec font = FontOf(w);
  const int half = MeasureFont(font).height / 2;
  const std::string text = TextOf(w);
  cairo_t* cr = p.cr();
  cairo_save(cr);
  if (!text.empty()) {
    // Leave a gap in the top edge where the caption sits.
    const TextLayout layout = LayOutText(font, text, RECT{c.left + kGroupTextInset, c.top, c.right, c.bottom},
                                         DT_LEFT | DT_TOP | DT_SINGLELINE);
    const int gapLeft = c.left + kGroupTextInset - 2;
    const int gapRight = c.left + kGroupTextInset + layout.extent.right - layout.extent.left + 2;
    cairo_rectangle(cr, c.left, c.top, c.right - c.left, c.bottom - c.top);
    cairo_rectangle(cr, gapRight, c.top, gapLeft - gapRight, half + 2);  // reversed: cut out
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
  }
  p.EtchedFrame(RECT{c.left, c.top + half, c.right, c.bottom});
  cairo_restore(cr);
}

// ---- Statics ----

void StaticUnder(const Painter& p, HWND w, const RECT& c) {
  switch (StyleOf(w) & SS_TYPEMASK) {
    case SS_BLACKRECT: p.Fill(c, Sys(COLOR_3DDKSHADOW)); break;
    case SS_GRAYRECT: p.Fill(c, Sys(COLOR_3DSHADOW)); break;
    case SS_WHITERECT: p.Fill(c, Sys(COLOR_3DHILIGHT)); break;
    default: break;
  }
}

void StaticOver(const Painter& p, HWND w, const RECT& c) {
  switch (StyleOf(w) & SS_TYPEMASK) {
    case SS_BLACKFRAME: p.Frame(c, Sys(COLOR_3DDKSHADOW)); break;
    case SS_GRAYFRAME: p.Frame(c, Sys(COLOR_3DSHADOW)); break;
    case SS_WHITEFRAME: p.Frame(c, Sys(COLOR_3DHILIGHT)); break;
    case SS_ETCHEDFRAME: p.EtchedFrame(c); break;
    case SS_ETCHEDHORZ:
      p.Fill(RECT{c.left, c.top, c.right, c.top + 1}, Sys(COLOR_3DSHADOW));
      p.Fill(RECT{c.left, c.top + 1, c.right, c.top + 2}, Sys(COLOR_3DHILIGHT));
      break;
    case SS_ETCHEDVERT:
      p.Fill(RECT{c.left, c.top, c.left + 1, c.bottom}, Sys(COLOR_3DSHADOW));
      p.Fill(RECT{c.left + 1, c.top, c.left + 2, c.bottom}, Sys(COLOR_3DHILIGHT));
      break;
    default: break;
  }
}

// ---- Combo boxes ----

COMBOBOXINFO ComboInfo(HWND w) {
  COMBOBOXINFO info;
  ::SendMessage(w, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

// A drop-down list that draws nothing of its own shows the chosen item's text.
void ComboUnder(const Painter& p, HWND w) {
  const DWORD style = StyleOf(w);
  const COMBOBOXINFO info = ComboInfo(w);
  if ((style & 3) != CBS_DROPDOWNLIST || (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) return;
  const bool enabled = ::IsWindowEnabled(w) != FALSE;
  const bool focused = ::GetFocus() == w && !::SendMessage(w, CB_GETDROPPEDSTATE, 0, 0);
  const RECT field = info.rcItem;
  p.Fill(field, Sys(enabled ? COLOR_WINDOW : COLOR_3DFACE));
  const auto sel = static_cast<int>(::SendMessage(w, CB_GETCURSEL, 0, 0));
  if (sel < 0) return;
  const auto length = static_cast<int>(::SendMessage(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0));
  if (length <= 0) return;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  ::SendMessage(w, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  const RECT inner{field.left + 3, field.top + 3, field.right - 1, field.bottom - 3};
  if (focused) p.Fill(inner, Sys(COLOR_HIGHLIGHT));
  const FontSpec font = FontOf(w);
  const TextLayout layout = LayOutText(font, text, RECT{inner.left + 1, inner.top, inner.right, inner.bottom},
                                       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  const COLORREF ink = !enabled ? Sys(COLOR_GRAYTEXT) : focused ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_WINDOWTEXT);
  for (const TextLine& line : layout.lines) p.Text(font, line.text, line.origin, ink);
}

void ComboOver(const Painter& p, HWND w, const RECT& c) {
  const COMBOBOXINFO info = ComboInfo(w);
  if ((StyleOf(w) & 3) == CBS_SIMPLE) return;
  p.SunkenEdge(RECT{c.left, c.top, c.right, info.rcItem.bottom});
  RECT button = info.rcButton;
  button = RECT{button.left, button.top + 2, button.right - 2, button.bottom - 2};
  if (button.right - button.left < 4) return;
  const bool dropped = ::SendMessage(w, CB_GETDROPPEDSTATE, 0, 0) != 0;
  ButtonFace(p, button, dropped);
  const int shift = dropped ? 1 : 0;
  DownArrow(p, (button.left + button.right) / 2 + shift, (button.top + button.bottom) / 2 - 1 + shift, 7,
            Sys(::IsWindowEnabled(w) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

// ---- Edits ----

void EditOver(const Painter& p, HWND w, const RECT& c) {
  if (::GetFocus() != w || (StyleOf(w) & ES_MULTILINE)) return;
  const std::string text = TextOf(w);
  const auto sel = static_cast<DWORD>(::SendMessage(w, EM_GETSEL, 0, 0));
  const size_t start = std::min<size_t>(LOWORD(sel), text.size());
  const size_t end = std::min<size_t>(HIWORD(sel), text.size());
  const FontSpec font = FontOf(w);
  const TextLayout layout = LayOutText(font, text, c, DT_SINGLELINE | DT_NOPREFIX);
  if (layout.lines.empty()) return;
  const TextLine& line = layout.lines.front();
  const int height = MeasureFont(font).height;
  const int x0 = line.origin.x + TextWidth(font, std::string_view(text).substr(0, start));
  if (end > start) {
    const std::string selected = text.substr(start, end - start);
    p.Fill(RECT{x0, line.origin.y, x0 + TextWidth(font, selected), line.origin.y + height}, Sys(COLOR_HIGHLIGHT));
    p.Text(font, selected, POINT{x0, line.origin.y}, Sys(COLOR_HIGHLIGHTTEXT));
    return;
  }
  p.Fill(RECT{x0, line.origin.y, x0 + 1, line.origin.y + height}, Sys(COLOR_WINDOWTEXT));  // the caret
}

}  // namespace

void DrawCaption(const Painter& p, const CaptionLook& look, const RECT& bar) {
  const COLORREF from = Sys(look.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF to = Sys(look.active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  cairo_t* cr = p.cr();
  cairo_pattern_t* g = cairo_pattern_create_linear(bar.left, 0, bar.right, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, GetRValue(from) / 255.0, GetGValue(from) / 255.0, GetBValue(from) / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, GetRValue(to) / 255.0, GetGValue(to) / 255.0, GetBValue(to) / 255.0);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top - 1);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  p.Fill(RECT{bar.left, bar.bottom - 1, bar.right, bar.bottom}, Sys(COLOR_3DFACE));

  int textLeft = bar.left + 3;
  int textRight = bar.right - 2;
  const CaptionBoxes boxes = LayOutCaptionBoxes(bar, look.icon, look.closeBox, look.minMax.has_value());
  if (look.icon) {
    // The window's small icon: a little window of its own.
    const RECT icon = boxes.sysMenu;
    p.Fill(RECT{icon.left + 1, icon.top + 2, icon.right - 1, icon.bottom - 2}, Sys(COLOR_WINDOW));
    p.Frame(RECT{icon.left + 1, icon.top + 2, icon.right - 1, icon.bottom - 2}, Sys(COLOR_WINDOWTEXT));
    p.Fill(RECT{icon.left + 2, icon.top + 3, icon.right - 2, icon.top + 6}, Sys(COLOR_ACTIVECAPTION));
    textLeft = icon.right + 2;
  }
  if (const auto& boxState = look.minMax) {
    CaptionBox(p, boxes.minimize, boxState->minimized ? BoxGlyph::Restore : BoxGlyph::Minimize,
               boxState->minimizeEnabled || boxState->minimized, look.pushed == HTMINBUTTON);
    CaptionBox(p, boxes.maximize, boxState->maximized ? BoxGlyph::Restore : BoxGlyph::Maximize,
               boxState->maximizeEnabled, look.pushed == HTMAXBUTTON);
    textRight = boxes.minimize.left - 2;
  }
  if (look.closeBox) {
    const RECT close = boxes.close;
    const int shift = look.pushed == HTCLOSE ? 1 : 0;
    ButtonFace(p, close, shift != 0);
    // The cross: two diagonals two pixels thick.
    const int cx = close.left + 4 + shift;
    const int cy = close.top + 3 + shift;
    for (int i = 0; i < 7; ++i) {
      p.Fill(RECT{cx + i, cy + i, cx + i + 2, cy + i + 1}, Sys(COLOR_BTNTEXT));
      p.Fill(RECT{cx + 6 - i, cy + i, cx + 8 - i, cy + i + 1}, Sys(COLOR_BTNTEXT));
    }
    if (!look.minMax) textRight = close.left - 2;
  }
  FontSpec font = FontSpec::FromPoints("MS Shell Dlg", 8);
  font.weight = FW_BOLD;
  const RECT textRect{textLeft, bar.top, textRight, bar.bottom - 1};
  const TextLayout layout =
      LayOutText(font, look.text, textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  cairo_save(cr);
  cairo_rectangle(cr, textRect.left, textRect.top, textRect.right - textRect.left, textRect.bottom - textRect.top);
  cairo_clip(cr);
  for (const TextLine& line : layout.lines) {
    p.Text(font, line.text, line.origin, Sys(look.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  }
  cairo_restore(cr);
}

void DrawPushButton(const Painter& p, const RECT& r, std::string_view caption, bool isDefault) {
  const FontSpec font;
  p.Fill(r, Sys(COLOR_3DFACE));
  ButtonEdges(p, r, isDefault, false);
  const TextLayout layout = LayOutText(font, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  for (const TextLine& line : layout.lines) p.Text(font, line.text, line.origin, Sys(COLOR_BTNTEXT));
}

std::string LowerClassName(HWND window) {
  char name[256] = {};
  ::GetClassName(window, name, static_cast<int>(sizeof(name)));
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char ch) { return std::tolower(ch); });
  return out;
}

bool IsOwnerDrawn(HWND window) {
  const std::string cls = LowerClassName(window);
  const DWORD style = StyleOf(window);
  if (cls == "button") return (style & BS_TYPEMASK) == BS_OWNERDRAW;
  if (cls == "static") return (style & SS_TYPEMASK) == SS_OWNERDRAW;
  if (cls == "combobox") return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
  if (cls == "listbox" || cls == "combolbox") return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
  return cls != "edit";  // common controls and windows of their own draw what they mean
}

void DrawNonClient(const Painter& p, HWND w, const RECT& wr, const RECT& cr) {
  const DWORD style = StyleOf(w);
  const DWORD ex = ExStyleOf(w);
  RECT r = wr;
  if (style & WS_THICKFRAME) {
    p.Fill(r, Sys(COLOR_3DFACE));
    p.RaisedEdge(r);
    r = RECT{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
  } else if ((style & WS_DLGFRAME) || (ex & WS_EX_DLGMODALFRAME)) {
    p.Fill(r, Sys(COLOR_3DFACE));
    p.RaisedEdge(r);
    r = RECT{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
  } else if (style & WS_BORDER) {
    p.Frame(r, Sys(COLOR_WINDOWFRAME));
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    Caption(p, w, RECT{r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYCAPTION)});
    r.top += GetSystemMetrics(SM_CYCAPTION);
  }
  if (ex & WS_EX_CLIENTEDGE) {
    p.SunkenEdge(r);
    r = RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  }
  if (ex & WS_EX_STATICEDGE) {
    p.Edge(r, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHILIGHT));
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  // A combo box's scroll styles are its list's; the platform still reserves
  // their room in the combo's frame, which stays empty here.
  const bool vertical = HasOwnScrollBar(w, SB_VERT);
  const bool horizontal = HasOwnScrollBar(w, SB_HORZ);
  if (vertical) ScrollBar(p, w, SB_VERT, POINT{wr.left, wr.top});
  if (horizontal) ScrollBar(p, w, SB_HORZ, POINT{wr.left, wr.top});
  if (vertical && horizontal) p.Fill(RECT{cr.right, cr.bottom, r.right, r.bottom}, Sys(COLOR_3DFACE));
}

void DrawUnderContent(const Painter& p, HWND w, const RECT& c) {
  const std::string cls = LowerClassName(w);
  const DWORD style = StyleOf(w);
  if (cls == "button") {
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_PUSHBOX) p.Fill(c, Sys(COLOR_3DFACE));
    if (type == BS_GROUPBOX) GroupBox(p, w, c);
  } else if (cls == "static") {
    StaticUnder(p, w, c);
  } else if (cls == "combobox") {
    ComboUnder(p, w);
  } else if (const MenuRecord* menu = PopupMenuOf(w)) {
    PaintPopupMenu(p, *menu, POINT{0, 0});
  }
}

void DrawOverContent(const Painter& p, HWND w, const RECT& c) {
  const std::string cls = LowerClassName(w);
  const DWORD style = StyleOf(w);
  if (cls == "button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON: PushButton(p, w, c); break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: CheckBox(p, w, c, false); break;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: CheckBox(p, w, c, true); break;
      default: break;
    }
  } else if (cls == "static") {
    StaticOver(p, w, c);
  } else if (cls == "combobox") {
    ComboOver(p, w, c);
  } else if (cls == "edit") {
    EditOver(p, w, c);
  }
}

}  // namespace platform
