// CButton: the framework's wrapper of a button window. The "BUTTON" class
// model behind it (platform/user/button.cpp) keeps the check state and the
// pushed and focus states. A press (left button down, or Space down) captures
// the mouse and takes the focus; the release inside the button clicks it: an
// auto check box toggles, an auto radio button checks itself and unchecks the
// other auto radio buttons of its group (siblings up to the next WS_GROUP), an
// auto 3-state box steps unchecked -> checked -> indeterminate -> unchecked,
// and then the parent gets BN_CLICKED. A group box is transparent to the mouse
// and never clicks. Checking a radio button gives it WS_TABSTOP and unchecking
// takes it away. An owner-draw button asks its parent to draw it with
// WM_DRAWITEM: ODA_DRAWENTIRE when painted (on the paint DC), ODA_SELECT when
// pushed or released, ODA_FOCUS when it gains or loses the focus (on a DC of
// its client area). Other buttons paint with the colours their parent gives:
// WM_CTLCOLORBTN for push buttons, WM_CTLCOLORSTATIC for the rest.
#pragma once

#include "platform/base/export.h"

#include "platform/window/cwnd.h"

class PLATFORM_API CButton : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
  void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight)); }

  // Owner drawing of a BS_OWNERDRAW button, reflected from the parent's
  // WM_DRAWITEM. The default draws nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
