#include "platform/window/scroll_bar.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "platform/window/cursor.h"
#include "platform/window/metrics.h"
#include "platform/window/non_client.h"
#include "platform/window/timers.h"
#include "platform/window/window_registry.h"

namespace platform {

// ---- The arithmetic ---------------------------------------------------------------

namespace {

// a * b / c, rounded to nearest, in 64 bits; 0 for c == 0.
int MulDiv64(int a, int b, int c) {
  if (c == 0) return 0;
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = (c > 0 ? c : -c) / 2;
  return static_cast<int>((product + (product >= 0 ? half : -half)) / c);
}

}  // namespace

ScrollNumbers NormalizedScroll(ScrollNumbers n) {
  if (n.max < n.min) n.max = n.min;
  const int64_t span = static_cast<int64_t>(n.max) - n.min + 1;
  n.page = static_cast<int>(std::clamp<int64_t>(n.page, 0, span));
  n.pos = std::clamp(n.pos, n.min, MaxScrollPos(n));
  return n;
}

int MaxScrollPos(const ScrollNumbers& n) {
  const int last = n.max - std::max(n.page - 1, 0);
  return std::max(n.min, last);
}

bool Scrollable(const ScrollNumbers& n) {
  return n.max > n.min && static_cast<int64_t>(n.page) <= static_cast<int64_t>(n.max) - n.min;
}

ScrollLayout LayOutScrollBar(int length, int arrow, const ScrollNumbers& raw, bool enabled) {
  ScrollLayout layout;
  length = std::max(0, length);
  layout.arrow = std::min(arrow, length / 2);
  layout.track = length - 2 * layout.arrow;
  const ScrollNumbers n = NormalizedScroll(raw);
  if (!enabled || !Scrollable(n) || layout.track < kMinThumb) return layout;
  const int span = n.max - n.min + 1;
  int thumb = n.page > 0 ? MulDiv64(layout.track, n.page, span) : arrow;
  thumb = std::max(thumb, kMinThumb);
  if (thumb >= layout.track) return layout;  // no room to move: no thumb
  layout.thumb = thumb;
  const int maxPos = MaxScrollPos(n);
  layout.thumbOffset = maxPos > n.min ? MulDiv64(layout.track - thumb, n.pos - n.min, maxPos - n.min) : 0;
  return layout;
}

int ScrollPosAtOffset(const ScrollLayout& layout, const ScrollNumbers& raw, int thumbOffset) {
  const ScrollNumbers n = NormalizedScroll(raw);
  const int room = layout.track - layout.thumb;
  if (layout.thumb == 0 || room <= 0) return n.pos;
  const int offset = std::clamp(thumbOffset, 0, room);
  return n.min + MulDiv64(offset, MaxScrollPos(n) - n.min, room);
}

// ---- State --------------------------------------------------------------------------------

namespace {

// One press at a time: the mouse has one left button.
struct Tracking {
  HWND hwnd = nullptr;
  int bar = SB_VERT;
  ScrollPart part = ScrollPart::None;
  int grab = 0;          // thumb: where in the thumb the pointer took it
  int startOffset = 0;   // thumb: its offset when taken
  bool pointerOn = true;  // the pointer is over the part pressed
};
Tracking g_tracking;

constexpr UINT_PTR kRepeatTimer = 0xFFFE;  // out of the way of the window's own timers

bool ValidBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

ScrollBarState::Bar* BarOf(HWND hwnd, int bar, bool create) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || !ValidBar(bar)) return nullptr;
  if (!r->scrollBars) {
    if (!create) return nullptr;
    r->scrollBars = std::make_unique<ScrollBarState>();
  }
  return bar == SB_VERT ? &r->scrollBars->vert : &r->scrollBars->horz;
}

const ScrollBarState::Bar& BarOrDefault(HWND hwnd, int bar) {
  static const ScrollBarState::Bar kDefault;
  const ScrollBarState::Bar* b = BarOf(hwnd, bar, false);
  return b != nullptr ? *b : kDefault;
}

// Sets or clears a bar's style bit; the client area changes with it, so the
// window hears WM_SIZE as after any change of its frame.
void SetBarShown(HWND hwnd, int bar, bool show) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return;
  const DWORD bit = StyleBit(bar);
  if (((r->style & bit) != 0) == show) return;
  if (show) {
    r->style |= bit;
  } else {
    r->style &= ~bit;
  }
  RECT client;
  ::GetClientRect(hwnd, &client);
  ::SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void Redraw(HWND hwnd) { ::InvalidateRect(hwnd, nullptr, FALSE); }

void Send(HWND hwnd, int bar, int code, int pos) {
  ::SendMessage(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(static_cast<short>(pos))), 0);
}

// Whether the window shows that bar. A combo box's scroll styles are its
// list's: the combo box keeps their room but has no bar of its own.
bool HasBar(const WindowRecord& r, int bar) {
  if (!ValidBar(bar) || !(r.style & StyleBit(bar))) return false;
  std::string name = r.className;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name != "combobox";
}

}  // namespace

bool HasOwnScrollBar(HWND hwnd, int bar) {
  const WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr && HasBar(*r, bar);
}

namespace {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

POINT WindowPointOfScreen(HWND hwnd, POINT screen) {
  RECT window;
  ::GetWindowRect(hwnd, &window);
  return POINT{screen.x - window.left, screen.y - window.top};
}

}  // namespace

// ---- Geometry -------------------------------------------------------------------------------

ScrollBarRects ScrollBarGeometry(HWND hwnd, int bar) {
  ScrollBarRects rects;
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || !HasBar(*r, bar)) return rects;
  // Where the bar lies is the non-client layout's, so that the frame's hit
  // test, this geometry and the picture agree.
  const int width = r->rect.right - r->rect.left;
  const int height = r->rect.bottom - r->rect.top;
  const bool vertical = bar == SB_VERT;
  const NonClientLayout frame = LayOutNonClient(r->style, r->exStyle, RECT{0, 0, width, height});
  rects.bar = vertical ? frame.vscroll : frame.hscroll;
  rects.bar.right = std::max(rects.bar.left, rects.bar.right);
  rects.bar.bottom = std::max(rects.bar.top, rects.bar.bottom);
  rects.shown = true;

  const ScrollBarState::Bar& state = BarOrDefault(hwnd, bar);
  const ScrollNumbers numbers = NormalizedScroll(state.numbers);
  rects.enabled = Scrollable(numbers) && state.disabledArrows != ESB_DISABLE_BOTH && !(r->style & WS_DISABLED);
  rects.upDisabled = !rects.enabled || (state.disabledArrows & ESB_DISABLE_LTUP) != 0;
  rects.downDisabled = !rects.enabled || (state.disabledArrows & ESB_DISABLE_RTDN) != 0;
  ScrollNumbers shown = numbers;
  const bool dragging = g_tracking.hwnd == hwnd && g_tracking.bar == bar && g_tracking.part == ScrollPart::Thumb;
  if (dragging) shown.pos = state.trackPos;
  const int length = vertical ? rects.bar.bottom - rects.bar.top : rects.bar.right - rects.bar.left;
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  const ScrollLayout layout = LayOutScrollBar(length, arrow, shown, rects.enabled);
  // Along the bar: [start, start+arrow) arrow, track, thumb within it, arrow.
  auto span = [&](int from, int to) {
    return vertical ? RECT{rects.bar.left, rects.bar.top + from, rects.bar.right, rects.bar.top + to}
                    : RECT{rects.bar.left + from, rects.bar.top, rects.bar.left + to, rects.bar.bottom};
  };
  rects.lineUp = span(0, layout.arrow);
  rects.track = span(layout.arrow, layout.arrow + layout.track);
  rects.lineDown = span(layout.arrow + layout.track, length);
  if (layout.thumb > 0) {
    rects.thumb = span(layout.arrow + layout.thumbOffset, layout.arrow + layout.thumbOffset + layout.thumb);
  }
  if (g_tracking.hwnd == hwnd && g_tracking.bar == bar && g_tracking.pointerOn) rects.pressed = g_tracking.part;
  return rects;
}

ScrollPart ScrollBarPartAt(const ScrollBarRects& rects, bool vertical, POINT p) {
  if (!rects.shown || !Contains(rects.bar, p)) return ScrollPart::None;
  if (Contains(rects.lineUp, p)) return ScrollPart::LineUp;
  if (Contains(rects.lineDown, p)) return ScrollPart::LineDown;
  if (rects.thumb.right <= rects.thumb.left) return ScrollPart::None;  // a track without thumb does nothing
  if (Contains(rects.thumb, p)) return ScrollPart::Thumb;
  const bool before = vertical ? p.y < rects.thumb.top : p.x < rects.thumb.left;
  return before ? ScrollPart::PageUp : ScrollPart::PageDown;
}

LRESULT ScrollBarHitTest(HWND hwnd, POINT screen) {
  const POINT p = WindowPointOfScreen(hwnd, screen);
  for (int bar : {SB_VERT, SB_HORZ}) {
    const ScrollBarRects rects = ScrollBarGeometry(hwnd, bar);
    if (rects.shown && Contains(rects.bar, p)) return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
  }
  return HTNOWHERE;
}

std::optional<SCROLLINFO> ShownScrollInfo(HWND hwnd, int bar) {
  WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || !HasBar(*r, bar)) return std::nullopt;
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(hwnd, bar, &info);
  return info;
}

// ---- The user -----------------------------------------------------------------------------

namespace {

int CodeOf(ScrollPart part) {
  switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

// The part under the pointer now, for a repeat: an arrow or the track on
// the side of the thumb the press began on.
bool PointerStillOn(const Tracking& t) {
  POINT cursor;
  ::GetCursorPos(&cursor);
  const ScrollBarRects rects = ScrollBarGeometry(t.hwnd, t.bar);
  return ScrollBarPartAt(rects, t.bar == SB_VERT, WindowPointOfScreen(t.hwnd, cursor)) == t.part;
}

void RepeatTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  if (g_tracking.hwnd != hwnd || !::IsWindow(hwnd)) {
    ::KillTimer(hwnd, id);
    return;
  }
  ::SetTimer(hwnd, id, kScrollRepeatMs, RepeatTimer);
  g_tracking.pointerOn = PointerStillOn(g_tracking);
  if (g_tracking.pointerOn) Send(hwnd, g_tracking.bar, CodeOf(g_tracking.part), 0);
}

// The press ends: the capture goes (so that the window's handlers of the
// last messages see none), the thumb lands, SB_ENDSCROLL closes.
void EndTracking() {
  const Tracking t = g_tracking;
  g_tracking = Tracking{};
  if (!::IsWindow(t.hwnd)) return;
  ::KillTimer(t.hwnd, kRepeatTimer);
  if (::GetCapture() == t.hwnd) ::ReleaseCapture();
  if (!::IsWindow(t.hwnd)) return;
  if (t.part == ScrollPart::Thumb) {
    Send(t.hwnd, t.bar, SB_THUMBPOSITION, BarOrDefault(t.hwnd, t.bar).trackPos);
  }
  if (::IsWindow(t.hwnd)) Send(t.hwnd, t.bar, SB_ENDSCROLL, 0);
  if (::IsWindow(t.hwnd)) Redraw(t.hwnd);
}

void DragThumb(POINT screen) {
  const Tracking& t = g_tracking;
  ScrollBarState::Bar* b = BarOf(t.hwnd, t.bar, true);
  const ScrollBarRects rects = ScrollBarGeometry(t.hwnd, t.bar);
  const bool vertical = t.bar == SB_VERT;
  const POINT p = WindowPointOfScreen(t.hwnd, screen);
  const int along = vertical ? p.y - rects.track.top : p.x - rects.track.left;
  const int length = vertical ? rects.bar.bottom - rects.bar.top : rects.bar.right - rects.bar.left;
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  const ScrollLayout layout = LayOutScrollBar(length, arrow, b->numbers, true);
  const int pos = ScrollPosAtOffset(layout, b->numbers, along - t.grab);
  if (pos == b->trackPos) return;
  b->trackPos = pos;
  Redraw(t.hwnd);
  Send(t.hwnd, t.bar, SB_THUMBTRACK, pos);
}

}  // namespace

void PressScrollBar(HWND hwnd, int hitCode, POINT screen) {
  const int bar = hitCode == HTVSCROLL ? SB_VERT : SB_HORZ;
  const ScrollBarRects rects = ScrollBarGeometry(hwnd, bar);
  const bool vertical = bar == SB_VERT;
  const POINT p = WindowPointOfScreen(hwnd, screen);
  const ScrollPart part = ScrollBarPartAt(rects, vertical, p);
  if (part == ScrollPart::None || !rects.enabled) return;
  if ((part == ScrollPart::LineUp && rects.upDisabled) || (part == ScrollPart::LineDown && rects.downDisabled)) {
    return;
  }
  EndTracking();  // one left unended (nothing to end without one)
  g_tracking = Tracking{hwnd, bar, part};
  ::SetCapture(hwnd);
  if (part == ScrollPart::Thumb) {
    ScrollBarState::Bar* b = BarOf(hwnd, bar, true);
    b->trackPos = NormalizedScroll(b->numbers).pos;
    g_tracking.grab = vertical ? p.y - rects.thumb.top : p.x - rects.thumb.left;
    g_tracking.startOffset = vertical ? rects.thumb.top - rects.track.top : rects.thumb.left - rects.track.left;
    Redraw(hwnd);
    return;
  }
  Redraw(hwnd);
  Send(hwnd, bar, CodeOf(part), 0);
  if (g_tracking.hwnd == hwnd) ::SetTimer(hwnd, kRepeatTimer, kScrollRepeatDelayMs, RepeatTimer);
}

bool ScrollBarTracking(HWND hwnd) { return hwnd != nullptr && g_tracking.hwnd == hwnd; }

std::optional<LRESULT> ScrollBarTrackMessage(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (g_tracking.hwnd != hwnd) return std::nullopt;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      ::ClientToScreen(hwnd, &screen);
      break;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP: break;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: the press ends here.
      if (reinterpret_cast<HWND>(lParam) != hwnd) EndTracking();
      return std::nullopt;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return 0;
    default: return std::nullopt;
  }
  if (message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) {
    if (g_tracking.part == ScrollPart::Thumb) DragThumb(screen);
    EndTracking();
    return 0;
  }
  if (g_tracking.part == ScrollPart::Thumb) {
    DragThumb(screen);
  } else {
    const bool on = PointerStillOn(g_tracking);
    if (on != g_tracking.pointerOn) {
      g_tracking.pointerOn = on;
      Redraw(hwnd);
    }
  }
  return 0;
}

}  // namespace platform

// ---- The functions on handles --------------------------------------------------------

using platform::BarOrDefault;
using platform::ScrollBarState;

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (info == nullptr || !::IsWindow(hwnd) || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  const ScrollBarState::Bar& b = BarOrDefault(hwnd, bar);
  const platform::ScrollNumbers n = platform::NormalizedScroll(b.numbers);
  if (info->fMask & SIF_RANGE) {
    info->nMin = n.min;
    info->nMax = n.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(n.page);
  if (info->fMask & SIF_POS) info->nPos = n.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = platform::ScrollBarTracking(hwnd) ? b.trackPos : n.pos;
  return (info->fMask & SIF_ALL) != 0 ? TRUE : FALSE;
}

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  ScrollBarState::Bar* b = platform::BarOf(hwnd, bar, true);
  if (b == nullptr || info == nullptr) return 0;
  platform::ScrollNumbers n = b->numbers;
  if (info->fMask & SIF_RANGE) {
    n.min = info->nMin;
    n.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) n.page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
  if (info->fMask & SIF_POS) n.pos = info->nPos;
  const platform::ScrollNumbers before = b->numbers;
  b->numbers = platform::NormalizedScroll(n);
  // Only a change is drawn: a window that sets its bars while it paints
  // must not ask for another paint each time.
  const bool changed = b->numbers.min != before.min || b->numbers.max != before.max ||
                       b->numbers.page != before.page || b->numbers.pos != before.pos;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    // Nothing to scroll: the bar goes, or stays disabled when this call asks
    // for that (SIF_DISABLENOSCROLL holds for the call that carries it only).
    const bool keepDisabled = (info->fMask & SIF_DISABLENOSCROLL) != 0;
    platform::SetBarShown(hwnd, bar, platform::Scrollable(b->numbers) || keepDisabled);
    if ((b = platform::BarOf(hwnd, bar, false)) == nullptr) return 0;
  }
  if (redraw && changed) platform::Redraw(hwnd);
  return b->numbers.pos;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO info;
  info.fMask = SIF_POS;
  return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  const int old = GetScrollPos(hwnd, bar);
  SCROLLINFO info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return old;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  if (min == nullptr || max == nullptr || !GetScrollInfo(hwnd, bar, &info)) return FALSE;
  *min = info.nMin;
  *max = info.nMax;
  return TRUE;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  if (!::IsWindow(hwnd) || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  info.nMin = min;
  info.nMax = max;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!::IsWindow(hwnd)) return FALSE;
  if (bar == SB_BOTH) {
    platform::SetBarShown(hwnd, SB_HORZ, show != FALSE);
    platform::SetBarShown(hwnd, SB_VERT, show != FALSE);
    return TRUE;
  }
  if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
  platform::SetBarShown(hwnd, bar, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (!::IsWindow(hwnd)) return FALSE;
  BOOL changed = FALSE;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (bar != SB_BOTH && static_cast<int>(bar) != b) continue;
    ScrollBarState::Bar* state = platform::BarOf(hwnd, b, true);
    if (state == nullptr) return FALSE;
    const UINT value = arrows & ESB_DISABLE_BOTH;
    if (state->disabledArrows != value) changed = TRUE;
    state->disabledArrows = value;
  }
  if (changed) platform::Redraw(hwnd);
  return changed;
}
