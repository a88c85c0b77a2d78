// CComboBox: the framework's wrapper of a combo box window
// (platform/user/combo_box.h). Every operation is the CB_ message of the same
// name, with its results (CB_ERR, CB_ERRSPACE). An owner-drawn subclass
// overrides DrawItem, MeasureItem, CompareItem and DeleteItem, which its
// parent's reflected owner-draw messages call.
#pragma once

#include "platform/user/combo_box.h"
#include "platform/base/cstring.h"
#include "platform/user/data_exchange.h"
#include "platform/window/cwnd.h"

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Items.
  int GetCount() const;
  int AddString(LPCTSTR item);
  int InsertString(int index, LPCTSTR item);
  int DeleteString(UINT index);
  void ResetContent();
  int GetLBText(int index, LPTSTR buffer) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, LPCTSTR prefix) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void* GetItemDataPtr(int index) const;
  int SetItemDataPtr(int index, void* data);

  // Selection.
  int GetCurSel() const;
  int SetCurSel(int select);
  int SelectString(int startAfter, LPCTSTR prefix);

  // The drop-down.
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  void GetDroppedControlRect(LPRECT rect) const;
  int SetDroppedWidth(UINT width);
  int GetDroppedWidth() const;
  int SetExtendedUI(BOOL extended = TRUE);
  BOOL GetExtendedUI() const;
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

// Dialog data exchange with a combo box: the selected index (-1 for none);
// the text (saving reads the field, loading selects the first item the
// text prefixes, or failing that puts the text in the field); the same with
// a whole, case-insensitive match.
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
