#include "platform/comctl/list_view.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace resources {

// The keyword section (the group "Depends on Column Text" and what it holds)
// sits between the colour row and the font frame, so that hiding it and
// moving everything below up by the group's height leaves no gap.
platform::DialogTemplate AppearanceTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_CUSTOMIZED_APPEARANCE;
  t.caption = "Customized Appearance";
  t.cx = 210;
  t.cy = 194;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
  constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
  constexpr DWORD kFrame = WS_VISIBLE | BS_GROUPBOX;
  constexpr DWORD kDropList = kTab | WS_VSCROLL | CBS_DROPDOWNLIST;
  constexpr DWORD kPush = kTab | BS_PUSHBUTTON;
  constexpr DWORD kOwnerDrawn = kTab | BS_OWNERDRAW;
  // Frames first, so the controls inside them lie above them in z-order.
  t.items = {
      {IDC_KEYWORD_GROUP, "BUTTON", "Depends on Column Text", 7, 26, 196, 112, kFrame},
      {IDC_APPEARANCE_FRAME, "BUTTON", "Customize Appearance", 7, 142, 196, 26, kFrame},
      {IDC_STATIC, "STATIC", "Property For", 7, 9, 46, 8, kLabel},
      {IDC_APPEARANCE_PROPERTY, "COMBOBOX", "", 55, 7, 70, 40, kDropList | WS_GROUP},
      {IDC_STATIC, "STATIC", "Colour", 132, 9, 24, 8, kLabel},
      {IDC_APPEARANCE_COLOR, "BUTTON", "", 158, 6, 45, 14, kOwnerDrawn},
      {IDC_KEYWORD_COLUMN, "COMBOBOX", "", 14, 39, 156, 80, kDropList},
      {IDC_KEYWORD_CHANGE_COLUMN, "BUTTON", "...", 175, 38, 20, 14, kPush},
      {IDC_KEYWORD_EDIT, "EDIT", "", 14, 57, 156, 14, kTab | WS_BORDER | ES_AUTOHSCROLL},
      {IDC_KEYWORD_ADD, "BUTTON", "+", 175, 57, 20, 14, kPush},
      {IDC_KEYWORD_LIST, "SysListView32", "", 14, 76, 181, 56, kTab | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS},
      {IDC_APPEARANCE_FONT_LABEL, "STATIC", "Font", 14, 153, 20, 8, kLabel},
      {IDC_APPEARANCE_FONT, "BUTTON", "", 38, 150, 158, 14, kOwnerDrawn},
      {IDC_APPEARANCE_APPLY, "BUTTON", " &Apply Settings", 88, 174, 60, 14, kPush},
      {IDCANCEL, "BUTTON", "&Cancel", 153, 174, 50, 14, kPush},
  };
  return t;
}

}  // namespace resources
