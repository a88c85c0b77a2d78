#include "platform/user/clistbox.h"

#include <algorithm>
#include <string>

#include "platform/window/wrapper_params.h"

namespace platform {

CString ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, int index) {
  // An item that is not there (LB_ERR) reads as empty, as an empty one does.
  const LRESULT length = std::max<LRESULT>(0, ::SendMessage(hwnd, lengthMessage, static_cast<WPARAM>(index), 0));
  // The text message writes the whole item and its terminator.
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      ::SendMessage(hwnd, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return CString(text.c_str(), static_cast<int>(std::clamp<LRESULT>(copied, 0, length)));
}

}  // namespace platform

using platform::wrapper_params::W;

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("LISTBOX", nullptr, style, rect, parent, id);
}

int CListBox::GetSel(int index) const { return static_cast<int>(SendMessage(LB_GETSEL, W(index))); }
int CListBox::SetSel(int index, BOOL select) { return static_cast<int>(SendMessage(LB_SETSEL, W(select), index)); }
int CListBox::GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
int CListBox::GetSelItems(int maxItems, int* indexes) const {
  return static_cast<int>(SendMessage(LB_GETSELITEMS, W(maxItems), reinterpret_cast<LPARAM>(indexes)));
}

int CListBox::GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, W(index))); }
int CListBox::GetItemRect(int index, LPRECT rect) const {
  return static_cast<int>(SendMessage(LB_GETITEMRECT, W(index), reinterpret_cast<LPARAM>(rect)));
}
int CListBox::SetItemHeight(int index, UINT height) {
  return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, W(index), MAKELPARAM(static_cast<WORD>(height), 0)));
}
int CListBox::GetItemHeight(int index) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, W(index))); }
int CListBox::GetHorizontalExtent() const { return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT)); }
void CListBox::SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, W(extent)); }
UINT CListBox::ItemFromPoint(CPoint point, BOOL& outside) const {
  const auto result = static_cast<uintptr_t>(
      SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y))));
  outside = HIWORD(result) != 0 ? TRUE : FALSE;
  return LOWORD(result);
}

// The framework leaves these to owner-drawn subclasses.
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (platform::OwnerDrawChildNotify(*this, message, lParam, result)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}

