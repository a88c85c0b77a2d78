// CDialog: dialogs made from registered templates (platform/user/dialog_resources.h).
//
// Creating a dialog: the window (class "#32770") is created with the object
// attached, gets the template's font (WM_SETFONT), then one window per
// template item in template order (so z-order and tab order follow the
// template) each with the same font, then WM_INITDIALOG (OnInitDialog);
// when that returns TRUE the first tab stop gets the focus. A template with
// WS_VISIBLE is shown at the end. Boxes in dialog units become pixels
// through the dialog font's base units (platform/gdi/text_metrics.h):
//   x = MulDiv(x, baseX, 4), y = MulDiv(y, baseY, 8)
// and the window is the client size plus the frame of its styles.
//
// Modeless: Create(id, parent) shows nothing by itself unless the template
// says WS_VISIBLE. OnOK (after UpdateData) and OnCancel call EndDialog, which
// hides the dialog; the window and its contents stay for the next showing.
//
// Modal: DoModal disables the owner (the parent's top-level window, or the
// active window), creates and shows the dialog, runs a nested loop until
// EndDialog, hides and destroys the dialog, re-enables and reactivates the
// owner and returns the code given to EndDialog. The nested loop asks the
// modal responder (platform::SetModalResponder) to act on the dialog once it
// is idle; on the manual clock, when the dialog still runs with nothing left
// to do, it ends with IDCANCEL. -1 when the template is missing or WM_QUIT
// arrived.
//
// Keyboard: PreTranslateMessage handles the dialog keys of messages meant for
// the dialog or its controls (IsDialogMessage): Tab and Shift+Tab move among
// tab stops, Enter clicks the focused push button or else the default button
// (DM_GETDEFID: a BS_DEFPUSHBUTTON of the template, else IDOK), Escape clicks
// IDCANCEL, arrows move within a group (checking an automatic radio button
// they reach), unless the focused control asks for these keys through
// WM_GETDLGCODE.
#pragma once

#include "platform/base/export.h"

#include <optional>

#include "platform/user/dialog_manager.h"
#include "platform/user/dialog_resources.h"
#include "platform/gdi/text_metrics.h"
#include "platform/window/cwnd.h"

class PLATFORM_API CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT idTemplate, CWnd* parent = nullptr) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

  using CWnd::Create;
  virtual BOOL Create(UINT idTemplate, CWnd* parent = nullptr);
  BOOL CreateIndirect(const platform::DialogTemplate& dialog, CWnd* parent = nullptr);
  // DoModal then runs this template (a copy is kept) instead of a registered one.
  BOOL InitModalIndirect(const platform::DialogTemplate& dialog, CWnd* parent = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT rect) const;

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;
  int m_nModalResult = -1;

 private:
  bool m_modal = false;
  bool m_ended = false;
  std::optional<platform::DialogTemplate> m_indirect;  // InitModalIndirect's template
};

