#include "platform/user/data_exchange.h"

#include <cstdio>

#include "platform/user/message_box.h"

namespace {

// Thrown by Fail() and caught by UpdateData only.
struct DataExchangeFailed {};

// The radio buttons of the group that starts at `first`, in z-order.
std::vector<HWND> RadioGroup(HWND first) {
  std::vector<HWND> group;
  for (HWND h = first; h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h != first && (::GetWindowLongPtr(h, GWL_STYLE) & WS_GROUP)) break;
    if (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) group.push_back(h);
  }
  return group;
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  if (control == nullptr) Fail();
  return control;
}

void CDataExchange::Fail() { throw DataExchangeFailed{}; }

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    CWnd::FromHandle(control)->GetWindowText(value);
  } else {
    ::SetWindowText(control, value);
  }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    BOOL ok = FALSE;
    const auto v = static_cast<int>(dx->m_pDlgWnd->GetDlgItemInt(id, &ok, TRUE));
    if (!ok) {
      ::AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
      ::SetFocus(control);
      dx->Fail();
    }
    value = v;
  } else {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    ::SetWindowText(control, buffer);
  }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  const std::vector<HWND> group = RadioGroup(dx->PrepareCtrl(id));
  if (dx->m_bSaveAndValidate) value = -1;
  for (size_t i = 0; i < group.size(); ++i) {
    if (dx->m_bSaveAndValidate) {
      if (::SendMessage(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) value = static_cast<int>(i);
    } else {
      ::SendMessage(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd != nullptr) return;
  HWND item = dx->PrepareCtrl(id);
  if (!control.SubclassWindow(item)) dx->Fail();
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailed&) {
    return FALSE;
  }
  return TRUE;
}
