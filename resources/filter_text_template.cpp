// Dialog 1010: the filter text pop-up of a list's header, without a caption:
// the column's texts fill it; Escape reaches the hidden cancel button.
#include "resources/module_resources.h"
#include "resources/resource.h"
#include "resources/template_styles.h"

namespace resources {

platform::DialogTemplate FilterTextTemplate() {
  platform::DialogTemplate t;
  t.id = IDD_FILTER_TEXT;
  t.cx = 96;
  t.cy = 98;
  t.fontName = "MS Shell Dlg";
  t.fontPointSize = 8;
  t.style = WS_POPUP | WS_BORDER | DS_SETFONT;
  t.items = {
      {IDC_FT_TEXTS, "LISTBOX", "", 0, 0, 96, 98,
       kTab | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_NOINTEGRALHEIGHT},
      {IDCANCEL, "BUTTON", "cancel", 0, 0, 1, 1, BS_PUSHBUTTON},
  };
  return t;
}

}  // namespace resources
