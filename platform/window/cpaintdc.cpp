#include "platform/window/cpaintdc.h"

#include "platform/window/cwnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr) {
  m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
  if (m_hDC != nullptr) ::EndPaint(m_hWnd, &m_ps);
  m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr) { m_hDC = ::GetDC(m_hWnd); }

CClientDC::~CClientDC() {
  if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, m_hDC);
  m_hDC = nullptr;
}
