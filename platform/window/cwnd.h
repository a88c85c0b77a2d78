// CWnd: the framework's C++ object attached to a window.
//
// The procedure chain of a window is: its attached CWnd object, if any, then
// its class model (platform/window/control_model.h), then ::DefWindowProc.
//
// How a message becomes a call (one place, CWnd::OnWndMsg):
//  - WindowProc calls OnWndMsg; what OnWndMsg leaves unhandled goes to
//    DefWindowProc (the class model or ::DefWindowProc).
//  - OnWndMsg switches on the message and calls a typed virtual handler
//    (OnCreate, OnTimer, OnLButtonDown, ...). Every base handler passes the
//    message on with Default(), so a class overrides only what it handles and
//    calls the base handler to keep the default behaviour.
//  - WM_COMMAND and WM_NOTIFY go to OnCommand / OnNotify, a class's switch on
//    control id and notification code. Before that, a notification from a
//    child control (and WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM,
//    WM_DELETEITEM, WM_CTLCOLOR*, WM_HSCROLL/WM_VSCROLL) is reflected to the
//    child's own object: OnChildNotify, which by default calls
//    OnReflectCommand / OnReflectNotify / CtlColor. A reflected handler
//    returns Reflect::Consume to keep the notification from the parent, or
//    Reflect::PassToParent to let the parent see it too (CtlColor: a brush
//    consumes, null passes).
//  - A class with messages of its own overrides OnWndMsg, handles them, and
//    calls the base for the rest.
//  - Messages the pump delivers are first offered to PreTranslateMessage of
//    the target's object and then of each ancestor's (parent, or owner of a
//    popup), and last of the main window's; returning TRUE consumes the
//    message.
//
// Objects and windows: Create/CreateEx make a window with this object
// attached from its first message on; SubclassWindow / SubclassDlgItem /
// DDX_Control attach this object to an existing window (a dialog's control),
// keeping the control's model behind it. After WM_NCDESTROY the object is
// detached and PostNcDestroy is called. Destroying an object whose window
// still exists destroys the window. CWnd::FromHandle gives the attached
// object or, for a window without one, a wrapper owned by the window that
// is not in the procedure chain and dies with the window.
#pragma once

#include "platform/base/export.h"

#include "platform/base/cstring.h"
#include "platform/base/geometry.h"
#include "platform/window/messages.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/winapi.h"
#include "platform/base/wintypes.h"

class CDataExchange;
class CDC;
class CFont;
struct TOOLINFO;

// What a reflected handler declares: keep the notification from the parent,
// or let the parent see it too.
enum class Reflect { PassToParent, Consume };

class PLATFORM_API CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  // Stand-ins for the special z-order positions of SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  // ---- Objects and handles ----
  static CWnd* FromHandle(HWND hwnd);           // attached object or wrapper; null for no window
  static CWnd* FromHandlePermanent(HWND hwnd);  // attached object only
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT: implicit, as in the framework
  BOOL Attach(HWND hwnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // ---- Creation and destruction ----
  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int cx, int cy,
                HWND parent, UINT_PTR idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  // ---- Messages ----
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  virtual BOOL PreTranslateMessage(MSG* msg);
  // Called by the layer to deliver a message to this object (the head of the
  // window's procedure chain). Keeps the current message for Default().
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  // ---- Tool-tips (defined beside the tool-tip control: comctl/cwnd_tool_tips.cpp) ----
  // With tool-tips enabled, the window's own mouse messages pass its
  // OnToolHitTest on their way (PreTranslateMessage, through the filter of
  // window/tool_tip_filter.h that EnableToolTips installs): the tool it names goes
  // into one tool-tip shared by all such windows, and the message is relayed
  // to it, so the tip shows while the pointer rests on the tool and hides
  // when it leaves (platform/comctl/tooltip.h, hover tools).
  BOOL EnableToolTips(BOOL enable = TRUE);
  // The tool at `point` (client coordinates): fills info's hwnd, uId, rect and
  // lpszText (LPSTR_TEXTCALLBACK to be asked with TTN_NEEDTEXT) and returns a
  // hit number other than -1 that stays the same while the tool does; -1
  // when there is none (the default).
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const;

  // ---- Relations ----
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* newParent);
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetWindow(UINT relation) const;
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* out) const { *out = ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const;
  BOOL IsChild(const CWnd* wnd) const;

  // ---- Attributes ----
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  void SetWindowText(LPCTSTR text);
  int GetWindowText(LPTSTR buffer, int maxCount) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;  // null when the window has no font set

  // ---- Drawing (platform/gdi/cdc.h) ----
  CDC* GetDC();  // the client area's DC; give it back with ReleaseDC
  int ReleaseDC(CDC* dc);

  // ---- Geometry ----
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void BringWindowToTop();

  // ---- The window's scroll bars (platform/window/scroll_bar.h; window/cwnd_scroll.cpp) ----
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
  BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
  int GetScrollPos(int bar) const;
  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
  void GetScrollRange(int bar, int* min, int* max) const;
  void SetScrollRange(int bar, int min, int max, BOOL redraw = TRUE);
  void ShowScrollBar(UINT bar, BOOL show = TRUE);
  BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH);

  // ---- State ----
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  static CWnd* GetActiveWindow();
  CWnd* SetActiveWindow();
  BOOL SetForegroundWindow();
  static CWnd* GetForegroundWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void UpdateWindow();

  // ---- Timers ----
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void (*proc)(HWND, UINT, UINT_PTR, DWORD) = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // ---- Dialog items ----
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int idFirst, int idLast, int idCheck);
  int GetCheckedRadioButton(int idFirst, int idLast) const;
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, LPTSTR buffer, int maxCount) const;
  int GetDlgItemText(int id, CString& text) const;
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;

  // ---- Data exchange ----
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* dx);

  // ---- Message boxes (platform/user/message_box.h) ----
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

 protected:
  // ---- The dispatch ----
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message being handled on this thread, passed on to DefWindowProc.
  LRESULT Default();
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}

  // Commands and notifications from children (after reflection).
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Reflection: this object's own notifications, offered back by its parent.
  // Returns TRUE when consumed (the parent does not see the message).
 public:
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

 protected:
  virtual Reflect OnReflectCommand(UINT code);
  virtual Reflect OnReflectNotify(NMHDR* header, LRESULT* result);
  // A control's own colours (reflected WM_CTLCOLOR*): a brush consumes the
  // message and paints the control; null lets the parent's OnCtlColor decide.
  virtual HBRUSH CtlColor(CDC* dc, UINT ctlColor);

  // ---- Typed handlers ----
  virtual int OnCreate(LPCREATESTRUCT cs);
  virtual void OnDestroy();
  virtual void OnNcDestroy();
  virtual void OnClose();
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnMove(int x, int y);
  virtual void OnWindowPosChanged(WINDOWPOS* pos);
  // Before a resize: the size limits (defaults filled in) the window wants.
  virtual void OnGetMinMaxInfo(MINMAXINFO* info);
  virtual void OnShowWindow(BOOL show, UINT status);
  virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
  virtual void OnSetFocus(CWnd* oldWnd);
  virtual void OnKillFocus(CWnd* newWnd);
  virtual void OnEnable(BOOL enable);
  virtual void OnTimer(UINT_PTR id);
  virtual void OnPaint();
  virtual BOOL OnEraseBkgnd(CDC* dc);
  // WM_CTLCOLOR* from a child (or the dialog itself, CTLCOLOR_DLG): set the
  // DC's colours and return the background brush.
  virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
  virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
  virtual void OnChar(UINT ch, UINT repeat, UINT flags);
  virtual void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
  virtual void OnSysKeyUp(UINT key, UINT repeat, UINT flags);
  virtual void OnSysChar(UINT ch, UINT repeat, UINT flags);
  virtual void OnMouseMove(UINT flags, CPoint point);
  // WM_MOUSELEAVE: the pointer has left the window.
  virtual void OnMouseLeave();
  virtual void OnLButtonDown(UINT flags, CPoint point);
  virtual void OnLButtonUp(UINT flags, CPoint point);
  virtual void OnLButtonDblClk(UINT flags, CPoint point);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnRButtonUp(UINT flags, CPoint point);
  virtual void OnRButtonDblClk(UINT flags, CPoint point);
  virtual void OnMButtonDown(UINT flags, CPoint point);
  virtual void OnMButtonUp(UINT flags, CPoint point);
  virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  virtual void OnCaptureChanged(CWnd* wnd);
  virtual LRESULT OnNcHitTest(CPoint screenPoint);
  // TRUE when the cursor was set and the search should stop.
  virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  virtual int OnMouseActivate(CWnd* topLevel, UINT hitTest, UINT message);
  virtual void OnContextMenu(CWnd* wnd, CPoint point);
  virtual UINT OnGetDlgCode();
  virtual void OnDrawItem(int idCtl, LPDRAWITEMSTRUCT dis);
  virtual void OnMeasureItem(int idCtl, LPMEASUREITEMSTRUCT mis);

 private:
  explicit CWnd(HWND special);

  bool m_bToolTips = false;
};

// The application's main window (the terminal's frame). The pump offers a
// message that no window on its way up consumed to the main window's
// PreTranslateMessage as a last chance when the way up did not pass the main
// window (an unowned dialog of a plug-in), as the framework does for
// accelerators.
PLATFORM_API CWnd* AfxGetMainWnd();
namespace platform {
PLATFORM_API void SetMainWindow(CWnd* wnd);
}  // namespace platform

// The parent's side of reflection, shared with classes that override
// OnWndMsg: offers a reflectable message to the child's object and reports
// whether the child consumed it.
namespace platform {
bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, HWND parent, LRESULT* result);
}  // namespace platform
