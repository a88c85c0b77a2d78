// The one place where a message becomes a call: CWnd::OnWndMsg, with the
// reflection of child notifications back to the child's own object; and the
// pump's walk through the objects' PreTranslateMessage before it dispatches.
#include "platform/gdi/cdc.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"
#include "platform/window/tool_tip_filter.h"
#include "platform/window/window_registry.h"

namespace platform {

namespace {

// The child window a reflectable message comes from, or null.
HWND ReflectionSource(UINT message, WPARAM wParam, LPARAM lParam, HWND parent) {
  if (IsCtlColorMessage(message)) return reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header != nullptr ? header->hwndFrom : nullptr;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return dis != nullptr && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    case WM_DELETEITEM: {
      const auto* dis = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
      return dis != nullptr && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    case WM_COMPAREITEM: {
      const auto* cis = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
      return cis != nullptr ? cis->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      return mis != nullptr && mis->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(mis->CtlID)) : nullptr;
    }
    default: (void)wParam; return nullptr;
  }
}

}  // namespace

bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, HWND parent, LRESULT* result) {
  HWND child = ReflectionSource(message, wParam, lParam, parent);
  if (child == nullptr || child == parent) return false;
  CWnd* object = CWnd::FromHandlePermanent(child);
  if (object == nullptr) return false;
  return object->OnChildNotify(message, wParam, lParam, result) != FALSE;
}

}  // namespace platform

namespace {
// The message being handled on this thread, for Default(). Kept outside the
// object: a handler may destroy and delete its own object, so nothing of the
// object is touched after its handler returns.
thread_local MSG t_currentMsg;
}  // namespace

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const MSG saved = t_currentMsg;
  t_currentMsg.hwnd = m_hWnd;
  t_currentMsg.message = message;
  t_currentMsg.wParam = wParam;
  t_currentMsg.lParam = lParam;
  const HWND hwnd = m_hWnd;
  const LRESULT result = WindowProc(message, wParam, lParam);
  t_currentMsg = saved;
  if (message == WM_NCDESTROY) {
    // The window is gone for this object: detach, then let the class clean up
    // (PostNcDestroy may delete the object, so touch nothing after it).
    if (platform::WindowRecord* r = platform::FindWindowRecord(hwnd); r != nullptr && r->object == this) {
      r->object = nullptr;
    }
    m_hWnd = nullptr;
    PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::CallClassProcedure(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG current = t_currentMsg;
  return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG* msg) {
  // Only the window's own messages: an ancestor's object sees its children's too.
  if (m_bToolTips && msg != nullptr && msg->hwnd == m_hWnd) {
    if (const platform::ToolTipFilter filter = platform::InstalledToolTipFilter()) filter(*this, *msg);
  }
  return FALSE;
}

namespace {
platform::ToolTipFilter g_toolTipFilter = nullptr;
}  // namespace

void platform::SetToolTipFilter(ToolTipFilter filter) { g_toolTipFilter = filter; }
platform::ToolTipFilter platform::InstalledToolTipFilter() { return g_toolTipFilter; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // A child's notification is its own object's to handle first.
  if (platform::ReflectToChild(message, wParam, lParam, m_hWnd, result)) return TRUE;

  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT mouseFlags = static_cast<UINT>(wParam);
  const UINT repeat = LOWORD(static_cast<uintptr_t>(lParam));
  const UINT keyFlags = HIWORD(static_cast<uintptr_t>(lParam));
  const HWND other = reinterpret_cast<HWND>(wParam);
  *result = 0;
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(wParam, lParam)) {
        *result = 1;
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: return OnNotify(wParam, lParam, result);
    case WM_CREATE: *result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_NCDESTROY: OnNcDestroy(); return TRUE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)));
      return TRUE;
    case WM_MOVE: OnMove(point.x, point.y); return TRUE;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); return TRUE;
    case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return TRUE;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
      return TRUE;
    case WM_SETFOCUS: OnSetFocus(FromHandle(other)); return TRUE;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(other)); return TRUE;
    case WM_ENABLE: OnEnable(static_cast<BOOL>(wParam)); return TRUE;
    case WM_TIMER: OnTimer(wParam); return TRUE;
    case WM_PAINT: OnPaint(); return TRUE;
    case WM_ERASEBKGND: *result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return TRUE;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_CHAR: OnChar(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_SYSKEYDOWN: OnSysKeyDown(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_SYSKEYUP: OnSysKeyUp(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_SYSCHAR: OnSysChar(static_cast<UINT>(wParam), repeat, keyFlags); return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(mouseFlags, point); return TRUE;
    case WM_MOUSELEAVE: OnMouseLeave(); return TRUE;
    case WM_LBUTTONDOWN: OnLButtonDown(mouseFlags, point); return TRUE;
    case WM_LBUTTONUP: OnLButtonUp(mouseFlags, point); return TRUE;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(mouseFlags, point); return TRUE;
    case WM_RBUTTONDOWN: OnRButtonDown(mouseFlags, point); return TRUE;
    case WM_RBUTTONUP: OnRButtonUp(mouseFlags, point); return TRUE;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(mouseFlags, point); return TRUE;
    case WM_MBUTTONDOWN: OnMButtonDown(mouseFlags, point); return TRUE;
    case WM_MBUTTONUP: OnMButtonUp(mouseFlags, point); return TRUE;
    case WM_MOUSEWHEEL: *result = OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), point); return TRUE;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
    case WM_CAPTURECHANGED: OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam))); return TRUE;
    case WM_NCHITTEST: *result = OnNcHitTest(point); return TRUE;
    case WM_SETCURSOR:
      *result = OnSetCursor(FromHandle(other), LOWORD(static_cast<uintptr_t>(lParam)),
                            HIWORD(static_cast<uintptr_t>(lParam)));
      return TRUE;
    case WM_MOUSEACTIVATE:
      *result = OnMouseActivate(FromHandle(other), LOWORD(static_cast<uintptr_t>(lParam)),
                                HIWORD(static_cast<uintptr_t>(lParam)));
      return TRUE;
    case WM_CONTEXTMENU: OnContextMenu(FromHandle(other), point); return TRUE;
    case WM_GETDLGCODE: *result = static_cast<LRESULT>(OnGetDlgCode()); return TRUE;
    case WM_DRAWITEM:
      OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      *result = TRUE;
      return TRUE;
    case WM_MEASUREITEM:
      OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      *result = TRUE;
      return TRUE;
    default:
      if (platform::IsCtlColorMessage(message)) {
        *result = reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                       FromHandle(reinterpret_cast<HWND>(lParam)),
                                                       platform::CtlColorKind(message)));
        return TRUE;
      }
      return FALSE;
  }
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND: return OnReflectCommand(HIWORD(wParam)) == Reflect::Consume ? TRUE : FALSE;
    case WM_NOTIFY: return OnReflectNotify(reinterpret_cast<NMHDR*>(lParam), result) == Reflect::Consume ? TRUE : FALSE;
    default:
      if (platform::IsCtlColorMessage(message)) {
        HBRUSH brush = CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), platform::CtlColorKind(message));
        if (brush == nullptr) return FALSE;
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
      }
      return FALSE;
  }
}

Reflect CWnd::OnReflectCommand(UINT) { return Reflect::PassToParent; }
Reflect CWnd::OnReflectNotify(NMHDR*, LRESULT*) { return Reflect::PassToParent; }

// Base handlers pass the message on to the class model / ::DefWindowProc.
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }

namespace platform {

bool PreTranslate(MSG& msg) {
  CWnd* main = AfxGetMainWnd();
  const HWND mainHwnd = main != nullptr ? main->m_hWnd : nullptr;
  bool passedMain = false;
  for (HWND h = msg.hwnd; h != nullptr; h = ::GetParent(h)) {
    passedMain = passedMain || h == mainHwnd;
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (wnd != nullptr && wnd->PreTranslateMessage(&msg)) return true;
  }
  // Last chance for the main window when the way up did not pass it.
  if (mainHwnd != nullptr && !passedMain && msg.hwnd != nullptr && ::IsWindow(mainHwnd)) {
    return main->PreTranslateMessage(&msg) != FALSE;
  }
  return false;
}

}  // namespace platform
