// CAutoComboBox: a combo box that completes typed text to the first matching
// entry, restores a default text when emptied and shows its whole text in a
// tool-tip when it is wider than the field. Attach it to a dialog's combo box
// (DDX_Control, SubclassDlgItem) or create it.
//
// Keys (PreTranslateMessage, for the combo box and its edit field):
//  - Delete asks the callback (mode 1, key -1) for an entry to select and
//    posts that selection unless it answered -1; then posts CBN_SELCHANGE to
//    the parent and lets the edit field delete as usual.
//  - Backspace with the whole text selected restores the default text (below)
//    and is swallowed; otherwise it deletes as usual.
//  - A digit, when digits go to the callback, is asked (mode 0, the key):
//    -3 lets the edit field take it; otherwise it is swallowed, and unless the
//    answer was -1 CBN_SELCHANGE is posted.
// Typing (the reflected CBN_EDITUPDATE) restarts the edit timer and, for a
// typed key, completes: the callback is asked (mode 0, key -1; -2 means use
// the built-in search), else the first entry the text prefixes, without
// regard to case. With a match its selection is posted and the completed rest
// of the entry is selected in the field (or the caret put back where it was
// when it was inside the text); without one the last typed character is taken
// back, so that the text always prefixes some entry. CBN_SELCHANGE is posted
// to the parent, as WM_COMMAND from this combo box, whenever the match or the
// text changed (with a callback also when neither did), never for an empty
// text: the parent cannot tell it from a user's choice.
//
// The default text is restored (without a callback only) by selecting the
// first entry it prefixes, or by putting it into the field with no selection,
// then posting CBN_SELCHANGE with the caret at the end. Getting the focus
// with an empty field restores it too.
//
// The edit timer (12131, 950 ms) selects the field's text on its third tick
// after the last edit (after the default text's length when a completion ran
// with a default text) and stops; closing the parent stops it, opening it
// starts it (WM_SHOWWINDOW with SW_PARENTCLOSING / SW_PARENTOPENING).
//
// The tool-tip shows the whole text just above the field when it is wider
// than the field (the client area less the drop-down button) less 6 pixels:
// on a mouse move over the field, and, latched, on getting the focus and on a
// selection change. Unlatched, timer 1 (80 ms) hides it once the pointer has
// left the field; losing the focus unlatches and hides it. It shows in the
// highlight colours while the combo box has the focus, else in the window
// colours.
//
// The drop-down list is subclassed as a CColorListBox the first time it asks
// for its colours, and released when the combo box is destroyed.
#pragma once

#include "controls/color_list_box.h"
#include "controls/tracking_tip.h"
#include "platform/user/ccombobox.h"

// The owner's completion: parent window, control id, mode, key; returns an
// entry index, -1 for none, -2 for "use the built-in search", -3 for "not
// handled" (a digit goes to the field).
using AutoCompleteCallback = int (*)(HWND parent, int id, int mode, int key);

class CAutoComboBox : public CComboBox {
 public:
  CAutoComboBox();
  ~CAutoComboBox() override;

  void SetDefaultText(LPCTSTR text) { m_strDefaultText = text; }
  void SetCallback(AutoCompleteCallback callback) { m_pfnCallback = callback; }
  void SetDigitsToCallback(BOOL digits) { m_bDigitsToCallback = digits; }

  HWND GetToolTip() const { return m_tip.GetSafeHwnd(); }
  bool IsTipLatched() const { return m_bTipLatched != 0; }
  bool IsEditTimerRunning() const { return m_nEditTimer != 0; }

  BOOL PreTranslateMessage(MSG* msg) override;

  static constexpr UINT_PTR kEditTimer = 12131;
  static constexpr UINT kEditTimerMs = 950;
  static constexpr int kEditTimerTicks = 3;
  static constexpr UINT_PTR kTipTimer = 1;
  static constexpr UINT kTipTimerMs = 80;

 protected:
  void PreSubclassWindow() override;
  int OnCreate(LPCREATESTRUCT cs) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  Reflect OnReflectCommand(UINT code) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnTimer(UINT_PTR id) override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnDestroy() override;

 private:
  void Attached();
  bool OnKey(UINT key);  // true: swallowed
  void Complete();
  void RestoreDefaultText();
  void PostSelChange() const;
  void StartEditTimer();
  void StopEditTimer();
  CRect FieldArea() const;
  void UpdateTip(CPoint point);
  void HideTip();
  bool HasFocus() const;
  CString ShownText() const;

  int m_bKeyTyped = 0;
  int m_bUseCallback = 1;
  int m_bDigitsToCallback = 0;
  CString m_strDefaultText;
  UINT_PTR m_nEditTimer = 0;
  UINT m_nEditTimerInterval = kEditTimerMs;
  int m_nTicks = 0;
  int m_bHasDefault = 0;
  AutoCompleteCallback m_pfnCallback = nullptr;
  CColorListBox m_wndList;
  CTrackingTip m_tip;
  BYTE m_bTipLatched = 0;
};
