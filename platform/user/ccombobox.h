// CComboBox: the framework's wrapper of a combo box window
// (platform/user/combo_box.h). Every operation is the CB_ message of the same
// name, with its results (CB_ERR, CB_ERRSPACE). An owner-drawn subclass
// overrides DrawItem, MeasureItem, CompareItem and DeleteItem, which its
// parent's reflected owner-draw messages call.
#pragma once

#include "platform/base/export.h"

#include "platform/user/combo_box.h"
#include "platform/base/cstring.h"
#include "platform/user/data_exchange.h"
#include "platform/user/string_items_wnd.h"
#include "platform/window/cwnd.h"

class PLATFORM_API CComboBox : public platform::StringItemsWnd<platform::ComboBoxItemMessages> {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Items (the rest are StringItemsWnd's).
  int GetLBText(int index, LPTSTR buffer) const { return ItemTextInto(index, buffer); }
  void GetLBText(int index, CString& text) const { text = ItemTextOf(index); }
  int GetLBTextLen(int index) const { return ItemTextLength(index); }

  // The drop-down.
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  BOOL GetComboBoxInfo(PCOMBOBOXINFO info) const;

  // The edit field: selection as MAKELONG(start, end).
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
  BOOL LimitText(int maxChars);
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }

  // Geometry.
  int GetTopIndex() const;
  int SetTopIndex(int index);
  int SetItemHeight(int index, UINT height);  // index -1: the selection field
  int GetItemHeight(int index) const;
  UINT GetHorizontalExtent() const;
  void SetHorizontalExtent(UINT extent);

  // Owner drawing, called through reflection.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
  virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
