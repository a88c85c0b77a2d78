// Stand-ins for the module's templates of the list framework's dialogs,
// registered under the test module of list_dialog.h: the controls the
// dialogs' code uses, with their ids, classes and styles, and no layout to
// speak of (the module's own templates live in resources/, which the
// framework's tests cannot see).
#pragma once

#include "listview/filter/filter_text.h"
#include "listview/testing/list_dialog.h"
#include "listview/user_columns/user_defined_col_dlg.h"

namespace listview::testing {

inline void RegisterUserColumnTemplate() {
  namespace ids = user_column_ids;
  constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
  platform::DialogTemplate t;
  t.id = ids::kDialog;
  t.cx = 270;
  t.cy = 150;
  t.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
  t.items = {
      {ids::kName, "EDIT", "", 58, 7, 205, 12, kTab | ES_AUTOHSCROLL},
      {ids::kComputed, "COMBOBOX", "", 58, 7, 205, 80, kTab | WS_VSCROLL | CBS_DROPDOWNLIST},
      {ids::kColumns, "LISTBOX", "", 7, 36, 80, 105,
       kTab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS},
      {ids::kFormula, "EDIT", "", 94, 36, 169, 14, kTab | ES_AUTOHSCROLL},
  };
  int x = 0;
  for (const int id : {ids::kPlus, ids::kMinus, ids::kTimes, ids::kDivide, ids::kOpen, ids::kClose, ids::kSquare,
                       ids::kPower, ids::kColumn, ids::kClear, IDOK, IDCANCEL}) {
    t.items.push_back({id, "BUTTON", "", 94 + (x % 6) * 29, 56 + (x / 6) * 19, 24, 14, kTab | BS_PUSHBUTTON});
    ++x;
  }
  platform::RegisterDialogTemplate(kTestModule, t);
}

inline void RegisterFilterTextTemplate() {
  namespace ids = filter_text_ids;
  platform::DialogTemplate t;
  t.id = ids::kDialog;
  t.cx = 96;
  t.cy = 98;
  t.style = WS_POPUP | WS_BORDER | DS_SETFONT;
  t.items = {
      {ids::kTexts, "LISTBOX", "", 0, 0, 96, 98,
       WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_NOINTEGRALHEIGHT},
      {IDCANCEL, "BUTTON", "cancel", 0, 0, 1, 1, BS_PUSHBUTTON},
  };
  platform::RegisterDialogTemplate(kTestModule, t);
}

}  // namespace listview::testing
