// The item operations a list box and a combo box share: each is one message
// of the control, LB_ or CB_, with the control's results (LB_ERR/CB_ERR,
// LB_ERRSPACE/CB_ERRSPACE). CListBox and CComboBox derive from this with
// their own message numbers (ListBoxItemMessages, ComboBoxItemMessages).
#pragma once

#include "platform/base/cstring.h"
#include "platform/base/export.h"
#include "platform/window/cwnd.h"
#include "platform/window/messages.h"

namespace platform {

// The text of item `index` of a list or combo box through its length and
// text messages (LB_GETTEXTLEN/LB_GETTEXT or CB_GETLBTEXTLEN/CB_GETLBTEXT);
// empty for an index that is not an item.
PLATFORM_API CString ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, int index);

struct ListBoxItemMessages {
  static constexpr UINT kGetCount = LB_GETCOUNT, kAddString = LB_ADDSTRING, kInsertString = LB_INSERTSTRING,
                        kDeleteString = LB_DELETESTRING, kResetContent = LB_RESETCONTENT, kGetText = LB_GETTEXT,
                        kGetTextLen = LB_GETTEXTLEN, kFindString = LB_FINDSTRING, kFindStringExact = LB_FINDSTRINGEXACT,
                        kGetItemData = LB_GETITEMDATA, kSetItemData = LB_SETITEMDATA, kGetCurSel = LB_GETCURSEL,
                        kSetCurSel = LB_SETCURSEL, kSelectString = LB_SELECTSTRING;
};

struct ComboBoxItemMessages {
  static constexpr UINT kGetCount = CB_GETCOUNT, kAddString = CB_ADDSTRING, kInsertString = CB_INSERTSTRING,
                        kDeleteString = CB_DELETESTRING, kResetContent = CB_RESETCONTENT, kGetText = CB_GETLBTEXT,
                        kGetTextLen = CB_GETLBTEXTLEN, kFindString = CB_FINDSTRING,
                        kFindStringExact = CB_FINDSTRINGEXACT, kGetItemData = CB_GETITEMDATA,
                        kSetItemData = CB_SETITEMDATA, kGetCurSel = CB_GETCURSEL, kSetCurSel = CB_SETCURSEL,
                        kSelectString = CB_SELECTSTRING;
};

template <class Messages>
class PLATFORM_API StringItemsWnd : public CWnd {
 public:
  // Items.
  int GetCount() const { return Int(SendMessage(Messages::kGetCount)); }
  int AddString(LPCTSTR item) { return Int(SendMessage(Messages::kAddString, 0, Ptr(item))); }
  int InsertString(int index, LPCTSTR item) {
    return Int(SendMessage(Messages::kInsertString, IndexParam(index), Ptr(item)));
  }
  int DeleteString(UINT index) { return Int(SendMessage(Messages::kDeleteString, index)); }
  void ResetContent() { SendMessage(Messages::kResetContent); }
  int FindString(int startAfter, LPCTSTR prefix) const {
    return Int(SendMessage(Messages::kFindString, IndexParam(startAfter), Ptr(prefix)));
  }
  int FindStringExact(int startAfter, LPCTSTR text) const {
    return Int(SendMessage(Messages::kFindStringExact, IndexParam(startAfter), Ptr(text)));
  }
  DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(Messages::kGetItemData, IndexParam(index)));
  }
  int SetItemData(int index, DWORD_PTR data) {
    return Int(SendMessage(Messages::kSetItemData, IndexParam(index), static_cast<LPARAM>(data)));
  }
  void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
  int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }

  // Selection.
  int GetCurSel() const { return Int(SendMessage(Messages::kGetCurSel)); }
  int SetCurSel(int select) { return Int(SendMessage(Messages::kSetCurSel, IndexParam(select))); }
  int SelectString(int startAfter, LPCTSTR prefix) {
    return Int(SendMessage(Messages::kSelectString, IndexParam(startAfter), Ptr(prefix)));
  }

 protected:
  // An item's text, under the name each control gives it (GetText, GetLBText).
  int ItemTextInto(int index, LPTSTR buffer) const {
    return Int(SendMessage(Messages::kGetText, IndexParam(index), reinterpret_cast<LPARAM>(buffer)));
  }
  CString ItemTextOf(int index) const { return ItemText(m_hWnd, Messages::kGetTextLen, Messages::kGetText, index); }
  int ItemTextLength(int index) const { return Int(SendMessage(Messages::kGetTextLen, IndexParam(index))); }

 private:
  static int Int(LRESULT r) { return static_cast<int>(r); }
  // An int as WPARAM, sign-extended so that -1 ("none", "from the start")
  // reads back as -1 when the control casts it to int.
  static WPARAM IndexParam(int v) { return static_cast<WPARAM>(static_cast<INT_PTR>(v)); }
  static LPARAM Ptr(LPCTSTR text) { return reinterpret_cast<LPARAM>(text); }
};

}  // namespace platform
