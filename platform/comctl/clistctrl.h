// CListCtrl: the framework's wrapper of a list view window
// (platform/comctl/list_view.h). Members send the LVM_ message of the same name and
// return its result; the few that do more say so.
//
// The system's list classes override GetItemText / GetItemData / DrawItem,
// so those are virtual here; DrawItem is called for a reflected WM_DRAWITEM
// and MeasureItem for a reflected WM_MEASUREITEM (LVS_OWNERDRAWFIXED).
#pragma once

#include "platform/base/export.h"

#include <memory>

#include "platform/comctl/cheaderctrl.h"
#include "platform/comctl/image_list.h"
#include "platform/base/cstring.h"
#include "platform/base/geometry.h"
#include "platform/comctl/list_view.h"
#include "platform/window/cwnd.h"

class PLATFORM_API CListCtrl : public CWnd {
 public:
  using CWnd::Create;
  using CWnd::CreateEx;
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  virtual BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // ---- Attributes ----
  COLORREF GetBkColor() const;
  BOOL SetBkColor(COLORREF color);
  COLORREF GetTextColor() const;
  BOOL SetTextColor(COLORREF color);
  BOOL SetTextBkColor(COLORREF color);
  HIMAGELIST GetImageList(int which) const;
  HIMAGELIST SetImageList(HIMAGELIST images, int which);
  DWORD GetExtendedStyle() const;
  DWORD SetExtendedStyle(DWORD style);  // replaces every extended style; returns the old ones
  CHeaderCtrl* GetHeaderCtrl() const;

  // ---- Items ----
  int GetItemCount() const;
  BOOL SetItemCount(int count);  // owner data: the count; others reserve room
  BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL);
  int InsertItem(const LVITEM* item);
  int InsertItem(int index, LPCTSTR text);
  int InsertItem(int index, LPCTSTR text, int image);
  int InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM lParam);
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  BOOL GetItem(LVITEM* item) const;
  BOOL SetItem(const LVITEM* item);
  BOOL SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state, UINT stateMask, LPARAM lParam);
  virtual int GetItemText(int index, int subItem, LPTSTR buffer, int length) const;
  virtual CString GetItemText(int index, int subItem) const;
  BOOL SetItemText(int index, int subItem, LPCTSTR text);
  virtual DWORD_PTR GetItemData(int index) const;
  BOOL SetItemData(int index, DWORD_PTR data);
  UINT GetItemState(int index, UINT mask) const;
  BOOL SetItemState(int index, UINT state, UINT mask);
  BOOL SetItemState(int index, LVITEM* item);
  BOOL GetCheck(int index) const;
  BOOL SetCheck(int index, BOOL check = TRUE);
  UINT GetSelectedCount() const;
  int GetNextItem(int start, int flags) const;
  int GetSelectionMark() const;
  int SetSelectionMark(int index);
  int FindItem(LVFINDINFO* info, int start = -1) const;
  BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);
  // Iterating the selection, as the framework offers it: the position is
  // the next selected index + 1, null (0) at the end.
  using POSITION = void*;
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& position) const;

  // ---- Columns ----
  int InsertColumn(int index, const LVCOLUMN* column);
  int InsertColumn(int index, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  BOOL DeleteColumn(int index);
  BOOL GetColumn(int index, LVCOLUMN* column) const;
  BOOL SetColumn(int index, const LVCOLUMN* column);
  int GetColumnWidth(int index) const;
  BOOL SetColumnWidth(int index, int width);
  BOOL GetColumnOrderArray(int* order, int count = -1) const;  // -1: the column count
  BOOL SetColumnOrderArray(int count, int* order);

  // ---- Geometry and scrolling ----
  BOOL GetItemRect(int index, LPRECT rect, UINT part) const;
  BOOL GetSubItemRect(int index, int subItem, int part, CRect& rect) const;
  int HitTest(LVHITTESTINFO* info) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  int SubItemHitTest(LVHITTESTINFO* info);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  BOOL EnsureVisible(int index, BOOL partialOk);
  BOOL Scroll(CSize size);
  BOOL RedrawItems(int first, int last);
  BOOL Update(int index);
  int GetStringWidth(LPCTSTR text) const;

  // ---- Dragging ----
  // The picture of item `index` for a drag (LVM_CREATEDRAGIMAGE), owned by
  // the caller; `upperLeft` gets its top-left corner in client coordinates.
  // Null for an invalid item.
  std::unique_ptr<CImageList> CreateDragImage(int index, LPPOINT upperLeft);

  // ---- Owner drawing (reflected from the parent) ----
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  // Stands for the header when no CHeaderCtrl object is attached to it; it
  // is never attached itself, so it neither receives messages nor destroys
  // the header.
  mutable CHeaderCtrl m_header;
};
