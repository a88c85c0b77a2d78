#include "platform/window/metrics.h"

#include "platform/window/messages.h"

namespace {
constexpr int kCaption = 19;
constexpr int kSizingFrame = 4;
constexpr int kDialogFrame = 3;
constexpr int kBorder = 1;
constexpr int kClientEdge = 2;
constexpr int kStaticEdge = 1;
constexpr int kScrollBar = 17;
constexpr SIZE kHeadlessScreen{1920, 1080};
SIZE g_screen = kHeadlessScreen;
}  // namespace

int GetSystemMetrics(int index) {
  // The screen's own size first: the desktop mode may have set another.
  if (index == SM_CXSCREEN) return g_screen.cx;
  if (index == SM_CYSCREEN) return g_screen.cy;
  if (index == SM_CXMAXTRACK) return g_screen.cx + 12;
  if (index == SM_CYMAXTRACK) return g_screen.cy + 12;
  if (index == SM_CXSIZE || index == SM_CYSIZE) return kCaption - 1;
  if (index == SM_CXMINIMIZED) return 160;
  if (index == SM_CYMINIMIZED) return kCaption + 2 * kSizingFrame;
  switch (index) {
    case SM_CXSCREEN: return 1920;
    case SM_CYSCREEN: return 1080;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScrollBar;
    case SM_CYCAPTION:
    case SM_CYMENU: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kClientEdge;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return kCaption + 2 * kSizingFrame;
    case SM_CXMAXTRACK: return 1920 + 12;
    case SM_CYMAXTRACK: return 1080 + 12;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    default: return 0;
  }
}

namespace platform {

void SetScreenSize(int cx, int cy) { g_screen = cx < 1 || cy < 1 ? kHeadlessScreen : SIZE{cx, cy}; }

namespace {
int g_minimizedBottom = 0;
}  // namespace

void SetMinimizedBottom(int y) { g_minimizedBottom = y; }

int MinimizedBottom() {
  const int screen = GetSystemMetrics(SM_CYSCREEN);
  return g_minimizedBottom > 0 && g_minimizedBottom < screen ? g_minimizedBottom : screen;
}

RECT NonClientInsets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if (style & WS_THICKFRAME) {
    frame = kSizingFrame;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = kDialogFrame;
  } else if (style & WS_BORDER) {
    frame = kBorder;
  }
  if (exStyle & WS_EX_CLIENTEDGE) frame += kClientEdge;
  if (exStyle & WS_EX_STATICEDGE) frame += kStaticEdge;
  RECT r{frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION) r.top += kCaption;
  if (style & WS_VSCROLL) r.right += kScrollBar;
  if (style & WS_HSCROLL) r.bottom += kScrollBar;
  return r;
}

}  // namespace platform
