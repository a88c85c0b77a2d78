#include "controls/tracking_tip.h"

#include "platform/gdi/sys_colors.h"

CTrackingTip::~CTrackingTip() { Destroy(); }

void CTrackingTip::Destroy() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
}

LRESULT CTrackingTip::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::IsWindow(m_hWnd) ? ::SendMessage(m_hWnd, message, wParam, lParam) : 0;
}

void CTrackingTip::Create(CWnd& owner, bool withBorder) {
  if (::IsWindow(m_hWnd)) return;
  m_hWnd = ::CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                            owner.GetSafeHwnd(), nullptr, nullptr, nullptr);
  if (m_hWnd == nullptr) return;
  m_tool = TOOLINFO{};
  m_tool.uFlags = TTF_TRACK | TTF_TRANSPARENT;
  m_tool.hwnd = owner.GetSafeHwnd();
  m_tool.uId = reinterpret_cast<UINT_PTR>(owner.GetSafeHwnd());
  m_tool.lpszText = const_cast<LPSTR>(m_text.GetString());
  Send(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&m_tool));
  Send(TTM_SETMAXTIPWIDTH, 0, 32767);
  SetColors(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  const RECT margins{0, -1, 0, -1};
  Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
  Send(WM_SETFONT, static_cast<WPARAM>(owner.SendMessage(WM_GETFONT)), FALSE);
  if (!withBorder) {
    ::SetWindowLongPtr(m_hWnd, GWL_STYLE, ::GetWindowLongPtr(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
  }
}

void CTrackingTip::SetText(const CString& text) {
  m_text = text;
  m_tool.lpszText = const_cast<LPSTR>(m_text.GetString());
  Send(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&m_tool));
}

void CTrackingTip::ShowAt(POINT screen) {
  Send(TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  Send(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_tool));
}

void CTrackingTip::Hide() { Send(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_tool)); }

void CTrackingTip::SetColors(COLORREF background, COLORREF text) {
  Send(TTM_SETTIPBKCOLOR, background, 0);
  Send(TTM_SETTIPTEXTCOLOR, text, 0);
}

void CTrackingTip::SetDelays(int initialMs, int autoPopMs) {
  Send(TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(static_cast<WORD>(initialMs), 0));
  Send(TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(static_cast<WORD>(autoPopMs), 0));
}
