// CWnd: objects and handles, creation, and the members that wrap the
// platform's window functions. The dispatch lives in cwnd_dispatch.cpp.
#include "platform/window/cwnd.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/window/message_queue.h"
#include "platform/window/window_registry.h"

using platform::FindWindowRecord;

CWnd::CWnd() = default;

// The defaults of what the upper floors give meaning to (tool-tips in comctl/,
// data exchange in user/), here so that CWnd's table of virtuals links with
// the window layer alone.
INT_PTR CWnd::OnToolHitTest(CPoint, TOOLINFO*) const { return -1; }
void CWnd::DoDataExchange(CDataExchange*) {}
CWnd::CWnd(HWND special) : m_hWnd(special) {}

// Spelled out rather than taken from HWND_TOP & co., whose initialisation
// order relative to these statics is not guaranteed.
const CWnd CWnd::wndTop(reinterpret_cast<HWND>(intptr_t{0}));
const CWnd CWnd::wndBottom(reinterpret_cast<HWND>(intptr_t{1}));
const CWnd CWnd::wndTopMost(reinterpret_cast<HWND>(intptr_t{-1}));
const CWnd CWnd::wndNoTopMost(reinterpret_cast<HWND>(intptr_t{-2}));

CWnd::~CWnd() {
  // An object that dies before its window takes the window with it; during
  // this destructor the messages reach CWnd's own handlers only.
  if (m_hWnd != nullptr) {
    platform::WindowRecord* r = FindWindowRecord(m_hWnd);
    if (r != nullptr && r->object == this) {
      ::DestroyWindow(m_hWnd);
      r = FindWindowRecord(m_hWnd);
      if (r != nullptr && r->object == this) r->object = nullptr;
    }
    m_hWnd = nullptr;
  }
}

namespace {
CWnd* g_mainWnd = nullptr;  // user-interface thread only
}  // namespace

CWnd* AfxGetMainWnd() { return g_mainWnd; }
void platform::SetMainWindow(CWnd* wnd) { g_mainWnd = wnd; }

CWnd* CWnd::FromHandle(HWND hwnd) {
  platform::WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr) return nullptr;
  if (r->object != nullptr) return r->object;
  if (!r->wrapper) {
    r->wrapper = std::unique_ptr<CWnd, platform::WrapperDeleter>(new CWnd);
    r->wrapper->m_hWnd = hwnd;
  }
  return r->wrapper.get();
}

void platform::WrapperDeleter::operator()(CWnd* wrapper) const {
  wrapper->m_hWnd = nullptr;  // the wrapper never owned the window: nothing is destroyed
  delete wrapper;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  platform::WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr ? r->object : nullptr;
}

BOOL CWnd::Attach(HWND hwnd) {
  platform::WindowRecord* r = FindWindowRecord(hwnd);
  if (r == nullptr || m_hWnd != nullptr || r->object != nullptr) return FALSE;
  r->object = this;
  m_hWnd = hwnd;
  return TRUE;
}

HWND CWnd::Detach() {
  const HWND hwnd = m_hWnd;
  if (platform::WindowRecord* r = FindWindowRecord(hwnd); r != nullptr && r->object == this) r->object = nullptr;
  m_hWnd = nullptr;
  return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!Attach(hwnd)) return FALSE;
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (parent == nullptr) return FALSE;
  HWND item = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return item != nullptr && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, UINT_PTR idOrMenu, LPVOID param) {
  if (m_hWnd != nullptr) return FALSE;
  HWND hwnd =
      platform::CreateWindowWithObject(this, exStyle, className != nullptr ? className : "AfxWnd", windowName, style, x,
                                       y, cx, cy, parent, reinterpret_cast<HMENU>(idOrMenu), nullptr, param);
  if (hwnd == nullptr) m_hWnd = nullptr;
  return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr, id, param);
}

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr ? ::DestroyWindow(m_hWnd) : FALSE; }

// ---- Messages ----
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendDlgItemMessage(m_hWnd, id, message, wParam, lParam);
}

// ---- Relations ----
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* newParent) {
  return FromHandle(::SetParent(m_hWnd, newParent != nullptr ? newParent->m_hWnd : nullptr));
}
CWnd* CWnd::GetOwner() const {
  platform::WindowRecord* r = FindWindowRecord(m_hWnd);
  if (r == nullptr) return nullptr;
  return FromHandle(r->IsChild() ? r->parent : r->owner);
}
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestorTopLevel(m_hWnd)); }
CWnd* CWnd::GetWindow(UINT relation) const { return FromHandle(::GetWindow(m_hWnd, relation)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return wnd != nullptr && ::IsChild(m_hWnd, wnd->m_hWnd); }

// ---- Attributes ----
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }

// TRUE when the style changed.
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  const auto old = static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE));
  const DWORD next = (old & ~remove) | add;
  if (old == next) return FALSE;
  ::SetWindowLongPtr(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(next));
  if (swpFlags != 0) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  }
  return TRUE;
}

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const { return ::GetWindowText(m_hWnd, buffer, maxCount); }
void CWnd::GetWindowText(CString& text) const {
  const int length = ::GetWindowTextLength(m_hWnd);
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  const int n = ::GetWindowText(m_hWnd, buffer.data(), length + 1);
  buffer.resize(static_cast<size_t>(n));
  text = CString(std::move(buffer));
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL bigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0));
}

// ---- Geometry ----
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(LPRECT rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2); }
void CWnd::MoveWindow(int x, int y, int cx, int cy, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter != nullptr ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

// ---- State ----
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

// ---- Timers ----
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void (*proc)(HWND, UINT, UINT_PTR, DWORD)) {
  return ::SetTimer(m_hWnd, id, elapseMs, proc);
}
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

// ---- Dialog items ----
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int idFirst, int idLast, int idCheck) {
  ::CheckRadioButton(m_hWnd, idFirst, idLast, idCheck);
}
int CWnd::GetCheckedRadioButton(int idFirst, int idLast) const {
  for (int id = idFirst; id <= idLast; ++id) {
    if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
  }
  return 0;
}
void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemText(m_hWnd, id, text); }
int CWnd::GetDlgItemText(int id, LPTSTR buffer, int maxCount) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, id, buffer, maxCount));
}
int CWnd::GetDlgItemText(int id, CString& text) const {
  HWND item = ::GetDlgItem(m_hWnd, id);
  if (item == nullptr) {
    text.Empty();
    return 0;
  }
  FromHandle(item)->GetWindowText(text);
  return text.GetLength();
}
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  CString text;
  GetDlgItemText(id, text);
  // strtoll passes over the blanks before the number; those after it are allowed too.
  const char* begin = text.GetString();
  char* end = nullptr;
  const long long v = std::strtoll(begin, &end, 10);
  const bool number = end != begin;
  while (*end == ' ') ++end;
  const bool ok = number && *end == '\0' && v >= (isSigned ? -2147483648LL : 0) &&
                  v <= (isSigned ? 2147483647LL : 4294967295LL);
  if (translated != nullptr) *translated = ok ? TRUE : FALSE;
  return ok ? static_cast<UINT>(v) : 0;
}
