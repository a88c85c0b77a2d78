// Dialog data exchange: CWnd::UpdateData runs the class's DoDataExchange
// with a CDataExchange, whose direction says whether values go from the
// controls into the members (save and validate) or back.
//
// A DDX_ function that cannot convert a control's text shows the
// framework's message box, puts the focus on the control and calls Fail(),
// which ends the exchange: UpdateData then returns FALSE and the members
// exchanged before the failing one keep their new values.
#pragma once

#include "platform/base/cstring.h"
#include "platform/window/cwnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;

  // The control with this id; a missing control is a programming error and
  // fails the exchange.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
  [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// value: index of the checked button of the group that starts at `id`, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Attaches `control` to the dialog's control `id` the first time.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
