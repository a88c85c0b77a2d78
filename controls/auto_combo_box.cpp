#include "controls/auto_combo_box.h"

#include <algorithm>

#include "platform/window/cursor.h"
#include "platform/window/metrics.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/cpaintdc.h"

namespace {
constexpr int kTipSlack = 6;  // a text this close to the field's width still gets a tip
constexpr int kTipDelayMs = 5000;
}  // namespace

CAutoComboBox::CAutoComboBox() = default;

CAutoComboBox::~CAutoComboBox() {
  // While this object still is a CAutoComboBox, so that the list is released first.
  DestroyWindow();
}

void CAutoComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  Attached();
}

int CAutoComboBox::OnCreate(LPCREATESTRUCT cs) {
  const int result = CComboBox::OnCreate(cs);
  if (result != -1) Attached();
  return result;
}

void CAutoComboBox::Attached() { m_tip.Create(*this, true); }

void CAutoComboBox::OnDestroy() {
  StopEditTimer();
  m_tip.Destroy();
  CComboBox::OnDestroy();
}

void CAutoComboBox::PostSelChange() const {
  if (CWnd* parent = GetParent()) {
    parent->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(m_hWnd));
  }
}

// ---- Keys ----

BOOL CAutoComboBox::PreTranslateMessage(MSG* msg) {
  const bool mine = msg->hwnd == m_hWnd || ::GetParent(msg->hwnd) == m_hWnd;
  if (mine && msg->message == WM_KEYDOWN && OnKey(static_cast<UINT>(msg->wParam))) return TRUE;
  return CComboBox::PreTranslateMessage(msg);
}

bool CAutoComboBox::OnKey(UINT key) {
  m_bKeyTyped = 1;
  const HWND parent = ::GetParent(m_hWnd);
  if (key == VK_DELETE) {
    if (m_pfnCallback != nullptr) {
      const int index = m_pfnCallback(parent, GetDlgCtrlID(), 1, -1);
      if (index != -1) PostMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    }
    PostSelChange();
    m_bKeyTyped = 0;
    return false;
  }
  if (key == VK_BACK) {
    const DWORD sel = GetEditSel();
    if (LOWORD(sel) == 0 && HIWORD(sel) == GetWindowTextLength()) {
      RestoreDefaultText();
      return true;
    }
    m_bKeyTyped = 0;
    return false;
  }
  if (key >= '0' && key <= '9' && m_pfnCallback != nullptr && m_bDigitsToCallback) {
    const int answer = m_pfnCallback(parent, GetDlgCtrlID(), 0, static_cast<int>(key));
    if (answer == -3) return false;
    if (answer != -1) PostSelChange();
    return true;
  }
  return false;
}

// ---- Completion ----

Reflect CAutoComboBox::OnReflectCommand(UINT code) {
  switch (code) {
    case CBN_EDITUPDATE: Complete(); return Reflect::Consume;
    case CBN_SELCHANGE:
      m_bTipLatched = 1;
      UpdateTip(FieldArea().TopLeft());
      break;
    case CBN_SETFOCUS:
      if (GetWindowTextLength() == 0) RestoreDefaultText();
      m_bTipLatched = 1;
      UpdateTip(FieldArea().TopLeft());
      break;
    case CBN_KILLFOCUS:
      m_bTipLatched = 0;
      HideTip();
      break;
    default: break;
  }
  return Reflect::PassToParent;
}

void CAutoComboBox::Complete() {
  StopEditTimer();
  StartEditTimer();
  if (!m_bKeyTyped) return;
  m_bKeyTyped = 0;

  CString text;
  GetWindowText(text);
  const int length = text.GetLength();
  const DWORD sel = GetEditSel();
  const bool hasSel = sel != static_cast<DWORD>(CB_ERR);
  const int start = LOWORD(sel);
  const int end = HIWORD(sel);
  const int previous = GetCurSel();

  int index = -2;
  if (m_pfnCallback != nullptr && m_bUseCallback) index = m_pfnCallback(::GetParent(m_hWnd), GetDlgCtrlID(), 0, -1);
  if (index == -2) index = FindString(-1, text);
  if (index < 0) {
    if (length > 0) {
      // Take the last character back: the text must stay a prefix of some entry.
      const CString kept = text.Left(length - 1);
      SetWindowText(kept);
      const int n = kept.GetLength();
      SetEditSel(std::min(start, n), std::min(end, n));
      PostSelChange();
    }
    return;
  }
  if (!m_strDefaultText.IsEmpty()) m_bHasDefault = 1;

  PostMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
  if (!hasSel || end >= length) {
    PostMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(length), static_cast<WORD>(-1)));
  } else {
    PostMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end)));
  }
  CString entry;
  GetLBText(index, entry);
  const bool changed = index != previous || entry != text;
  if (length > 0 && (changed || m_pfnCallback != nullptr)) PostSelChange();
}

void CAutoComboBox::RestoreDefaultText() {
  m_bKeyTyped = 0;
  if (m_pfnCallback != nullptr || m_strDefaultText.IsEmpty()) return;
  const int index = FindString(-1, m_strDefaultText);
  if (index != CB_ERR) {
    SetCurSel(index);
  } else {
    SetCurSel(-1);
    SetWindowText(m_strDefaultText);
  }
  PostSelChange();
  const int n = GetWindowTextLength();
  SetEditSel(n, n);
}

// ---- The edit timer ----

void CAutoComboBox::StartEditTimer() {
  m_nTicks = 0;
  m_nEditTimer = SetTimer(kEditTimer, m_nEditTimerInterval);
}

void CAutoComboBox::StopEditTimer() {
  KillTimer(kEditTimer);
  m_nEditTimer = 0;
  m_nTicks = 0;
}

void CAutoComboBox::OnShowWindow(BOOL show, UINT status) {
  if (status == SW_PARENTCLOSING) StopEditTimer();
  if (status == SW_PARENTOPENING) StartEditTimer();
  CComboBox::OnShowWindow(show, status);
}

void CAutoComboBox::OnTimer(UINT_PTR id) {
  if (id == kEditTimer) {
    if (++m_nTicks < kEditTimerTicks) return;
    const int from = m_bHasDefault ? m_strDefaultText.GetLength() : 0;
    SetEditSel(from, -1);
    StopEditTimer();
    return;
  }
  if (id == kTipTimer) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (!m_bTipLatched && !FieldArea().PtInRect(cursor)) {
      KillTimer(kTipTimer);
      HideTip();
    }
    return;
  }
  CComboBox::OnTimer(id);
}

// ---- The tool-tip ----

CRect CAutoComboBox::FieldArea() const {
  CRect area;
  GetClientRect(&area);
  area.right -= ::GetSystemMetrics(SM_CXHTHUMB) + 2;  // the drop-down button
  return area;
}

bool CAutoComboBox::HasFocus() const {
  const HWND focus = ::GetFocus();
  return focus != nullptr && (focus == m_hWnd || ::GetParent(focus) == m_hWnd);
}

// What the field shows: the selected entry (a user's choice reaches the field
// only after CBN_SELCHANGE), else the window text.
CString CAutoComboBox::ShownText() const {
  CString text;
  if (const int selected = GetCurSel(); selected != CB_ERR) {
    GetLBText(selected, text);
  } else {
    GetWindowText(text);
  }
  return text;
}

void CAutoComboBox::OnMouseMove(UINT flags, CPoint point) {
  UpdateTip(point);
  CComboBox::OnMouseMove(flags, point);
}

void CAutoComboBox::UpdateTip(CPoint point) {
  const CRect area = FieldArea();
  if (!area.PtInRect(point)) {
    HideTip();
    return;
  }
  const CString text = ShownText();
  CClientDC dc(this);
  if (dc.GetTextExtent(text).cx <= area.Width() - kTipSlack) {
    HideTip();
    return;
  }
  CRect client;
  GetClientRect(&client);
  CPoint at(area.left + 1, area.top - client.Height() + 5);
  ClientToScreen(&at);
  if (HasFocus()) {
    m_tip.SetColors(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    m_tip.SetColors(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT));
  }
  m_tip.SetDelays(kTipDelayMs, kTipDelayMs);
  m_tip.SetText(text);
  m_tip.ShowAt(at);
  SetTimer(kTipTimer, kTipTimerMs);
}

void CAutoComboBox::HideTip() { m_tip.Hide(); }

// ---- The drop-down list ----

BOOL CAutoComboBox::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // Only the combo box's own drop-down sends it this message. A list some
  // other object already owns is refused by SubclassWindow itself.
  if (message == WM_CTLCOLORLISTBOX && m_wndList.GetSafeHwnd() == nullptr) {
    m_wndList.SubclassWindow(reinterpret_cast<HWND>(lParam));
  }
  return CComboBox::OnWndMsg(message, wParam, lParam, result);
}
