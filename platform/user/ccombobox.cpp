#include "platform/user/ccombobox.h"

#include "platform/user/clistbox.h"
#include "platform/window/wrapper_params.h"

using platform::wrapper_params::W;

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
}

void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, W(show)); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
BOOL CComboBox::GetComboBoxInfo(PCOMBOBOXINFO info) const { return ::GetComboBoxInfo(m_hWnd, info); }

DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))));
}
BOOL CComboBox::LimitText(int maxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, W(maxChars))); }

int CComboBox::GetTopIndex() const { return static_cast<int>(SendMessage(CB_GETTOPINDEX)); }
int CComboBox::SetTopIndex(int index) { return static_cast<int>(SendMessage(CB_SETTOPINDEX, W(index))); }
int CComboBox::SetItemHeight(int index, UINT height) {
  return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, W(index), MAKELPARAM(static_cast<WORD>(height), 0)));
}
int CComboBox::GetItemHeight(int index) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, W(index))); }
UINT CComboBox::GetHorizontalExtent() const { return static_cast<UINT>(SendMessage(CB_GETHORIZONTALEXTENT)); }
void CComboBox::SetHorizontalExtent(UINT extent) { SendMessage(CB_SETHORIZONTALEXTENT, extent); }

// The framework leaves these to owner-drawn subclasses.
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (platform::OwnerDrawChildNotify(*this, message, lParam, result)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}

