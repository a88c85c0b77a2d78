// CCommonListCtrl: the header and list context menus.
#include "listview/common/common_list_ctrl.h"
#include "platform/window/cursor.h"

void CCommonListCtrl::BuildHeaderMenu(CMenu& menu) {
  if (m_bReposition) {
    menu.AppendMenu(MF_STRING, list_command::kRepositionColumns, "Reposition Columns");
    menu.AppendMenu(MF_STRING, list_command::kFitToData, "Fit to Data");
  } else {
    menu.AppendMenu(MF_STRING, list_command::kFitToData, "Fit To Data");
  }
  menu.AppendMenu(MF_STRING, list_command::kFitToHeader, "Fit to Header Size");
  menu.AppendMenu(MF_STRING, list_command::kFitToWindow, "Fit to Window");
}

void CCommonListCtrl::BuildListMenu(CMenu& menu) {
  menu.AppendMenu(MF_STRING | (m_bExcelExport ? MF_ENABLED : MF_GRAYED), list_command::kWriteToExcel,
                  "Write to Excel\tShift+E");
  menu.AppendMenu(MF_STRING | (m_bExcelImport ? MF_ENABLED : MF_GRAYED), list_command::kReadFromExcel,
                  "Read from Excel");
  menu.AppendMenu(MF_STRING, list_command::kGridLines, "Draw Grid Lines\tShift+G");
  if (m_bCustomize) menu.AppendMenu(MF_STRING, list_command::kCustomize, "Customize \t Ctrl+Shift+C");
  menu.AppendMenu(MF_STRING, list_command::kCopyToClipboard, "Copy to Clip Board\tCtrl+C");
}

void CCommonListCtrl::OnContextMenu(CWnd* /*wnd*/, CPoint point) {
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr || header->GetSafeHwnd() == nullptr) return;
  CRect headerRect;
  header->GetWindowRect(&headerRect);
  if (!headerRect.PtInRect(point)) return;
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  BuildHeaderMenu(menu);
  menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CCommonListCtrl::ShowListMenu() {
  POINT cursor{};
  GetCursorPos(&cursor);
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  BuildListMenu(menu);
  menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
}
