// System metrics of the headless screen, and the non-client frame they give
// a window. One place holds every size the layer invents, so a picture drawn
// later and the numbers a test reads agree:
//
//   screen 1920 x 1080; caption bar 19; frame of a sizing border 4, of a
//   dialog frame 3, of a thin border 1; client edge 2, static edge 1;
//   scroll bars 17 wide (and their thumbs 17); icons 32, small icons 16;
//   a resizable window at least 112 x 27 and at most the screen plus 12;
//   caption boxes 16 x 14 in an 18 x 18 cell; a minimised window 160 wide.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CXMAXTRACK = 59;
constexpr int SM_CYMAXTRACK = 60;
// A caption's boxes (minimise, maximise, close) and a minimised window's bar.
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXMINIMIZED = 57;
constexpr int SM_CYMINIMIZED = 58;

// The metric's value; 0 for an index the layer does not know, as on the platform.
PLATFORM_API int GetSystemMetrics(int index);

namespace platform {

// Widths of the non-client frame on each side of a window with these styles.
RECT NonClientInsets(DWORD style, DWORD exStyle);

// The screen's size (SM_CXSCREEN, SM_CYSCREEN, and what a maximised window
// fills): 1920 x 1080 headless; the desktop mode gives its display's.
// Sizes below 1 put the headless size back.
PLATFORM_API void SetScreenSize(int cx, int cy);

// Where minimised windows park: in a row along this screen line, above it
// (a task bar's top; the desktop mode gives its log's, so that they never
// cover the log). The screen's bottom unless set; 0 or less puts that back.
PLATFORM_API void SetMinimizedBottom(int y);
int MinimizedBottom();

}  // namespace platform
