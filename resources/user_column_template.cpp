// Dialog 1008: a computed column's name and formula, or the computed column
// to delete. The name field and the combo box of computed columns share one
// place; the dialog shows one of them at a time.
//
//   Column Name: [name / computed column .......................]
//   Columns:          Formula:
//   [numeric    ]     [formula ...................................]
//   [ columns   ]     [ + ][ - ][ * ][ / ][ ( ][ ) ]
//   [           ]     [ ^2][ ^ ][  Column  ][  Clear   ]
//   [           ]                       [   Add    ][  Cancel  ]
#include "resources/module_resources.h"
#include "resources/resource.h"
#include "resources/template_styles.h"

namespace resources {

namespace {

// Operator buttons: one row of six, then the second row, in the order the
// eye reads them.
constexpr int kFieldsLeft = 94;
constexpr int kSmallButton = 24;
constexpr int kButtonStep = 29;
constexpr int kButtonHeight = 14;

}  // namespace

platform::DialogTemplate UserColumnTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_USER_COLUMNS;
  t.caption = "Custom Columns";  // replaced by the list's "<profile>: Add/Delete Custom Columns"
  t.cx = 270;
  t.cy = 148;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  auto button = [](int id, const char* text, int column, int row, int columns = 1) {
    const int width = kSmallButton + (columns - 1) * kButtonStep;
    return platform::DialogItemTemplate{id,    "BUTTON",      text, kFieldsLeft + column * kButtonStep, 56 + row * 19,
                                        width, kButtonHeight, kPush};
  };
  t.items = {
      {IDC_STATIC, "STATIC", "Column Name:", 7, 9, 54, 8, kLabel},
      {IDC_UC_NAME, "EDIT", "", 63, 7, 200, 12, kTab | WS_BORDER | ES_AUTOHSCROLL},
      {IDC_UC_COMPUTED, "COMBOBOX", "", 63, 7, 200, 80, kTab | WS_VSCROLL | CBS_DROPDOWNLIST},
      {IDC_STATIC, "STATIC", "Columns:", 7, 26, 80, 8, kLabel},
      {IDC_UC_COLUMNS, "LISTBOX", "", 7, 36, 80, 105,
       kTab | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS},
      {IDC_STATIC, "STATIC", "Formula:", kFieldsLeft, 26, 60, 8, kLabel},
      {IDC_UC_FORMULA, "EDIT", "", kFieldsLeft, 36, 169, 14, kTab | WS_BORDER | ES_AUTOHSCROLL},
      button(IDC_UC_PLUS, "+", 0, 0),
      button(IDC_UC_MINUS, "-", 1, 0),
      button(IDC_UC_TIMES, "*", 2, 0),
      button(IDC_UC_DIVIDE, "/", 3, 0),
      button(IDC_UC_OPEN, "(", 4, 0),
      button(IDC_UC_CLOSE, ")", 5, 0),
      button(IDC_UC_SQUARE, "^2", 0, 1),
      button(IDC_UC_POWER, "^", 1, 1),
      button(IDC_UC_COLUMN, "Column", 2, 1, 2),
      button(IDC_UC_CLEAR, "Clear", 4, 1, 2),
      {IDOK, "BUTTON", "Add", kFieldsLeft + 2 * kButtonStep, 127, kSmallButton + kButtonStep, kButtonHeight,
       kTab | BS_DEFPUSHBUTTON},
      {IDCANCEL, "BUTTON", "Cancel", kFieldsLeft + 4 * kButtonStep, 127, kSmallButton + kButtonStep, kButtonHeight,
       kPush},
  };
  return t;
}

}  // namespace resources
