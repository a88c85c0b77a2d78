#include "platform/user/cdialog.h"

#include "platform/user/dialog_manager.h"
#include "platform/user/dialog_placement.h"
#include "platform/window/message_queue.h"
#include "platform/window/metrics.h"
#include "platform/window/window_registry.h"

namespace {

// The pixel box of a rectangle given in dialog units of `base`.
RECT ToPixels(int x, int y, int cx, int cy, SIZE base) {
  const int left = MulDiv(x, base.cx, 4), top = MulDiv(y, base.cy, 8);
  return RECT{left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
}

}  // namespace

BOOL CDialog::Create(UINT idTemplate, CWnd* parent) {
  m_nIDTemplate = idTemplate;
  if (parent != nullptr) m_pParentWnd = parent;
  const platform::DialogTemplate* dialog = platform::FindDialogTemplate(idTemplate);
  if (dialog == nullptr) return FALSE;
  return CreateIndirect(*dialog, m_pParentWnd);
}

BOOL CDialog::CreateIndirect(const platform::DialogTemplate& dialog, CWnd* parent) {
  if (m_hWnd != nullptr) return FALSE;
  m_ended = false;
  const platform::FontSpec font = platform::FontSpec::FromPoints(dialog.fontName, dialog.fontPointSize);
  const HFONT hfont = platform::FontHandle(font);
  const SIZE base = platform::DialogBaseUnits(font);
  const bool child = (dialog.style & WS_CHILD) != 0;
  const HWND parentHwnd = parent != nullptr ? parent->m_hWnd : child ? nullptr : platform::DefaultDialogOwner();
  // Where a dialog without a parent opens is measured from the window it was opened from
  // (a child dialog is placed in its parent and has no use for it).
  const HWND opener = parent != nullptr ? parentHwnd : platform::DialogOpener();

  // Client box from the template; the window adds the frame of its styles.
  RECT box = ToPixels(dialog.x, dialog.y, dialog.cx, dialog.cy, base);
  const RECT frame = platform::NonClientInsets(dialog.style, dialog.exStyle);
  const int width = (box.right - box.left) + frame.left + frame.right;
  const int height = (box.bottom - box.top) + frame.top + frame.bottom;
  POINT origin{box.left, box.top};
  if (!child && opener != nullptr) ::ClientToScreen(opener, &origin);
  if (!child && dialog.x == 0 && dialog.y == 0 && !(dialog.style & (DS_CENTER | DS_ABSALIGN))) {
    if (const auto place = platform::PlaceClearOfOpener(opener, SIZE{width, height})) origin = *place;
  }
  if (dialog.style & DS_CENTER) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (opener != nullptr && !child) ::GetWindowRect(opener, &area);
    if (child && parentHwnd != nullptr) ::GetClientRect(parentHwnd, &area);
    origin = POINT{(area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2};
  }

  platform::DispatchScope scope;
  const HWND hwnd = platform::CreateWindowWithObject(this, dialog.exStyle, "#32770", dialog.caption.c_str(),
                                                     dialog.style & ~WS_VISIBLE, origin.x, origin.y, width, height,
                                                     parentHwnd, nullptr, AfxGetResourceHandle(), nullptr);
  if (hwnd == nullptr) return FALSE;
  ::SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), FALSE);

  for (const platform::DialogItemTemplate& item : dialog.items) {
    const RECT r = ToPixels(item.x, item.y, item.cx, item.cy, base);
    const auto id = static_cast<intptr_t>(item.id == IDC_STATIC ? 0xFFFF : item.id);
    HWND control = ::CreateWindowEx(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                                    item.style | WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd,
                                    reinterpret_cast<HMENU>(id), AfxGetResourceHandle(), nullptr);
    if (control == nullptr) {
      if (dialog.style & DS_NOFAILCREATE) continue;
      ::DestroyWindow(hwnd);
      return FALSE;
    }
    ::SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), FALSE);
    const DWORD type = item.style & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON && ::SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
      ::SendMessage(hwnd, DM_SETDEFID, static_cast<WPARAM>(item.id), 0);
    }
  }

  // Focus rectangles show at once in a dialog opened from the keyboard, in
  // one opened with the mouse once the keyboard is used in it.
  ::SendMessage(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS), 0);
  HWND first = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
  if (::SendMessage(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && ::IsWindow(hwnd)) {
    first = ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (first != nullptr) {
      if (platform::DialogModel* model = platform::DialogModelOf(hwnd)) model->SaveFocus(first);
      if (::IsWindowVisible(hwnd)) ::SetFocus(first);
    }
  }
  if (!::IsWindow(hwnd)) return FALSE;
  if ((dialog.style & WS_VISIBLE) && !m_ended) ::ShowWindow(hwnd, SW_SHOWNORMAL);
  return TRUE;
}

BOOL CDialog::InitModalIndirect(const platform::DialogTemplate& dialog, CWnd* parent) {
  m_indirect = dialog;
  if (parent != nullptr) m_pParentWnd = parent;
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  const platform::DialogTemplate* dialog = m_indirect ? &*m_indirect : platform::FindDialogTemplate(m_nIDTemplate);
  if (dialog == nullptr || m_hWnd != nullptr) return -1;
  HWND owner = m_pParentWnd != nullptr ? ::GetAncestorTopLevel(m_pParentWnd->m_hWnd) : ::GetActiveWindow();
  const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);

  m_modal = true;
  m_nModalResult = -1;
  if (CreateIndirect(*dialog, CWnd::FromHandle(owner))) {
    const HWND hwnd = m_hWnd;
    if (!m_ended) ::ShowWindow(hwnd, SW_SHOWNORMAL);
    // ::EndDialog on the handle ends the loop too.
    platform::DialogModel* model = platform::DialogModelOf(hwnd);
    const platform::ModalEnd end = platform::RunModalLoop(hwnd, [&] {
      if (!m_ended && ::IsWindow(hwnd) && model->ended) {
        m_ended = true;
        m_nModalResult = static_cast<int>(model->result);
      }
      return m_ended || !::IsWindow(hwnd);
    });
    if (end == platform::ModalEnd::Abandoned) m_nModalResult = IDCANCEL;  // headless, and nobody acted
    if (end == platform::ModalEnd::Quit) m_nModalResult = -1;
    if (::IsWindow(hwnd)) {
      ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (owner != nullptr && (::GetActiveWindow() == m_hWnd || ::GetActiveWindow() == nullptr)) {
    ::SetActiveWindow(owner);
  }
  DestroyWindow();
  m_modal = false;
  return m_nModalResult;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  if (m_modal) m_ended = true;
  ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control != nullptr) ::SetFocus(control->m_hWnd);
}
void CDialog::SetDefID(UINT id) { SendMessage(DM_SETDEFID, id, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  return ::IsDialogMessage(m_hWnd, msg);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_INITDIALOG) {
    *result = OnInitDialog();
    return TRUE;
  }
  return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK: OnOK(); return TRUE;
      case IDCANCEL: OnCancel(); return TRUE;
      default: break;
    }
  }
  return CWnd::OnCommand(wParam, lParam);
}
