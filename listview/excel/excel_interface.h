// The spreadsheet export of a list. The list constructs one with the number
// of rows (the header row included) and columns, sets the cell callback and
// its context (and, when it has them, the sheet's name and the columns'
// widths), calls WriteToExcel and destroys it.
//
// This build writes an Office Open XML workbook (.xlsx) with libxlsxwriter
// in its constant-memory mode, so a list of a million rows is written row by
// row without being held. The workbook has one sheet, named after the list
// (at most 31 characters, without the characters a sheet name may not
// hold); row 1 holds the captions in bold. A cell of a column whose sort
// kind is numeric (1, 2, 4, 5, 7, 9: the kind the callback gives for the
// header row) is written as a number when its whole text reads as one, with
// as many decimals shown as the text has; every other cell is written as
// text ("nse_fo" in a column that sorts as a number stays text). Column
// widths are the list's, in pixels. A cell holds at most kMaxCellText
// characters: a longer text is cut there (at a character's start) and the
// cell is counted in CutCells(), so that the list can say which were cut.
//
// Each export is a new file Export/<sheet name>-YYYYMMDD-HHMMSS.xlsx in the
// folder of the settings file (the terminal folder); see export_file.h for
// the naming and why a failure leaves no file.
#pragma once

#include <string>
#include <vector>

#include "platform/base/cstring.h"

class CExcelInterface {
 public:
  // The text of (row, column) and its type (a column's nSortType for the
  // header row, -1 for data); non-zero when the cell exists.
  using CellProvider = int (*)(void* context, int row, int column, CString& text, int& type);

  static constexpr char kFolder[] = "Export";
  // The most characters a spreadsheet cell holds.
  static constexpr int kMaxCellText = 32767;
  // CutCells() names at most this many cells; the count is whole.
  static constexpr int kCutCellsNamed = 20;
  // Sheet names: at most 31 characters, none of []:*?/\ .
  static constexpr int kSheetNameMax = 31;

  CExcelInterface(int rows, int columns) : m_nRows(rows), m_nColumns(columns) {}

  CellProvider m_pfnCellProvider = nullptr;
  void* m_pContext = nullptr;
  // Optional: the sheet's name ("Sheet1" when empty) and each column's
  // width in pixels (columns beyond it keep the default width).
  CString m_strSheetName;
  std::vector<int> m_arrColumnWidths;

  // Non-zero when the file was written.
  int WriteToExcel();
  // The path of the file the last successful WriteToExcel wrote.
  const std::string& FileWritten() const { return m_strFileWritten; }
  // The cells the last WriteToExcel cut to kMaxCellText: how many, and the
  // first kCutCellsNamed of them as the spreadsheet names them ("B2").
  int CutCellCount() const { return m_nCutCells; }
  const std::vector<std::string>& CutCells() const { return m_arrCutCells; }

  // A cell's name in the sheet: its column as letters (A..Z, AA..), its row
  // from 1; both given from 0.
  static std::string CellName(int row, int column);
  // The sheet name made of `name`: forbidden characters become "_", cut to
  // 31 characters; "Sheet1" for an empty name.
  static std::string SheetName(const std::string& name);
  // True when `text` is, as a whole, a decimal number (sign, digits, one
  // point, an exponent); `decimals` gets the digits after the point.
  static bool ReadsAsNumber(const std::string& text, double& value, int& decimals);
  // Sort kinds whose cells are numbers.
  static bool NumericKind(int sortType);

 private:
  int m_nRows;
  int m_nColumns;
  std::string m_strFileWritten;
  int m_nCutCells = 0;
  std::vector<std::string> m_arrCutCells;
};
