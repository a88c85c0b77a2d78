// CColorListBox: a list box whose items are word-wrapped text, each in the
// colour its item data holds (black for every item in plain-text mode),
// with a tool-tip for items too wide for the box and Ctrl+C copying.
//
// Attach it to an owner-drawn list box with strings (LBS_OWNERDRAWVARIABLE
// for wrapped items of their own heights). Items are drawn in "Arial" 9.5
// points on the system window colour; selection is not shown by colour,
// only the focus rectangle. An item's height is its text word-wrapped to
// the item's width in that font.
//
// The tip: moving the mouse onto an item whose text, in the list box's own
// font, does not fit the item's width less 3 pixels shows the whole text at
// the item's top-left corner; a narrower item hides it. It goes when the
// pointer leaves the client area or the list box is hidden (checked every
// 80 ms by timer 1).
//
// Erasing the background (WM_ERASEBKGND): erase mode 0, an empty list or a
// list that is not owner-drawn erase as usual; mode 1 erases nothing; mode
// 2 (the default) fills only the part below the last item with the
// background colour.
#pragma once

#include "controls/tracking_tip.h"
#include "platform/gdi/cdc.h"
#include "platform/user/clistbox.h"

class CColorListBox : public CListBox {
 public:
  CColorListBox();

  void DrawItem(LPDRAWITEMSTRUCT dis) override;
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
  BOOL PreTranslateMessage(MSG* msg) override;

  void SetPlainText(BOOL plain) { m_bPlainText = plain; }
  void SetBackgroundColor(COLORREF color) { m_clrBackground = color; }
  void SetEraseMode(int mode) { m_nEraseMode = mode; }
  HWND GetToolTip() const { return m_tip.GetSafeHwnd(); }

  static constexpr UINT_PTR kTipTimer = 1;
  static constexpr UINT kTipTimerMs = 80;

 protected:
  void PreSubclassWindow() override;
  int OnCreate(LPCREATESTRUCT cs) override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnMouseLeave() override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

 private:
  void Attached();
  void LeaveItems();
  void FillBelowLastItem(HDC dc);
  void CopySelection();
  bool CursorInside() const;

  int m_nHover = -1;
  CFont m_itemFont;
  BOOL m_bPlainText = FALSE;
  COLORREF m_clrBackground;
  int m_nEraseMode = 2;
  CTrackingTip m_tip;
  CString m_strLastCopied;
};
