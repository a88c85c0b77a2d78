#include "controls/clr_button.h"

#include "controls/owner_draw_dc.h"
#include "platform/gdi/sys_colors.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kEmbossGrey = RGB(128, 128, 128);

// One ring of four one-pixel lines, then the rectangle shrinks by one.
void Ring(CDC& dc, CRect& r, COLORREF top, COLORREF left, COLORREF bottom, COLORREF right) {
  const auto line = [&dc](COLORREF colour, int x0, int y0, int x1, int y1) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    dc.SelectObject(old);
  };
  line(top, r.left, r.top, r.right, r.top);
  line(left, r.left, r.top, r.left, r.bottom);
  line(bottom, r.left, r.bottom - 1, r.right, r.bottom - 1);
  line(right, r.right - 1, r.top, r.right - 1, r.bottom);
  r.DeflateRect(1, 1);
}

}  // namespace

CClrButton::CClrButton()
    : m_clrText(::GetSysColor(COLOR_BTNTEXT)),
      m_clrFace(::GetSysColor(COLOR_BTNFACE)),
      m_clrDisabledFace(::GetSysColor(COLOR_BTNFACE)),
      m_clr3dLight(::GetSysColor(COLOR_3DLIGHT)),
      m_clrHighlight(::GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_clrShadow(::GetSysColor(COLOR_BTNSHADOW)),
      m_clrDarkShadow(::GetSysColor(COLOR_3DDKSHADOW)) {}

void CClrButton::SetColor(COLORREF text, COLORREF face) {
  m_clrText = text;
  m_clrFace = face;
  m_clrDisabledFace = ::GetSysColor(COLOR_BTNFACE);
  if (m_hWnd != nullptr) Invalidate();
}

CString CClrButton::FontCaption(LPCTSTR face, LPCTSTR size, int style) {
  CString caption = face;
  caption += " (";
  if (style != -1) {
    switch (style) {
      case 1: caption += "Bold"; break;
      case 2: caption += "Italic"; break;
      case 3: caption += "Bold Italic"; break;
      default: caption += "Regular"; break;
    }
    caption += " , ";
  }
  caption += size;
  caption += ")";
  return caption;
}

void CClrButton::SetFontDescription(LPCTSTR face, LPCTSTR size, int style) {
  if (m_hWnd != nullptr) SetWindowText(FontCaption(face, size, style));
  m_strFontFace = face;
  m_strFontSize = size;
  m_nFontStyle = style;
}

void CClrButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (dis == nullptr) return;
  COwnerDrawDC dc(dis->hDC, m_hWnd);
  const int saved = dc->SaveDC();
  if (auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); font != nullptr) dc->SelectObject(font);

  const CRect item = dis->rcItem;
  CRect focus = item;
  focus.DeflateRect(4, 4);
  CRect raised = item;
  raised.OffsetRect(-1, -1);
  CString text;
  GetWindowText(text);

  const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
  const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
  const bool focused = (dis->itemState & ODS_FOCUS) != 0;
  dc->FillSolidRect(item, disabled ? m_clrDisabledFace : m_clrFace);

  CRect frame = item;
  if (pressed) {
    Ring(*dc, frame, m_clrDarkShadow, m_clrDarkShadow, m_clrDarkShadow, m_clrDarkShadow);
    Ring(*dc, frame, m_clrShadow, m_clrShadow, m_clrShadow, m_clrShadow);
  } else {
    if (focused || (dis->itemState & ODS_DEFAULT)) Ring(*dc, frame, kBlack, kBlack, kBlack, kBlack);
    Ring(*dc, frame, m_clrHighlight, m_clrHighlight, m_clrDarkShadow, m_clrDarkShadow);
    Ring(*dc, frame, m_clr3dLight, m_clr3dLight, m_clrShadow, m_clrShadow);
  }

  dc->SetBkMode(TRANSPARENT);
  constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (disabled) {
    CRect at = item;
    dc->SetTextColor(kWhite);
    dc->DrawText(text, -1, &at, kFormat);
    dc->SetTextColor(kEmbossGrey);
    dc->DrawText(text, -1, &raised, kFormat);
  } else {
    CRect at = pressed ? item : raised;
    dc->SetTextColor(m_clrText);
    dc->DrawText(text, -1, &at, kFormat);
  }
  if (focused) dc->DrawFocusRect(focus);
  dc->RestoreDC(saved);
}
