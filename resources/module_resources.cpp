#include "resources/module_resources.h"

#include "resources/resource.h"
#include "resources/template_styles.h"

namespace resources {

namespace {

// List view styles of the common controls: report view, owner data, the
// selection kept visible without the focus.
constexpr DWORD kLvsReport = 0x0001;
constexpr DWORD kLvsShowSelAlways = 0x0008;
constexpr DWORD kLvsOwnerData = 0x1000;

}  // namespace

platform::DialogTemplate AllowedGroupsTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_ALWGRP;
  t.caption = "Allowed Groups";
  t.cx = 451;
  t.cy = 115;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT;
  // Frames first, so the controls inside them lie above them in z-order.
  t.items = {
      {IDC_STATIC, "BUTTON", "Category", 6, 4, 131, 56, kFrame},
      {IDC_FRAME_SIDE, "BUTTON", "Buy/Sell", 217, 6, 136, 26, kFrame},
      {IDC_STATIC, "BUTTON", "Product", 356, 4, 59, 28, kFrame},
      {IDC_STATIC, "BUTTON", "", 217, 36, 216, 26, kFrame},
      {IDC_FRAME_SCRIPS, "BUTTON", "Scrips to Add", 6, 64, 439, 46, kFrame},
      {IDC_STATIC, "BUTTON", "", 337, 70, 105, 36, kFrame},
      {IDC_CATEGORY, "COMBOBOX", "", 12, 15, 119, 30, kEditableSorted},
      {IDC_ALL_CATEGORIES, "BUTTON", "Apply for all categories", 12, 46, 89, 10, kCheck},
      {IDC_BOTH, "BUTTON", "Both", 223, 18, 40, 10, kTab | WS_GROUP | BS_AUTORADIOBUTTON},
      {IDC_BUY, "BUTTON", "Buy", 272, 18, 40, 10, kVisible | BS_AUTORADIOBUTTON},
      {IDC_SELL, "BUTTON", "Sell", 322, 18, 28, 10, kVisible | BS_AUTORADIOBUTTON},
      {IDC_PRODUCT, "COMBOBOX", "", 360, 14, 51, 30, kEditableSorted | WS_GROUP},
      {IDC_ADD_GROUP, "BUTTON", "Add Group", 223, 44, 64, 14, kPush},
      {IDC_DELETE_GROUP, "BUTTON", "Delete Group", 297, 44, 64, 14, kPush},
      {IDC_VIEW_GROUP, "BUTTON", "View Group", 367, 44, 62, 14, kPush},
      {IDC_LABEL_EXCHANGE, "STATIC", "Exhg-Seg", 11, 74, 48, 8, kLabel},
      {IDC_LABEL_INSTRUMENT, "STATIC", "Instr Name", 63, 74, 58, 8, kLabel},
      {IDC_LABEL_SYMBOL, "STATIC", "Symbol", 125, 74, 72, 8, kLabel},
      {IDC_LABEL_TYPE, "STATIC", "Type", 201, 74, 61, 8, kLabel},
      {IDC_LABEL_STRIKE, "STATIC", "Strike Price", 266, 74, 71, 8, kLabel},
      {IDC_ALL_EXPIRY, "BUTTON", "Expiry", 341, 74, 45, 10, kCheck},
      {IDC_EXCHANGE, "COMBOBOX", "", 11, 87, 48, 30, kListSorted},
      {IDC_INSTRUMENT, "COMBOBOX", "", 63, 87, 58, 30, kListSorted},
      {IDC_SYMBOL, "COMBOBOX", "", 125, 87, 72, 30, kListSorted},
      {IDC_OPTION_TYPE, "COMBOBOX", "", 201, 87, 61, 30, kListSorted},
      {IDC_STRIKE, "COMBOBOX", "", 266, 87, 71, 30, kList},
      {IDC_EXPIRY, "COMBOBOX", "", 339, 87, 99, 30, kList},
  };
  return t;
}

platform::DialogTemplate ViewAllowedGroupTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_VIEW_ALGGRP;
  t.caption = "View Allowed Group";
  t.cx = 386;
  t.cy = 207;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT;
  // Both boxes are recomputed from the client size when the dialog lays out.
  t.items = {
      {IDC_GROUP_LIST, "SysListView32", "", 3, 34, 372, 150,
       kTab | WS_BORDER | kLvsReport | kLvsShowSelAlways | kLvsOwnerData},
      {IDC_DELETE_LISTED, "BUTTON", "Delete Group", 166, 5, 53, 17, kPush},
  };
  return t;
}

void RegisterModuleResources(HINSTANCE module) {
  platform::RegisterDialogTemplate(module, AllowedGroupsTemplate());
  platform::RegisterDialogTemplate(module, ViewAllowedGroupTemplate());
  platform::RegisterDialogTemplate(module, FontDialogTemplate());
  platform::RegisterDialogTemplate(module, AppearanceTemplate());
  platform::RegisterDialogTemplate(module, UserColumnTemplate());
  platform::RegisterDialogTemplate(module, FilterTextTemplate());
  platform::RegisterIcon(module, IDI_PLUGIN);
}

}  // namespace resources
