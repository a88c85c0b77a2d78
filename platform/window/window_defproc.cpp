// ::DefWindowProc: what every window does with a message nobody else handled.
#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/metrics.h"
#include "platform/window/move_size.h"
#include "platform/window/non_client.h"
#include "platform/window/non_client_hit.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/window_registry.h"

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
  if (record == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) record->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT: record->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : ""; return TRUE;
    case WM_GETTEXT: return platform::CopyWindowText(record->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(record->text.size());
    case WM_SETFONT: record->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(record->font);
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? record->bigIcon : record->smallIcon;
      HICON old = slot;
      slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? record->bigIcon : record->smallIcon);
    case WM_CLOSE: ::DestroyWindow(hwnd); return 0;
    case WM_RBUTTONUP: {
      // A right click asks for a context menu at the cursor, in screen coordinates.
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ::ClientToScreen(hwnd, &p);
      ::SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                    MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
      return 0;
    }
    case WM_KEYUP:
      // The context-menu key asks for a menu with no point: (-1, -1).
      if (wParam == VK_APPS) {
        ::SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(0xFFFF, 0xFFFF));
      }
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the window the keyboard is in, whichever control has it.
      if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
        ::PostMessage(::GetAncestorTopLevel(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSCHAR:
      // Alt+Space opens the window menu of the window the keyboard is in.
      if (wParam == ' ') ::SendMessage(::GetAncestorTopLevel(hwnd), WM_SYSCOMMAND, SC_KEYMENU, ' ');
      return 0;
    case WM_CHANGEUISTATE: {
      // A child asks its top-level window, which tells every window in it.
      if (record->IsChild()) return ::SendMessage(record->parent, message, wParam, lParam);
      WORD action = LOWORD(wParam);
      const WORD flags = HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
      if (action == UIS_INITIALIZE) action = platform::LastInputWasKeyboard() ? UIS_CLEAR : UIS_SET;
      const WORD state = action == UIS_SET     ? static_cast<WORD>(record->uiState | flags)
                         : action == UIS_CLEAR ? static_cast<WORD>(record->uiState & ~flags)
                                               : record->uiState;
      if (state != record->uiState) ::SendMessage(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(action, flags), 0);
      return 0;
    }
    case WM_UPDATEUISTATE: {
      // Here and in every child, which repaint to show or hide their cues.
      const WORD flags = HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
      if (LOWORD(wParam) == UIS_SET) record->uiState |= flags;
      if (LOWORD(wParam) == UIS_CLEAR) record->uiState &= static_cast<WORD>(~flags);
      record->needsPaint = true;
      const std::vector<HWND> children = record->children;
      for (HWND child : children) ::SendMessage(child, WM_UPDATEUISTATE, wParam, lParam);
      return 0;
    }
    case WM_QUERYUISTATE: return record->uiState;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      // Unhandled by a child: its parent may handle it.
      if (record->IsChild()) return ::SendMessage(record->parent, message, wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
        HWND focus = ::GetFocus();
        if (focus == nullptr || !platform::IsSelfOrDescendant(hwnd, focus)) ::SetFocus(hwnd);
      }
      return 0;
    case WM_WINDOWPOSCHANGING: {
      // A window a person can size (a sizing border, or an overlapped
      // window) asks its limits, and a new size is kept within them; a
      // minimised window's bar is the platform's size.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      const bool sizable = (record->style & WS_THICKFRAME) || !(record->style & (WS_POPUP | WS_CHILD));
      if (pos == nullptr || (pos->flags & SWP_NOSIZE) || !sizable || (record->style & WS_MINIMIZE)) return 0;
      const MINMAXINFO limits = platform::AskMinMaxInfo(hwnd);
      pos->cx =
          std::clamp(pos->cx, static_cast<int>(limits.ptMinTrackSize.x),
                     std::max(static_cast<int>(limits.ptMinTrackSize.x), static_cast<int>(limits.ptMaxTrackSize.x)));
      pos->cy =
          std::clamp(pos->cy, static_cast<int>(limits.ptMinTrackSize.y),
                     std::max(static_cast<int>(limits.ptMinTrackSize.y), static_cast<int>(limits.ptMaxTrackSize.y)));
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos == nullptr) return 0;
      if (!(pos->flags & SWP_NOMOVE)) {
        ::SendMessage(hwnd, WM_MOVE, 0,
                      MAKELPARAM(static_cast<WORD>(record->rect.left), static_cast<WORD>(record->rect.top)));
      }
      if (!(pos->flags & SWP_NOSIZE)) {
        RECT client;
        ::GetClientRect(hwnd, &client);
        const WPARAM kind = (record->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                            : (record->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                            : SIZE_RESTORED;
        ::SendMessage(hwnd, WM_SIZE, kind,
                      MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
      }
      return 0;
    }
    case WM_NCHITTEST: return platform::NonClientHitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTHSCROLL || wParam == HTVSCROLL) {
        // A press on a scroll bar scrolls; see platform/window/scroll_bar.h.
        platform::PressScrollBar(hwnd, static_cast<int>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      return platform::FrameDefault(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND: return platform::FrameDefault(hwnd, message, wParam, lParam);
    case WM_MOUSEACTIVATE:
      // A child asks its parent first; the parent's answer stands.
      if (record->IsChild()) {
        if (const LRESULT r = ::SendMessage(record->parent, message, wParam, lParam); r != 0) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      // A parent may set the cursor for its children; TRUE stops the search.
      if (record->IsChild()) return ::SendMessage(record->parent, message, wParam, lParam);
      return FALSE;
    case WM_ERASEBKGND: return 1;
    case WM_NCACTIVATE: return TRUE;
    default:
      if (platform::IsCtlColorMessage(message)) {
        // The system's colours: window colours for edits and lists, the
        // 3-D face for the rest, the scroll-bar colour for scroll bars.
        const auto dc = reinterpret_cast<HDC>(wParam);
        if (message == WM_CTLCOLORSCROLLBAR) return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_SCROLLBAR));
        const int background =
            (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_3DFACE;
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(background));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
      }
      return 0;
  }
}
