// CWnd's wrappers of the window's own scroll bars.
#include "platform/window/cwnd.h"

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const {
  if (info == nullptr) return FALSE;
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
  if (info == nullptr || !::IsWindow(m_hWnd)) return FALSE;
  ::SetScrollInfo(m_hWnd, bar, info, redraw);
  return TRUE;
}

int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }

void CWnd::GetScrollRange(int bar, int* min, int* max) const { ::GetScrollRange(m_hWnd, bar, min, max); }

void CWnd::SetScrollRange(int bar, int min, int max, BOOL redraw) { ::SetScrollRange(m_hWnd, bar, min, max, redraw); }

void CWnd::ShowScrollBar(UINT bar, BOOL show) { ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show); }

BOOL CWnd::EnableScrollBar(int bar, UINT arrows) { return ::EnableScrollBar(m_hWnd, static_cast<UINT>(bar), arrows); }
