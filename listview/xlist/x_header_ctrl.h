// CXHeaderCtrl: the header of a CXListCtrl, painted off-screen (CXMemDC) and
// copied in one step, in system colours it reloads on WM_SYSCOLORCHANGE.
// A column whose item image is 1 (unchecked) or 2 (checked) shows a check
// box before its caption. With the static-edge flag, HDM_LAYOUT makes the
// header two border heights taller.
#pragma once

#include "platform/comctl/cheaderctrl.h"

class CXHeaderCtrl : public CHeaderCtrl {
 public:
  CXHeaderCtrl();

  void EnableDoubleBuffering(bool on) { m_nDblBuffer = on ? 1 : 0; }
  void SetStaticEdge(bool on) { m_bStaticBorder = on; }

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  void LoadColors();
  void DrawItems(CDC& dc);

  int m_nDblBuffer = 1;
  int m_nSpace = 6;  // between a check box and the caption
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  int m_nMarginLeft = 8;
  int m_nMarginRight = 8;
  bool m_bStaticBorder = false;
  COLORREF m_rgbButtonHighlight = 0;
  COLORREF m_rgbButtonShadow = 0;
  COLORREF m_rgbButtonFace = 0;
  COLORREF m_rgbButtonText = 0;
};
