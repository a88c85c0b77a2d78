#include "platform/gdi/device_context.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"

namespace platform {
// Provided by cdc.cpp: forgets the CDC wrapper of a DC that goes away.
void ForgetDcWrapper(HDC dc);
}  // namespace platform

namespace {

using platform::DrawKind;
using platform::DrawOp;
using platform::DrawOps;

struct DcState {
  HFONT font = nullptr;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HBITMAP bitmap = nullptr;  // memory DCs
  COLORREF text = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  POINT position;
};

struct Dc {
  HWND window = nullptr;  // null for a memory DC and the screen's
  bool screen = false;    // GetDC of no window: measures, and draws where nothing records it
  bool windowGone = false;
  DcState state;
  std::vector<DcState> saved;
};

using DcTable = platform::HandleTable<HDC, Dc>;

DcTable& Table() {
  static DcTable table(0xD0DC);
  return table;
}

Dc* Find(HDC dc) { return Table().Find(dc); }

HBITMAP DefaultBitmap() {
  static const HBITMAP bitmap = ::CreateBitmap(1, 1, 1, 1, nullptr);
  return bitmap;
}

bool IsMemory(const Dc& dc) { return dc.window == nullptr && !dc.screen; }

HDC NewDc(HWND window, HFONT font, bool screen = false) {
  Dc dc;
  dc.window = window;
  dc.screen = screen;
  dc.state.pen = static_cast<HPEN>(::GetStockObject(BLACK_PEN));
  dc.state.brush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  dc.state.font = font != nullptr ? font : platform::DefaultGuiFont();
  if (IsMemory(dc)) dc.state.bitmap = DefaultBitmap();
  return Table().Add(std::move(dc));
}

void Forget(HDC handle) {
  platform::ForgetDcWrapper(handle);
  Table().Erase(handle);
}

// The list the DC draws on; null for the screen and when its window is gone.
DrawOps* Surface(const Dc& dc) {
  if (dc.screen) return nullptr;
  if (dc.window != nullptr) return dc.windowGone ? nullptr : &platform::WindowSurface(dc.window);
  return &platform::BitmapSurface(dc.state.bitmap);
}

// A new operation on the DC's surface, or null when there is none.
DrawOp* Append(HDC handle, DrawKind kind, const RECT& rect) {
  Dc* dc = Find(handle);
  if (dc == nullptr) return nullptr;
  DrawOps* ops = Surface(*dc);
  if (ops == nullptr) return nullptr;
  DrawOp& op = ops->emplace_back();
  op.kind = kind;
  op.rect = rect;
  op.color = dc->state.text;
  op.background = dc->state.background;
  op.opaque = dc->state.bkMode == OPAQUE;
  op.pen = platform::PenOf(dc->state.pen);
  op.brush = platform::BrushOf(dc->state.brush);
  op.font = platform::SelectedFont(handle);
  return &op;
}

std::string_view TextOf(LPCSTR text, int length) {
  if (text == nullptr) return {};
  return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(length));
}

}  // namespace

namespace platform {

DrawOp* AppendDrawOp(HDC dc, DrawKind kind, const RECT& rect) { return Append(dc, kind, rect); }

DrawOp* LastDrawOp(HDC dc) {
  const Dc* d = Find(dc);
  DrawOps* ops = d != nullptr ? Surface(*d) : nullptr;
  return ops != nullptr && !ops->empty() ? &ops->back() : nullptr;
}

FontSpec SelectedFont(HDC dc) {
  const Dc* d = Find(dc);
  const FontSpec* fontSpec = d != nullptr ? FontFromHandle(d->state.font) : nullptr;
  return fontSpec != nullptr ? *fontSpec : *FontFromHandle(DefaultGuiFont());
}

bool IsDC(HDC dc) { return Find(dc) != nullptr; }

HDC CreateWindowDC(HWND window, HFONT font) { return NewDc(window, font, window == nullptr); }

bool ReleaseWindowDC(HWND window, HDC dc) {
  const Dc* d = Find(dc);
  if (d == nullptr || IsMemory(*d) || d->window != window) return false;
  Forget(dc);
  return true;
}

void WindowDestroyed(HWND window) {
  std::vector<HDC> orphans;
  for (const auto& [handle, dc] : Table()) {
    if (dc.window == window) orphans.push_back(handle);
  }
  for (HDC handle : orphans) Find(handle)->windowGone = true;
  DropWindowSurface(window);
}

bool IsSelectedIntoDC(HGDIOBJ object) {
  for (const auto& [handle, dc] : Table()) {
    const DcState& s = dc.state;
    if (object == s.font || object == s.pen || object == s.brush || object == s.bitmap) return true;
  }
  return false;
}

}  // namespace platform

// ---- Making and deleting ----

HDC CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && Find(dc) == nullptr) return nullptr;
  return NewDc(nullptr, nullptr);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (dc != nullptr && Find(dc) == nullptr) return nullptr;
  return ::CreateBitmap(width, height, 1, 32, nullptr);
}

BOOL DeleteDC(HDC dc) {
  const Dc* d = Find(dc);
  if (d == nullptr || !IsMemory(*d)) return FALSE;
  Forget(dc);
  return TRUE;
}

HWND WindowFromDC(HDC dc) {
  const Dc* d = Find(dc);
  return d != nullptr ? d->window : nullptr;
}

// ---- State ----

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  Dc* d = Find(dc);
  if (d == nullptr) return nullptr;
  DcState& s = d->state;
  const auto swap = [](auto& slot, HGDIOBJ next) -> HGDIOBJ {
    return std::exchange(slot, static_cast<std::remove_reference_t<decltype(slot)>>(next));
  };
  switch (platform::GdiObjectKind(object)) {
    case platform::GdiKind::Font: return swap(s.font, object);
    case platform::GdiKind::Pen: return swap(s.pen, object);
    case platform::GdiKind::Brush: return swap(s.brush, object);
    case platform::GdiKind::Bitmap:
      // Only a memory DC holds a bitmap, and a bitmap sits in one DC at a time.
      if (!IsMemory(*d) || (object != s.bitmap && platform::IsSelectedIntoDC(object))) return nullptr;
      return swap(s.bitmap, object);
    case platform::GdiKind::None: break;
  }
  return nullptr;
}

DWORD GetObjectType(HGDIOBJ object) {
  switch (platform::GdiObjectKind(object)) {
    case platform::GdiKind::Pen: return OBJ_PEN;
    case platform::GdiKind::Brush: return OBJ_BRUSH;
    case platform::GdiKind::Font: return OBJ_FONT;
    case platform::GdiKind::Bitmap: return OBJ_BITMAP;
    case platform::GdiKind::None: break;
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT kind) {
  const Dc* d = Find(dc);
  if (d == nullptr) return nullptr;
  switch (kind) {
    case OBJ_PEN: return d->state.pen;
    case OBJ_BRUSH: return d->state.brush;
    case OBJ_FONT: return d->state.font;
    case OBJ_BITMAP: return d->state.bitmap;
    default: return nullptr;
  }
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  Dc* d = Find(dc);
  return d != nullptr ? std::exchange(d->state.text, color) : CLR_INVALID;
}

COLORREF GetTextColor(HDC dc) {
  const Dc* d = Find(dc);
  return d != nullptr ? d->state.text : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  Dc* d = Find(dc);
  return d != nullptr ? std::exchange(d->state.background, color) : CLR_INVALID;
}

COLORREF GetBkColor(HDC dc) {
  const Dc* d = Find(dc);
  return d != nullptr ? d->state.background : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  Dc* d = Find(dc);
  if (d == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(d->state.bkMode, mode);
}

int GetBkMode(HDC dc) {
  const Dc* d = Find(dc);
  return d != nullptr ? d->state.bkMode : 0;
}

int SaveDC(HDC dc) {
  Dc* d = Find(dc);
  if (d == nullptr) return 0;
  d->saved.push_back(d->state);
  return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
  Dc* d = Find(dc);
  if (d == nullptr || saved == 0) return FALSE;
  const int count = static_cast<int>(d->saved.size());
  const int target = saved > 0 ? saved : count + 1 + saved;
  if (target < 1 || target > count) return FALSE;
  d->state = d->saved[static_cast<size_t>(target - 1)];
  d->saved.resize(static_cast<size_t>(target - 1));
  return TRUE;
}

// ---- Drawing ----

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (rect == nullptr || platform::GdiObjectKind(brush) != platform::GdiKind::Brush) return 0;
  const platform::BrushState b = platform::BrushOf(brush);
  if (b.hollow) return 1;
  DrawOp* op = Append(dc, DrawKind::FillRect, *rect);
  if (op == nullptr) return 0;
  op->color = b.color;
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (rect == nullptr || platform::GdiObjectKind(brush) != platform::GdiKind::Brush) return 0;
  DrawOp* op = Append(dc, DrawKind::FrameRect, *rect);
  if (op == nullptr) return 0;
  op->color = platform::BrushOf(brush).color;
  return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DrawOp* op = Append(dc, DrawKind::Rectangle, RECT{left, top, right, bottom});
  if (op == nullptr) return FALSE;
  op->color = op->pen.color;
  return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  Dc* d = Find(dc);
  if (d == nullptr) return FALSE;
  if (previous != nullptr) *previous = d->state.position;
  d->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  Dc* d = Find(dc);
  if (d == nullptr) return FALSE;
  const POINT from = d->state.position;
  const RECT box{std::min(from.x, x), std::min(from.y, y), std::max(from.x, x) + 1, std::max(from.y, y) + 1};
  DrawOp* op = Append(dc, DrawKind::Line, box);
  if (op == nullptr) return FALSE;
  op->points = {from, POINT{x, y}};
  op->color = op->pen.color;
  d->state.position = POINT{x, y};
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  return rect != nullptr && Append(dc, DrawKind::FocusRect, *rect) != nullptr ? TRUE : FALSE;
}

int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
  if (rect == nullptr || !platform::IsDC(dc)) return 0;
  const std::string_view shown = TextOf(text, length);
  const platform::FontSpec font = platform::SelectedFont(dc);
  platform::TextLayout layout = platform::LayOutText(font, shown, *rect, format);
  if (format & DT_CALCRECT) {
    *rect = layout.extent;
    return layout.height;
  }
  DrawOp* op = Append(dc, DrawKind::Text, *rect);
  if (op == nullptr) return 0;
  op->text = std::string(shown);
  op->format = format;
  op->lines = std::move(layout.lines);
  return layout.height;
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  if (!platform::IsDC(dc)) return FALSE;
  const std::string_view shown = TextOf(text, length);
  const platform::FontSpec font = platform::SelectedFont(dc);
  const int width = platform::TextWidth(font, shown);
  DrawOp* op = Append(dc, DrawKind::Text, RECT{x, y, x + width, y + platform::MeasureFont(font).height});
  if (op == nullptr) return FALSE;
  op->text = std::string(shown);
  op->lines = {platform::TextLine{POINT{x, y}, op->text, width}};
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size) {
  if (size == nullptr || !platform::IsDC(dc)) return FALSE;
  const platform::FontSpec font = platform::SelectedFont(dc);
  *size = SIZE{platform::TextWidth(font, TextOf(text, length)), platform::MeasureFont(font).height};
  return TRUE;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
  if (tm == nullptr || !platform::IsDC(dc)) return FALSE;
  const platform::FontSpec font = platform::SelectedFont(dc);
  const platform::FontMetrics m = platform::MeasureFont(font);
  *tm = TEXTMETRIC{};
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.height - font.emPixels;
  tm->tmAveCharWidth = m.averageCharWidth;
  tm->tmMaxCharWidth = m.maxCharWidth;
  tm->tmWeight = font.weight;
  tm->tmItalic = font.italic ? 1 : 0;
  tm->tmDigitizedAspectX = 96;  // every DC is the screen's
  tm->tmDigitizedAspectY = 96;
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
  const bool needsSource = rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS;
  const Dc* src = Find(source);
  if (needsSource && src == nullptr) return FALSE;
  const DrawOps* srcOps = src != nullptr ? Surface(*src) : nullptr;
  if (needsSource && srcOps == nullptr) return FALSE;
  // Taken before appending: a DC may copy from its own surface.
  auto snapshot = needsSource ? std::make_shared<const DrawOps>(*srcOps) : nullptr;
  DrawOp* op = Append(dest, DrawKind::Blit, RECT{x, y, x + width, y + height});
  if (op == nullptr) return FALSE;
  op->rop = rop;
  if (needsSource) {
    op->sourceWindow = src->window;
    op->sourceBitmap = src->window == nullptr ? src->state.bitmap : nullptr;
    op->sourceOrigin = POINT{sx, sy};
    op->sourceOps = std::move(snapshot);
  }
  if (rop == PATCOPY) op->color = op->brush.color;
  if (rop == BLACKNESS) op->color = RGB(0, 0, 0);
  if (rop == WHITENESS) op->color = RGB(255, 255, 255);
  return TRUE;
}
