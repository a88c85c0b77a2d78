// A window's own scroll bars (WS_HSCROLL / WS_VSCROLL), as the platform keeps
// them: per bar a range nMin..nMax, a page, a position and, while the thumb
// is dragged, a track position (SCROLLINFO). The bar shows while its style
// bit is set; SetScrollInfo sets or clears the bit by content (a bar hides
// when the page covers the range, unless SIF_DISABLENOSCROLL keeps it shown
// and disabled), and the client area shrinks or grows with it (WM_SIZE).
//
// One geometry serves drawing, hit-testing and dragging (window coordinates,
// origin at the window's top-left corner):
//
//   vertical bar:  [^] arrow   SM_CYVSCROLL tall, at the top
//                  |:| track   between the arrows
//                  [#] thumb   in the track, length track * page / (range+1),
//                  |:|         at least kMinThumb, at
//                  [v] arrow   offset (track - thumb) * (pos-min) / (maxPos-min)
//   horizontal:    the same from left to right; with both bars the square in
//                  the corner belongs to neither.
//
// maxPos = nMax - max(nPage - 1, 0): the last position that still shows a
// full page. Arrows squeezed below their size share the bar; no thumb shows
// when the track has no room for one or the bar is disabled.
//
// The user (WM_NCLBUTTONDOWN on HTHSCROLL / HTVSCROLL, which ::DefWindowProc
// routes here): a press on an arrow sends SB_LINEUP/SB_LINEDOWN, on the
// track SB_PAGEUP/SB_PAGEDOWN, each repeated while the button stays down
// (first after kScrollRepeatDelayMs, then every kScrollRepeatMs; a page
// repeats only while the thumb has not reached the pointer); a press on the
// thumb drags it: SB_THUMBTRACK with the track position at each move,
// SB_THUMBPOSITION where it is let go. Every press ends with SB_ENDSCROLL.
// The message is WM_HSCROLL/WM_VSCROLL to the window itself, wParam
// MAKEWPARAM(code, position), lParam 0. The bar never moves its position by
// itself: the window's handler scrolls and calls SetScrollInfo/SetScrollPos.
// While a press lasts the window holds the capture and its mouse messages
// go to the bar, not to the window's procedure.
#pragma once

#include "platform/base/export.h"

#include <optional>

#include "platform/base/wintypes.h"
#include "platform/window/scroll_state.h"

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// WM_HSCROLL / WM_VSCROLL codes (LOWORD of wParam).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// EnableScrollBar.
constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_LEFT = 0x0001;
constexpr UINT ESB_DISABLE_UP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_DOWN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

// Only SB_HORZ and SB_VERT are kept (this platform has no scroll-bar controls).
PLATFORM_API BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
// Returns the new position.
PLATFORM_API int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
PLATFORM_API int GetScrollPos(HWND hwnd, int bar);
// Returns the old position.
PLATFORM_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
PLATFORM_API BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max);
PLATFORM_API BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw);
// SB_HORZ, SB_VERT or SB_BOTH.
PLATFORM_API BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
// FALSE when the arrows were already in that state.
PLATFORM_API BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

namespace platform {

inline constexpr int kMinThumb = 8;
inline constexpr UINT kScrollRepeatDelayMs = 400;
inline constexpr UINT kScrollRepeatMs = 50;

// ---- The arithmetic, on plain numbers (what the geometry below uses) ----

// A bar's numbers (ScrollNumbers) made consistent as SetScrollInfo keeps
// them: the page within 0..range+1, the position within min..maxPos.
ScrollNumbers NormalizedScroll(ScrollNumbers numbers);
// The last position that still shows a full page.
int MaxScrollPos(const ScrollNumbers& numbers);
// Whether there is anything to scroll: the page does not cover the range.
bool Scrollable(const ScrollNumbers& numbers);

// Lengths along one bar of `length` pixels with arrows of `arrow` pixels.
struct ScrollLayout {
  int arrow = 0;        // each arrow's length (squeezed when the bar is short)
  int track = 0;        // pixels between the arrows
  int thumb = 0;        // 0: no thumb
  int thumbOffset = 0;  // from the track's start
};
ScrollLayout LayOutScrollBar(int length, int arrow, const ScrollNumbers& numbers, bool enabled);
// The position a thumb at `thumbOffset` pixels into the track stands for.
int ScrollPosAtOffset(const ScrollLayout& layout, const ScrollNumbers& numbers, int thumbOffset);

// ---- One window's bars ----

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ScrollBarRects {
  bool shown = false;
  bool enabled = false;  // false: no thumb, grey arrows
  bool upDisabled = false;
  bool downDisabled = false;
  RECT bar{};
  RECT lineUp{};    // the up (left) arrow
  RECT lineDown{};  // the down (right) arrow
  RECT track{};     // between the arrows
  RECT thumb{};     // empty when no thumb shows
  ScrollPart pressed = ScrollPart::None;  // the part held down now
};

// Whether the window shows a bar of its own on that side (SB_HORZ or
// SB_VERT): its style has the bar, and it is no combo box, whose scroll
// styles are its drop-down list's (the combo keeps their room, empty).
bool HasOwnScrollBar(HWND hwnd, int bar);
// The rectangles of a window's horizontal (SB_HORZ) or vertical (SB_VERT)
// bar and its parts, in window coordinates; `shown` false when the window
// has no such bar. Drawing and hit-testing both use it.
ScrollBarRects ScrollBarGeometry(HWND hwnd, int bar);
// The part of the bar under a point in window coordinates.
ScrollPart ScrollBarPartAt(const ScrollBarRects& rects, bool vertical, POINT window);
// HTHSCROLL or HTVSCROLL when a screen point lies on one of the window's
// bars; HTNOWHERE otherwise (for WM_NCHITTEST).
LRESULT ScrollBarHitTest(HWND hwnd, POINT screen);
// The numbers of a bar as SCROLLINFO has them (nTrackPos the dragged
// thumb's position while one is dragged); nullopt without that bar.
PLATFORM_API std::optional<SCROLLINFO> ShownScrollInfo(HWND hwnd, int bar);

// A press of the left button on a bar (WM_NCLBUTTONDOWN with HTHSCROLL or
// HTVSCROLL, the point in screen coordinates): starts what the part under
// it does; nothing where the point is on no enabled part.
void PressScrollBar(HWND hwnd, int hitCode, POINT screen);
// Called by SendMessage for every message to a window while one of its
// bars is pressed: the mouse messages are the bar's (their result), the
// rest go on to the window (nullopt).
std::optional<LRESULT> ScrollBarTrackMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// True while a press on one of the window's bars lasts.
bool ScrollBarTracking(HWND hwnd);

}  // namespace platform
