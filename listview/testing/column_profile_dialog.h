// A stand-in for the module's template 9002, for the list framework's tests
// (they may not see resources/): every control the dialog looks for, under
// its id and caption, registered with the list dialog's test module. The
// dialog places them itself, so the boxes here are only a start.
#pragma once

#include "listview/reposition/reposition_columns.h"
#include "listview/testing/list_dialog.h"
#include "platform/user/dialog_resources.h"

namespace listview::testing {

inline void RegisterColumnProfileDialog() {
  constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
  constexpr DWORD kList = kTab | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
  platform::DialogTemplate t;
  t.id = reposition_id::kDialog;
  t.caption = " Column Profile";
  t.cx = 270;
  t.cy = 190;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
  t.items = {
      {reposition_id::kAvailableList, WC_LISTVIEW, "", 7, 7, 106, 134, kList},
      {reposition_id::kShow, "BUTTON", ">", 117, 56, 36, 14, kTab},
      {reposition_id::kHide, "BUTTON", "<", 117, 78, 36, 14, kTab},
      {reposition_id::kDefault, "BUTTON", "&Default", 117, 127, 36, 14, kTab},
      {reposition_id::kShownList, WC_LISTVIEW, "", 157, 7, 106, 134, kList},
      {reposition_id::kSortLabel, "STATIC", "Default Sort For: ", 7, 151, 64, 8, WS_VISIBLE},
      {reposition_id::kSortField, "EDIT", "", 75, 149, 144, 12, kTab | WS_BORDER},
      {reposition_id::kSort, "BUTTON", "Sort", 223, 149, 40, 12, kTab},
      {reposition_id::kView, "BUTTON", "&View", 105, 169, 50, 14, kTab},
      {reposition_id::kSave, "BUTTON", "&Save", 159, 169, 50, 14, kTab},
      {IDCANCEL, "BUTTON", "&Cancel", 213, 169, 50, 14, kTab},
      {reposition_id::kHiddenListBoxA, "LISTBOX", "", 7, 7, 10, 10, 0},
      {reposition_id::kHiddenListBoxB, "LISTBOX", "", 157, 7, 10, 10, 0},
  };
  platform::RegisterDialogTemplate(kTestModule, t);
}

}  // namespace listview::testing
