// CHotFontCombo: an owner-drawn, sorted drop-down list of the installed font
// families (EnumFontFamiliesEx), each entry of the list drawn in an 11-point
// font of its own face (the selection field at the control's own size), with
// a flat frame that turns sunken ("hot") while the pointer is over the
// control or it has the focus.
//
// Hot frame: a pointer move over an unfocused control draws the hot frame
// and starts timer 1 (10 ms); the first tick that finds the pointer outside
// the window rectangle stops the timer and, unless focused, draws the flat
// frame. Focus (WM_SETFOCUS or a CBN_SETFOCUS the control itself reports)
// draws the hot frame, losing it the flat one; every paint ends with the
// frame of the focus state. The frame is concentric one-pixel rings inside
// the client rectangle, from the outside in:
//   [static-edge or modal-frame style only] ring A,
//   ring A: button shadow top/left, button highlight bottom/right,
//   ring B: 3-D dark shadow top/left, 3-D light bottom/right;
// a control that is not hot (and is enabled) draws every ring in the button
// face colour. The five colours are reloaded on WM_SYSCOLORCHANGE and the
// list refilled on WM_FONTCHANGE.
#pragma once

#include "platform/base/cstring.h"
#include "platform/user/ccombobox.h"

class CHotFontCombo : public CComboBox {
 public:
  static constexpr UINT_PTR kHoverTimer = 1;
  static constexpr UINT kHoverTimerMs = 10;
  static constexpr int kItemPointTenths = 110;  // items are drawn 11 points high

  CHotFontCombo();

  // Empties the list, adds every installed family and selects the current
  // face name when the list holds it exactly.
  void FillFontList();
  const CString& GetCurrentFace() const { return m_strFaceName; }
  void SetCurrentFace(const CString& face) { m_strFaceName = face; }

  void DrawItem(LPDRAWITEMSTRUCT dis) override;
  // Every item of the list is as tall as a line of the 11-point fonts the
  // items are drawn in, so no name runs into the next; the selection field
  // shows the chosen face at the control's own font size (the dialog's), as
  // tall as a line of that font.
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
  int CompareItem(LPCOMPAREITEMSTRUCT cis) override;
  int MeasuredItemHeight();
  int FieldHeight();

 protected:
  // Draws the frame, hot or flat, on the control's own device context.
  virtual void DrawCombo(bool hot);

  // A combo made from a dialog template asked its parent for the item height
  // before this object was attached: the height is set again here.
  void PreSubclassWindow() override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  Reflect OnReflectCommand(UINT code) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnTimer(UINT_PTR id) override;
  void OnSetFocus(CWnd* oldWnd) override;
  void OnKillFocus(CWnd* newWnd) override;
  void OnPaint() override;

 private:
  void LoadColors();
  void Hover();

  CString m_strFaceName;
  COLORREF m_clrHilite = 0;
  COLORREF m_clr3dLight = 0;
  COLORREF m_clrDkShadow = 0;
  COLORREF m_clrShadow = 0;
  COLORREF m_clrFace = 0;
  bool m_bFocus = false;
  bool m_bTimerSet = false;
};
