#include "resources/module_resources.h"
#include "resources/resource.h"

namespace resources {

platform::DialogTemplate FontDialogTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_FONT_SETTING;
  t.caption = "Font Dialog";
  t.cx = 211;
  t.cy = 47;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
  constexpr DWORD kDropList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  t.items = {
      {IDC_STATIC, "BUTTON", "", 7, 0, 204, 24, WS_VISIBLE | BS_GROUPBOX},
      {IDC_STATIC, "STATIC", "Font:", 8, 9, 16, 8, kLabel},
      {IDC_FONT_FACE, "COMBOBOX", "", 31, 7, 110, 57, kDropList | CBS_OWNERDRAWFIXED | CBS_SORT | CBS_HASSTRINGS},
      {IDC_STATIC, "STATIC", "Size:", 151, 9, 18, 8, kLabel},
      {IDC_FONT_SIZE, "COMBOBOX", "", 169, 7, 34, 55, kDropList},
      {IDOK, "BUTTON", "&OK", 112, 27, 44, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
      {IDCANCEL, "BUTTON", "&Cancel", 161, 27, 44, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
  };
  return t;
}

}  // namespace resources
