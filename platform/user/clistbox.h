// CListBox: the framework's wrapper of a list box window (platform/user/list_box.h).
// Every operation is the LB_ message of the same name, with its results
// (LB_ERR, LB_ERRSPACE). An owner-drawn subclass overrides DrawItem,
// MeasureItem, CompareItem and DeleteItem, which its parent's reflected
// WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM and WM_DELETEITEM call.
#pragma once

#include "platform/base/export.h"

#include "platform/base/cstring.h"
#include "platform/user/data_exchange.h"
#include "platform/base/geometry.h"
#include "platform/user/string_items_wnd.h"
#include "platform/window/cwnd.h"

class PLATFORM_API CListBox : public platform::StringItemsWnd<platform::ListBoxItemMessages> {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Items (the rest are StringItemsWnd's).
  int GetText(int index, LPTSTR buffer) const { return ItemTextInto(index, buffer); }
  void GetText(int index, CString& text) const { text = ItemTextOf(index); }

  // Selection of a multiple-selection list box.
  int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);
  int GetSelCount() const;
  int GetSelItems(int maxItems, int* indexes) const;

  // Geometry.
  int GetTopIndex() const;
  int SetTopIndex(int index);
  int GetItemRect(int index, LPRECT rect) const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  int GetHorizontalExtent() const;
  void SetHorizontalExtent(int extent);
  // The nearest item to a client point; `outside` is set when the point is
  // not on that item (outside the client area or below the last item).
  UINT ItemFromPoint(CPoint point, BOOL& outside) const;

  // Owner drawing, called through reflection.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
  virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

namespace platform {
// The owner-draw part of OnChildNotify shared by CListBox and CComboBox:
// calls the matching virtual and returns TRUE for the four owner-draw messages.
// `result` is the parent's reply, which reflection always passes.
template <class Control>
BOOL OwnerDrawChildNotify(Control& control, UINT message, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_DRAWITEM: control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); break;
    case WM_MEASUREITEM: control.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); break;
    case WM_COMPAREITEM: {
      const int order = control.CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      *result = order;
      return TRUE;
    }
    case WM_DELETEITEM: control.DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); break;
    default: return FALSE;
  }
  *result = TRUE;
  return TRUE;
}
}  // namespace platform
