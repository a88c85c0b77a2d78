// The combo box model ("COMBOBOX").
//
// A combo box is three windows, as on the platform:
//  - itself, whose client area is the selection field (with the drop-down
//    button at the right, SM_CXVSCROLL wide);
//  - for CBS_SIMPLE and CBS_DROPDOWN, an "Edit" child with id 1001 holding
//    the text (a subclass reaches it with GetDlgItem(combo, 1001));
//  - its list, a "ComboLBox" child with id 1000 (platform/user/list_box.h) that
//    holds the items, below the field: always shown for CBS_SIMPLE,
//    otherwise hidden and shown (on top, reaching past the combo box's own
//    rectangle) while dropped. GetComboBoxInfo gives its handle; it asks
//    the combo box for its colours
//    (WM_CTLCOLORLISTBOX) each time it is painted, and the combo box passes
//    every colour request on to its own parent.
// The CB_ messages are the list's LB_ messages in the combo box's name, with
// the same results (CB_ERR = LB_ERR, CB_ERRSPACE = LB_ERRSPACE). Creation
// keeps the height it was given as the dropped height (used only with
// CBS_NOINTEGRALHEIGHT) and shrinks the window to the field. The dropped
// list is as wide as the combo box's window (or CB_SETDROPPEDWIDTH's width)
// and shows up to CB_GETMINVISIBLE items (30 unless CB_SETMINVISIBLE), with
// its vertical scroll bar when there are more; a press on the bar scrolls
// and neither chooses nor closes.
//
// Notifications to the parent (WM_COMMAND), as the platform sends them:
//  - a user's choice in the list: a click on an item of the dropped list
//    gives CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE; an arrow key or a typed
//    prefix in a closed drop-down list gives CBN_SELENDOK, CBN_SELCHANGE,
//    and in a dropped one CBN_SELCHANGE (Enter then closes it with
//    CBN_SELENDOK, Escape with CBN_SELENDCANCEL, both then CBN_CLOSEUP).
//    The edit field shows the new item only after CBN_SELCHANGE has
//    returned: a handler reads the choice with CB_GETCURSEL/CB_GETLBTEXT.
//  - CB_SETCURSEL, CB_SELECTSTRING and the other messages notify nobody.
//  - typing into the edit field: CBN_EDITUPDATE, then CBN_EDITCHANGE (the
//    list's selection follows the text: the first item it prefixes while
//    dropped, none while closed); WM_SETTEXT and the combo box's own updates
//    of the field notify nothing.
//  - CBN_DROPDOWN before the list shows, CBN_CLOSEUP after it hides;
//    CBN_SETFOCUS when the focus enters the combo box (itself or its edit
//    field), CBN_KILLFOCUS when it leaves it (closing a dropped list first).
#pragma once

#include "platform/base/export.h"

#include <string>

#include "platform/window/control_model.h"
#include "platform/user/list_box.h"

constexpr int kComboEditId = 1001;
constexpr int kComboListId = 1000;

// CB_GETCOMBOBOXINFO / GetComboBoxInfo.
struct COMBOBOXINFO {
  DWORD cbSize = sizeof(COMBOBOXINFO);
  RECT rcItem;    // the selection field, client coordinates
  RECT rcButton;  // the drop-down button (empty for CBS_SIMPLE)
  DWORD stateButton = 0;
  HWND hwndCombo = nullptr;
  HWND hwndItem = nullptr;  // the edit field, or the combo box itself
  HWND hwndList = nullptr;
};
using PCOMBOBOXINFO = COMBOBOXINFO*;

PLATFORM_API BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info);

namespace platform {

class ComboBoxModel : public ControlModel {
 public:
  explicit ComboBoxModel(HWND hwnd);
  ~ComboBoxModel() override;
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The edit field's side (its procedure runs in front of the edit model).
  // A key the combo box takes for its list; true when it did.
  bool EditKey(UINT message, UINT key);
  void EditFocus(bool gained, HWND other);
  // DLGC_WANTMESSAGE for a key the dialog manager must leave to the combo box.
  LRESULT WantsKey(const MSG* msg) const;

 private:
  DWORD Kind() const { return Style() & 0x3; }  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
  bool HasEdit() const { return Kind() != CBS_DROPDOWNLIST; }
  LRESULT List(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  int CurSel() const;
  std::string ItemText(int index) const;

  LRESULT OnCreate(const CREATESTRUCT* cs);
  void Layout();
  void SetFieldHeight(int textHeight);
  int ButtonWidth() const;

  // The edit field shows `index`'s text ("" for none), quietly.
  void ShowInEdit(int index);
  void SetEditQuietly(const char* text);
  std::string EditText() const;
  // The list follows the edit text: its first prefix match, selected when `select`.
  void ListFollowsEdit(bool select);

  void DropDown();
  void RollUp(bool ok);
  void OnListCommand(UINT code);
  void OnEditCommand(UINT code);
  bool OnKey(UINT message, UINT key);
  void OnButtonDown(POINT p);
  void FocusIn();
  void FocusOut(HWND other);
  bool Owns(HWND other) const;
  void PaintField(HDC dc);
  LRESULT GetText(WPARAM size, LPARAM buffer) const;
  LRESULT SetText(LPARAM text);
  void FillInfo(COMBOBOXINFO& info) const;

  HWND m_edit = nullptr;
  HWND m_list = nullptr;
  int m_fieldHeight = kListItemHeight + 8;  // set from the font at creation
  int m_droppedHeight = 0;
  int m_droppedWidth = 0;  // 0: the combo box's width
  int m_minVisible = 30;   // CB_SETMINVISIBLE
  bool m_dropped = false;
  bool m_focused = false;
  bool m_extendedUi = false;
  bool m_keyNav = false;       // a key passed to the list: its LBN_SELCHANGE is the user's keyboard choice
  // The selection the parent last heard of (CBN_SELCHANGE) or had when the
  // list dropped: the pointer moving over the dropped list selects the item
  // under it without telling; closing keeps that (and tells) or goes back.
  int m_notifiedSel = -1;
  bool m_hovered = false;      // the selection is one the pointer made in passing
  bool m_quietEdit = false;    // no CBN_EDIT* for this change of the edit field
  bool m_keepListSel = false;  // ... and the list's selection does not follow it
};

}  // namespace platform
