// The spreadsheet export of a list. The list constructs one with the number
// of rows (the header row included) and columns, sets the cell callback and
// its context, calls WriteToExcel and destroys it.
//
// This build writes the cells as text, one line per row with the cells
// separated by TAB and lines ended by CR LF, to "ListExport.xls" in the
// folder of the settings file, replacing what was there; spreadsheet
// programs open such a file as a sheet. A cell the callback refuses is
// written empty.
#pragma once

#include "platform/base/cstring.h"

class CExcelInterface {
 public:
  // The text of (row, column) and its type (a column's nSortType for the
  // header row, -1 for data); non-zero when the cell exists.
  using CellProvider = int (*)(void* context, int row, int column, CString& text, int& type);

  static constexpr char kFileName[] = "ListExport.xls";

  CExcelInterface(int rows, int columns) : m_nRows(rows), m_nColumns(columns) {}

  CellProvider m_pfnCellProvider = nullptr;
  void* m_pContext = nullptr;

  // Non-zero when the file was written.
  int WriteToExcel();

 private:
  int m_nRows;
  int m_nColumns;
};
