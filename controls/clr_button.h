// CClrButton: an owner-drawn push button in chosen text and face colours,
// with its own 3-D frame. Attach it to a BS_OWNERDRAW button (DDX_Control,
// SubclassDlgItem); it draws through its parent's reflected WM_DRAWITEM and
// handles no messages of its own.
//
// Drawing, for every request:
//  - the item rectangle is filled with the face colour (the disabled face
//    colour when disabled);
//  - two frame rings of one-pixel lines (top, left, bottom row, right
//    column), each ring shrinking the rectangle by one: raised (button
//    highlight / 3-D dark shadow, then 3-D light / button shadow), pressed
//    while selected (all dark shadow, then all shadow), and with a black ring
//    first while it has the focus or is the default button;
//  - the caption centred on one line, transparent: embossed when disabled
//    (white at the item rectangle, then grey 0x808080 one pixel up and left),
//    else in the text colour one pixel up and left, or at the item rectangle
//    (one pixel lower and to the right) while pressed;
//  - the focus rectangle, 4 pixels inside, while it has the focus.
#pragma once

#include "platform/user/cbutton.h"
#include "platform/base/cstring.h"

class CClrButton : public CButton {
 public:
  CClrButton();

  // Stores both colours, takes the disabled face colour from the current
  // system button face, and repaints.
  void SetColor(COLORREF text, COLORREF face);
  // Shows a font as the caption: "Arial (Bold , 10)", or "Arial (10)" for style -1.
  void SetFontDescription(LPCTSTR face, LPCTSTR size, int style);

  COLORREF GetTextColor() const { return m_clrText; }
  COLORREF GetFaceColor() const { return m_clrFace; }
  const CString& GetFontFace() const { return m_strFontFace; }
  const CString& GetFontSize() const { return m_strFontSize; }
  int GetFontStyle() const { return m_nFontStyle; }

  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  // The caption SetFontDescription shows.
  static CString FontCaption(LPCTSTR face, LPCTSTR size, int style);

 private:
  COLORREF m_clrText;
  COLORREF m_clrFace;
  COLORREF m_clrDisabledFace;
  COLORREF m_clr3dLight;
  COLORREF m_clrHighlight;
  COLORREF m_clrShadow;
  COLORREF m_clrDarkShadow;
  CString m_strFontFace;
  CString m_strFontSize;
  int m_nFontStyle = -1;
};
