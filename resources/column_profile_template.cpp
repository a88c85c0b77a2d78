// Template 9002, the lists' " Column Profile" dialog: the available columns
// on the left, the shown ones on the right, ">", "<" and "&Default" between
// them, the sort row under them and "&View", "&Save", "&Cancel" at the
// bottom right. The dialog lays the same places out again on every resize;
// the tab order follows the eye from left to right, then down.
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace resources {

namespace {

constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kPush = kTab | BS_PUSHBUTTON;
// Report view, one selection kept visible without the focus, bordered.
constexpr DWORD kDragList = kTab | WS_BORDER | 0x0001 /* LVS_REPORT */ | 0x0008 /* LVS_SHOWSELALWAYS */;

}  // namespace

platform::DialogTemplate ColumnProfileTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_COLUMN_PROFILE;
  t.caption = " Column Profile";
  t.cx = 270;
  t.cy = 190;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
  t.items = {
      {IDC_PROFILE_AVAILABLE, "SysListView32", "", 7, 7, 106, 134, kDragList},
      {IDC_PROFILE_SHOW, "BUTTON", ">", 117, 56, 36, 14, kPush},
      {IDC_PROFILE_HIDE, "BUTTON", "<", 117, 78, 36, 14, kPush},
      {IDC_PROFILE_DEFAULT, "BUTTON", "&Default", 117, 127, 36, 14, kPush},
      {IDC_PROFILE_SHOWN, "SysListView32", "", 157, 7, 106, 134, kDragList},
      {IDC_PROFILE_SORT_LABEL, "STATIC", "Default Sort For: ", 7, 151, 64, 8, WS_VISIBLE | SS_LEFT},
      {IDC_PROFILE_SORT_FIELD, "EDIT", "", 75, 149, 144, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
      {IDC_PROFILE_SORT, "BUTTON", "Sort", 223, 149, 40, 12, kPush},
      {IDC_PROFILE_VIEW, "BUTTON", "&View", 105, 169, 50, 14, kPush},
      {IDC_PROFILE_SAVE, "BUTTON", "&Save", 159, 169, 50, 14, kPush},
      {IDCANCEL, "BUTTON", "&Cancel", 213, 169, 50, 14, kPush},
      // Kept from the dialog's first design; never shown.
      {IDC_PROFILE_LISTBOX_A, "LISTBOX", "", 7, 7, 10, 10, LBS_NOTIFY},
      {IDC_PROFILE_LISTBOX_B, "LISTBOX", "", 157, 7, 10, 10, LBS_NOTIFY},
  };
  return t;
}

}  // namespace resources
