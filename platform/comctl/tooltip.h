// Tool-tips: the "tooltips_class32" control model.
//
// A tool-tip is a popup owned by the window whose tools it describes. Tools
// are added with TTM_ADDTOOL (a TOOLINFO; its text is copied, so the caller's
// buffer may change afterwards) and found again by (hwnd, uId).
//
// Tracking tools (TTF_TRACK): TTM_TRACKACTIVATE(TRUE, tool) shows the tool's
// tip at the tracking point (TTM_TRACKPOSITION, screen coordinates) and
// TTM_TRACKACTIVATE(FALSE), TTM_POP, TTM_ACTIVATE(FALSE) or deleting the tool
// hides it.
//
// Hover tools (the others): the owner relays its mouse messages
// (TTM_RELAYEVENT with a MSG*; CWnd::EnableToolTips does it for a window's
// own tools). TTF_SUBCLASS is accepted but does nothing here: the tip does not
// hook the tool's window, so an owner that wants hover tips relays. A mouse move onto a tool's rectangle in its window
// (the whole window with TTF_IDISHWND) starts the initial delay (TTM_SETDELAYTIME; by default the double-click time,
// GetDoubleClickTime, and the auto-pop delay ten times it, as the platform derives them); when the pointer rests there
// that long the tip shows below the pointer (kept on the screen: moved left at its
// right edge, above the pointer at its bottom), and it hides after the auto-pop delay, on a button press, on a relayed
// move off the tool, or when a check every kTooltipLeaveCheckMs finds the pointer gone from the tool (over another
// window, or outside the rectangle). A tool whose text is LPSTR_TEXTCALLBACK ((LPSTR)-1) is asked for it each time it
// shows: TTN_GETDISPINFOA goes to the tool's window as WM_NOTIFY. A tool with empty text (or an answer without text)
// shows nothing.
//
// Shown, the tip window is visible, its window text is the tip text and its
// client area holds the text laid out with the tip font (WM_SETFONT) in the
// tip colours: a padding of 2 pixels plus the TTM_SETMARGIN margins around
// it, and, when TTM_SETMAXTIPWIDTH gave a width the text exceeds, broken
// into lines of that width. Its top-left corner is the tracking point. The
// model adds WS_BORDER at creation; a creator may remove it. Painting draws
// a fill in the background colour and the text in the text colour.
#pragma once

#include "platform/base/export.h"

#include <string>

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

constexpr char TOOLTIPS_CLASS[] = "tooltips_class32";

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;
constexpr DWORD TTS_NOANIMATE = 0x10;
constexpr DWORD TTS_NOFADE = 0x20;
constexpr DWORD TTS_BALLOON = 0x40;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOL = WM_USER + 4;
constexpr UINT TTM_DELTOOL = WM_USER + 5;
constexpr UINT TTM_NEWTOOLRECT = WM_USER + 6;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLINFO = WM_USER + 8;
constexpr UINT TTM_SETTOOLINFO = WM_USER + 9;
constexpr UINT TTM_GETTEXT = WM_USER + 11;
constexpr UINT TTM_UPDATETIPTEXT = WM_USER + 12;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;
constexpr UINT TTM_GETMARGIN = WM_USER + 27;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;

struct TOOLINFO {
  UINT cbSize = sizeof(TOOLINFO);
  UINT uFlags = 0;
  HWND hwnd = nullptr;  // the window that holds the tool
  UINT_PTR uId = 0;     // the tool's id (a window handle with TTF_IDISHWND)
  RECT rect;            // the tool's area in hwnd's client coordinates
  HINSTANCE hinst = nullptr;
  LPSTR lpszText = nullptr;
  LPARAM lParam = 0;
  void* lpReserved = nullptr;
};
using TTTOOLINFO = TOOLINFO;
using LPTOOLINFO = TOOLINFO*;

// Asking the owner for a tool's text (tools with LPSTR_TEXTCALLBACK): the
// notification carries the tool's id in hdr.idFrom; the owner points
// lpszText at its text (or fills szText) and answers 0.
constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
constexpr UINT TTN_NEEDTEXT = TTN_NEEDTEXTA;

struct NMTTDISPINFOA {
  NMHDR hdr;
  LPSTR lpszText = nullptr;
  char szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};
struct NMTTDISPINFOW {
  NMHDR hdr;
  wchar_t* lpszText = nullptr;
  wchar_t szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};
using TOOLTIPTEXTA = NMTTDISPINFOA;
using TOOLTIPTEXTW = NMTTDISPINFOW;

namespace platform {

// How often a hover tip checks that the pointer is still over its tool.
constexpr UINT kTooltipLeaveCheckMs = 100;

// What a tip shows, for tests and scripts.
struct TooltipState {
  bool shown = false;
  std::string text;  // the tracked tool's text while shown, else ""
  POINT position;    // top-left corner on the screen while shown
  SIZE size;
  COLORREF background = 0;
  COLORREF textColor = 0;
  int maxWidth = -1;
  RECT margin;
  int initialDelay = 0;
  int autoPopDelay = 0;
  HFONT font = nullptr;
  int toolCount = 0;
};
// The state of a tool-tip window; a default state for anything else.
PLATFORM_API TooltipState ReadTooltip(HWND tooltip);
// The first tool-tip window with a tool on `window` (TOOLINFO.hwnd), or null.
// (A tip created with a child window as parent is owned by its top-level
// window, as any popup is, so ownership does not find it.) For tests: not
// exported.
HWND TooltipFor(HWND window);

}  // namespace platform
