#include "controls/hot_font_combo.h"

#include <cstring>

#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/font_families.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/cpaintdc.h"
#include "platform/window/cursor.h"

namespace {

int AddFamily(const LOGFONT* font, const TEXTMETRIC* /*metric*/, DWORD /*type*/, LPARAM combo) {
  reinterpret_cast<CComboBox*>(combo)->AddString(font->lfFaceName);
  return 1;
}

}  // namespace

CHotFontCombo::CHotFontCombo() { LoadColors(); }

void CHotFontCombo::LoadColors() {
  m_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clr3dLight = ::GetSysColor(COLOR_3DLIGHT);
  m_clrDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_clrFace = ::GetSysColor(COLOR_BTNFACE);
}

void CHotFontCombo::FillFontList() {
  ResetContent();
  CClientDC dc(this);
  LOGFONT lf;
  lf.lfCharSet = ANSI_CHARSET;  // every face and pitch: lfFaceName empty, lfPitchAndFamily 0
  ::EnumFontFamiliesEx(dc.GetSafeHdc(), &lf, &AddFamily, reinterpret_cast<LPARAM>(this), 0);
  const int index = FindStringExact(-1, m_strFaceName);
  if (index != CB_ERR) SetCurSel(index);
}

void CHotFontCombo::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (dis == nullptr || static_cast<int>(dis->itemID) < 0) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  CString face;
  GetLBText(static_cast<int>(dis->itemID), face);
  CFont font;
  LOGFONT own{};
  CFont* controlFont = GetFont();
  if ((dis->itemState & ODS_COMBOBOXEDIT) && controlFont != nullptr && controlFont->GetLogFont(&own) != 0) {
    // The selection field sits in line with the dialog's other fields: the
    // face at the dialog's own size. The opened list previews each face larger.
    std::strncpy(own.lfFaceName, face.GetString(), sizeof(own.lfFaceName) - 1);
    own.lfFaceName[sizeof(own.lfFaceName) - 1] = '\0';
    font.CreateFontIndirect(&own);
  } else {
    font.CreatePointFont(kItemPointTenths, face, dc);
  }
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  const COLORREF back = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  CBrush brush(back);
  CPen pen(PS_SOLID, 1, back);
  const int saved = dc->SaveDC();
  dc->SelectObject(&brush);
  dc->SelectObject(&pen);
  dc->SelectObject(&font);
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  dc->SetBkMode(TRANSPARENT);
  dc->Rectangle(&dis->rcItem);
  dc->TextOut(dis->rcItem.left, dis->rcItem.top, face);
  dc->RestoreDC(saved);
}

int CHotFontCombo::MeasuredItemHeight() {
  CClientDC dc(this);
  CFont font;
  // The faces map to fonts of one line height, so any face measures them all.
  font.CreatePointFont(kItemPointTenths, m_strFaceName.IsEmpty() ? CString("Arial") : m_strFaceName, &dc);
  CFont* old = dc.SelectObject(&font);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(old);
  return tm.tmHeight + tm.tmExternalLeading;
}

int CHotFontCombo::FieldHeight() {
  CFont* controlFont = GetFont();
  if (controlFont == nullptr) return MeasuredItemHeight();
  CClientDC dc(this);
  CFont* old = dc.SelectObject(controlFont);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(old);
  return tm.tmHeight + tm.tmExternalLeading;
}

void CHotFontCombo::MeasureItem(LPMEASUREITEMSTRUCT mis) {
  if (mis == nullptr) return;
  mis->itemHeight = static_cast<UINT>(static_cast<int>(mis->itemID) == -1 ? FieldHeight() : MeasuredItemHeight());
}

void CHotFontCombo::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  if (!(GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) return;
  SetItemHeight(-1, static_cast<UINT>(FieldHeight()));
  SetItemHeight(0, static_cast<UINT>(MeasuredItemHeight()));
}

int CHotFontCombo::CompareItem(LPCOMPAREITEMSTRUCT cis) {
  // The second item's text against the first's, byte by byte.
  const auto* first = reinterpret_cast<const char*>(cis->itemData1);
  const auto* second = reinterpret_cast<const char*>(cis->itemData2);
  return std::strcmp(second != nullptr ? second : "", first != nullptr ? first : "");
}

void CHotFontCombo::DrawCombo(bool hot) {
  CClientDC dc(this);
  CRect rect;
  GetClientRect(&rect);
  // A disabled control keeps the sunken look, as a hot one.
  const bool sunken = hot || !IsWindowEnabled();
  const auto ring = [&](COLORREF topLeft, COLORREF bottomRight) {
    dc.Draw3dRect(&rect, sunken ? topLeft : m_clrFace, sunken ? bottomRight : m_clrFace);
    rect.DeflateRect(1, 1);
  };
  if (GetExStyle() & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) ring(m_clrShadow, m_clrHilite);
  ring(m_clrShadow, m_clrHilite);
  ring(m_clrDkShadow, m_clr3dLight);
}

void CHotFontCombo::Hover() {
  if (m_bFocus || m_bTimerSet) return;
  DrawCombo(true);
  SetTimer(kHoverTimer, kHoverTimerMs);
  m_bTimerSet = true;
}

void CHotFontCombo::OnMouseMove(UINT flags, CPoint point) {
  Hover();
  CComboBox::OnMouseMove(flags, point);
}

void CHotFontCombo::OnTimer(UINT_PTR id) {
  if (id != kHoverTimer) {
    CComboBox::OnTimer(id);
    return;
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  CRect window;
  GetWindowRect(&window);
  if (window.PtInRect(cursor)) return;
  KillTimer(kHoverTimer);
  m_bTimerSet = false;
  if (!m_bFocus) DrawCombo(false);
}

void CHotFontCombo::OnSetFocus(CWnd* oldWnd) {
  CComboBox::OnSetFocus(oldWnd);
  m_bFocus = true;
  DrawCombo(true);
}

void CHotFontCombo::OnKillFocus(CWnd* newWnd) {
  CComboBox::OnKillFocus(newWnd);
  m_bFocus = false;
  DrawCombo(false);
}

void CHotFontCombo::OnPaint() {
  CComboBox::OnPaint();
  DrawCombo(m_bFocus);
}

Reflect CHotFontCombo::OnReflectCommand(UINT code) {
  switch (code) {
    case CBN_SETFOCUS:
      m_bFocus = true;
      DrawCombo(true);
      break;
    case CBN_KILLFOCUS:
      m_bFocus = false;
      DrawCombo(false);
      break;
    case CBN_SELCHANGE:
      if (const int index = GetCurSel(); index != CB_ERR) GetLBText(index, m_strFaceName);
      break;
    default: break;
  }
  return Reflect::PassToParent;
}

BOOL CHotFontCombo::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_SYSCOLORCHANGE) {
    LoadColors();
  } else if (message == WM_FONTCHANGE) {
    FillFontList();
  } else if (message == WM_NCMOUSEMOVE) {
    Hover();
  }
  return CComboBox::OnWndMsg(message, wParam, lParam, result);
}
