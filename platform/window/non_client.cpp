#include "platform/window/non_client.h"

#include <algorithm>

#include "platform/window/messages.h"
#include "platform/window/metrics.h"

namespace platform {
namespace {

constexpr int kBoxWidth = 16;
constexpr int kBoxHeight = 14;

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

// The window's own scroll bars, from the frame metrics: the vertical bar
// along the client area's right side, the horizontal one along its bottom,
// both inside the client and static edges. The one placement of the bars:
// scroll_bar.cpp lays out their arrows, track and thumb inside it.
void PlaceScrollBars(DWORD style, const RECT& client, RECT& vscroll, RECT& hscroll) {
  if (style & WS_VSCROLL) {
    vscroll = RECT{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
  }
  if (style & WS_HSCROLL) {
    hscroll = RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  }
}

// The sizing frame's part under a point that lies in the frame.
LRESULT SizingEdge(const NonClientLayout& l, POINT p) {
  const bool top = p.y < l.inner.top;
  const bool bottom = p.y >= l.inner.bottom;
  const bool left = p.x < l.inner.left || ((top || bottom) && p.x < l.window.left + kCornerGrab);
  const bool right = p.x >= l.inner.right || ((top || bottom) && p.x >= l.window.right - kCornerGrab);
  const bool nearTop = top || ((left || right) && p.y < l.window.top + kCornerGrab);
  const bool nearBottom = bottom || ((left || right) && p.y >= l.window.bottom - kCornerGrab);
  if (nearTop) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (nearBottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

}  // namespace

CaptionBoxes LayOutCaptionBoxes(const RECT& bar, bool icon, bool close, bool minMax) {
  CaptionBoxes boxes;
  const int top = bar.top + 2;
  if (icon) boxes.sysMenu = RECT{bar.left + 2, bar.top + 1, bar.left + 18, bar.top + 17};
  if (!close) return boxes;
  boxes.close = RECT{bar.right - 2 - kBoxWidth, top, bar.right - 2, top + kBoxHeight};
  if (minMax) {
    boxes.maximize = RECT{boxes.close.left - 2 - kBoxWidth, top, boxes.close.left - 2, top + kBoxHeight};
    boxes.minimize = RECT{boxes.maximize.left - kBoxWidth, top, boxes.maximize.left, top + kBoxHeight};
  }
  return boxes;
}

NonClientLayout LayOutNonClient(DWORD style, DWORD exStyle, const RECT& window) {
  NonClientLayout l;
  l.window = window;
  const int frame = FrameWidth(style, exStyle);
  l.inner = RECT{window.left + frame, window.top + frame, window.right - frame, window.bottom - frame};
  const RECT insets = NonClientInsets(style, exStyle);
  l.client = RECT{window.left + insets.left, window.top + insets.top, window.right - insets.right,
                  window.bottom - insets.bottom};
  l.client.right = std::max(l.client.right, l.client.left);
  l.client.bottom = std::max(l.client.bottom, l.client.top);
  if ((style & WS_CAPTION) == WS_CAPTION) {
    l.caption = RECT{l.inner.left, l.inner.top, l.inner.right, l.inner.top + GetSystemMetrics(SM_CYCAPTION)};
    const bool menu = (style & WS_SYSMENU) != 0;
    const bool modalFrame = (exStyle & WS_EX_DLGMODALFRAME) || (style & DS_MODALFRAME);
    l.boxes = LayOutCaptionBoxes(l.caption, menu && !modalFrame, menu,
                                 menu && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0);
  }
  PlaceScrollBars(style, l.client, l.vscroll, l.hscroll);
  return l;
}

LRESULT HitTestNonClient(const NonClientLayout& l, DWORD style, POINT p) {
  if (!Inside(l.window, p)) return HTNOWHERE;
  if (Inside(l.client, p)) return HTCLIENT;
  if (!Inside(l.inner, p)) {
    const bool sizable = (style & WS_THICKFRAME) && !(style & (WS_MINIMIZE | WS_MAXIMIZE));
    return sizable ? SizingEdge(l, p) : HTBORDER;
  }
  if (Inside(l.caption, p)) {
    if (Inside(l.boxes.close, p)) return HTCLOSE;
    if (Inside(l.boxes.maximize, p)) return HTMAXBUTTON;
    if (Inside(l.boxes.minimize, p)) return HTMINBUTTON;
    if (Inside(l.boxes.sysMenu, p)) return HTSYSMENU;
    return HTCAPTION;
  }
  if (Inside(l.vscroll, p)) return HTVSCROLL;
  if (Inside(l.hscroll, p)) return HTHSCROLL;
  return HTBORDER;  // a client or static edge, the square between two bars
}

}  // namespace platform
