#include "platform/comctl/cheaderctrl.h"

#include "platform/window/wrapper_params.h"

using platform::wrapper_params::L;
using platform::wrapper_params::W;

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_HEADER, nullptr, style, rect, parent, id);
}

int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
int CHeaderCtrl::InsertItem(int pos, HDITEM* item) {
  return static_cast<int>(SendMessage(HDM_INSERTITEM, W(pos), L(item)));
}
BOOL CHeaderCtrl::DeleteItem(int pos) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, W(pos))); }
BOOL CHeaderCtrl::GetItem(int pos, HDITEM* item) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEM, W(pos), L(item)));
}
BOOL CHeaderCtrl::SetItem(int pos, HDITEM* item) {
  return static_cast<BOOL>(SendMessage(HDM_SETITEM, W(pos), L(item)));
}
BOOL CHeaderCtrl::GetItemRect(int index, LPRECT rect) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, W(index), L(rect)));
}
BOOL CHeaderCtrl::GetOrderArray(int* array, int count) const {
  if (count < 0) count = GetItemCount();
  return static_cast<BOOL>(SendMessage(HDM_GETORDERARRAY, W(count), L(array)));
}
BOOL CHeaderCtrl::SetOrderArray(int count, int* array) {
  return static_cast<BOOL>(SendMessage(HDM_SETORDERARRAY, W(count), L(array)));
}
int CHeaderCtrl::OrderToIndex(int order) const { return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, W(order))); }
int CHeaderCtrl::HitTest(LPHDHITTESTINFO info) { return static_cast<int>(SendMessage(HDM_HITTEST, 0, L(info))); }
BOOL CHeaderCtrl::Layout(HDLAYOUT* layout) { return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, L(layout))); }
HIMAGELIST CHeaderCtrl::SetImageList(HIMAGELIST images) {
  return reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, L(images)));
}
HIMAGELIST CHeaderCtrl::GetImageList() const { return reinterpret_cast<HIMAGELIST>(SendMessage(HDM_GETIMAGELIST)); }
int CHeaderCtrl::SetFilterChangeTimeout(DWORD timeoutMs) {
  return static_cast<int>(SendMessage(HDM_SETFILTERCHANGETIMEOUT, 0, static_cast<LPARAM>(timeoutMs)));
}
BOOL CHeaderCtrl::EditFilter(int column, BOOL discardChanges) {
  return static_cast<BOOL>(SendMessage(HDM_EDITFILTER, W(column), discardChanges));
}
BOOL CHeaderCtrl::ClearFilter(int column) { return static_cast<BOOL>(SendMessage(HDM_CLEARFILTER, W(column))); }
BOOL CHeaderCtrl::ClearAllFilters() { return ClearFilter(-1); }
