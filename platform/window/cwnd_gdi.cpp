// CWnd's members that deal in device contexts and GDI objects.
#include "platform/gdi/cdc.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/window/cwnd.h"
#include "platform/window/window_paint.h"

void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? static_cast<HFONT>(*font) : nullptr), redraw);
}

CFont* CWnd::GetFont() const {
  const auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  return font != nullptr ? CFont::FromHandle(font) : nullptr;
}

CDC* CWnd::GetDC() {
  // An object without a window has no DC (not the screen's, as a null handle would give).
  HDC dc = m_hWnd != nullptr ? ::GetDC(m_hWnd) : nullptr;
  return dc != nullptr ? CDC::FromHandle(dc) : nullptr;
}

int CWnd::ReleaseDC(CDC* dc) { return dc != nullptr ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

HBRUSH CWnd::CtlColor(CDC*, UINT) { return nullptr; }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }

namespace platform {

UINT CtlColorKind(UINT message) { return message - WM_CTLCOLORMSGBOX; }

bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

bool IsOwnerDrawMessage(UINT message) {
  return message == WM_DRAWITEM || message == WM_MEASUREITEM || message == WM_DELETEITEM || message == WM_COMPAREITEM;
}

}  // namespace platform
