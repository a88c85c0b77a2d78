// CCommonListCtrl: the spreadsheet export.
#include <string>

#include "listview/common/common_list_ctrl.h"
#include "listview/excel/excel_interface.h"
#include "listview/tabbed_log.h"
#include "platform/user/message_box.h"

int CCommonListCtrl::ExcelCellProvider(void* context, int row, int column, CString& text, int& type) {
  const auto* list = static_cast<const CCommonListCtrl*>(context);
  if (row == 0) {
    text = list->HeaderItemText(column).Left(255);
    // A caption no record carries leaves the type as the writer set it.
    for (int i = 0; i < list->m_arrColumns.GetSize(); ++i) {
      if (text == list->m_arrColumns[i].szName) {
        type = list->m_arrColumns[i].nSortType;
        break;
      }
    }
    return 1;
  }
  type = -1;
  text = list->GetItemText(row - 1, column);
  return 1;
}

void CCommonListCtrl::ExportToExcel() {
  const int rows = GetItemCount();
  if (rows == 0) {
    AfxMessageBox("No Items in the List");
    return;
  }
  CHeaderCtrl* header = GetHeaderCtrl();
  CExcelInterface excel(rows + 1, header != nullptr ? header->GetItemCount() : 0);
  excel.m_pfnCellProvider = &CCommonListCtrl::ExcelCellProvider;
  excel.m_pContext = this;
  // The sheet is named after the list's profile and shows its column widths.
  excel.m_strSheetName = m_strProfileName;
  for (int column = 0; header != nullptr && column < header->GetItemCount(); ++column) {
    excel.m_arrColumnWidths.push_back(GetColumnWidth(column));
  }
  const int written = excel.WriteToExcel();
  if (written && excel.CutCellCount() > 0) {
    // The workbook is whole but for those cells; which they are is told
    // where it stays to be read.
    std::string cells;
    for (const std::string& name : excel.CutCells()) cells += (cells.empty() ? "" : ", ") + name;
    if (excel.CutCellCount() > static_cast<int>(excel.CutCells().size())) {
      cells += " and " + std::to_string(excel.CutCellCount() - static_cast<int>(excel.CutCells().size())) + " more";
    }
    listview::AddToTabbedLog(("Write to Excel: " + excel.FileWritten() + ": " + std::to_string(excel.CutCellCount()) +
                              " cell(s) cut to the 32767 characters a spreadsheet cell holds: " + cells)
                                 .c_str());
  }
  AfxMessageBox(written ? "File is generated" : "File generation Failed");
}
