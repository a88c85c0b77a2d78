// CHeaderCtrl: the framework's wrapper of a header window (platform/comctl/header_control.h).
// Every member sends the HDM_ message of the same name. A header inside a
// list view is reached with CListCtrl::GetHeaderCtrl or subclassed by its
// window (the list's LVM_GETHEADER).
#pragma once

#include "platform/comctl/header_control.h"
#include "platform/window/cwnd.h"

class CHeaderCtrl : public CWnd {
 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int GetItemCount() const;
  int InsertItem(int pos, HDITEM* item);
  BOOL DeleteItem(int pos);
  BOOL GetItem(int pos, HDITEM* item) const;
  BOOL SetItem(int pos, HDITEM* item);
  BOOL GetItemRect(int index, LPRECT rect) const;
  BOOL GetOrderArray(int* array, int count = -1) const;  // -1: the item count
  BOOL SetOrderArray(int count, int* array);
  int OrderToIndex(int order) const;
  int HitTest(LPHDHITTESTINFO info);
  BOOL Layout(HDLAYOUT* layout);
  HIMAGELIST SetImageList(HIMAGELIST images);
  HIMAGELIST GetImageList() const;

  // The filter bar.
  int SetFilterChangeTimeout(DWORD timeoutMs);
  BOOL EditFilter(int column, BOOL discardChanges);
  BOOL ClearFilter(int column);
  BOOL ClearAllFilters();
};
