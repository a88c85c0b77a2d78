#include "listview/excel/excel_interface.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string_view>

#include "listview/excel/export_file.h"
#include "listview/profile/settings_file.h"
#include "platform/kernel/module.h"

namespace {

// Excel's limit of rows in a sheet.
constexpr int kMaxRows = 1048576;

// How much of `text` (ended by its NUL at `length`) a cell keeps: all of
// it, or at most `limit` bytes ending before a character's first byte, so
// no character is split. The NUL is no character's inner byte: a text that
// fits is kept whole.
size_t KeptLength(const char* text, size_t length, size_t limit) {
  size_t kept = std::min(length, limit);
  while (kept > 0 && (static_cast<unsigned char>(text[kept]) & 0xC0) == 0x80) --kept;
  return kept;
}

// The workbook, closed (and its memory freed) on every path out.
class Workbook {
 public:
  Workbook(const std::string& path, const std::string& tmpdir) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmpdir.c_str());
    m_book = workbook_new_opt(path.c_str(), &options);
  }
  ~Workbook() {
    if (m_book != nullptr) workbook_close(m_book);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;
  lxw_workbook* get() const { return m_book; }
  // Writes the file; false when that failed.
  bool Close() {
    const lxw_error error = workbook_close(m_book);
    m_book = nullptr;
    return error == LXW_NO_ERROR;
  }

 private:
  lxw_workbook* m_book = nullptr;
};

// True when the file ends with a zip's end-of-central-directory record (the
// library writes no comment after it), which only a complete write leaves.
// A file that cannot be opened fails the seek and the read.
bool EndsAsZip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char tail[22] = {};
  in.seekg(-22, std::ios::end);
  in.read(tail, sizeof tail);
  return in && std::string_view(tail, 4) == std::string_view("PK\x05\x06", 4);
}

}  // namespace

bool CExcelInterface::NumericKind(int sortType) {
  switch (sortType) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
    case 9: return true;
    default: return false;
  }
}

std::string CExcelInterface::SheetName(const std::string& name) {
  std::string sheet;
  for (const char c : name) {
    const bool forbidden = std::string_view("[]:*?/\\").find(c) != std::string_view::npos;
    sheet += forbidden || static_cast<unsigned char>(c) < 0x20 ? '_' : c;
  }
  // A sheet name may neither begin nor end with an apostrophe.
  if (!sheet.empty() && sheet.front() == '\'') sheet.front() = '_';
  if (sheet.size() > static_cast<size_t>(kSheetNameMax)) sheet.resize(kSheetNameMax);
  if (!sheet.empty() && sheet.back() == '\'') sheet.back() = '_';
  return sheet.empty() ? "Sheet1" : sheet;
}

bool CExcelInterface::ReadsAsNumber(const std::string& text, double& value, int& decimals) {
  // Only what a person reads as a decimal number: no spaces, no hexadecimal,
  // no "inf" or "nan", which strtod alone would take.
  if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
  if (std::none_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return false;
  }
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) return false;
  const size_t point = text.find('.');
  const size_t exponent = text.find_first_of("eE");
  decimals = point == std::string::npos
                 ? 0
                 : static_cast<int>((exponent == std::string::npos ? text.size() : exponent) - point - 1);
  return true;
}

std::string CExcelInterface::CellName(int row, int column) {
  std::string letters;
  for (int n = column + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters + std::to_string(row + 1);
}

int CExcelInterface::WriteToExcel() {
  m_strFileWritten.clear();
  m_nCutCells = 0;
  m_arrCutCells.clear();
  if (m_pfnCellProvider == nullptr || m_nRows < 0 || m_nColumns < 0 || m_nRows > kMaxRows) return 0;
  const std::string folder = platform::NativePath((listview::SettingsFolder() + "\\" + kFolder).GetString());
  const std::string sheetName = SheetName(m_strSheetName.GetString());
  listview::ExportFile file(folder, sheetName, std::time(nullptr));
  if (!file.Ok()) return 0;

  Workbook book(file.Temporary(), folder);
  if (book.get() == nullptr) return 0;
  lxw_worksheet* sheet = workbook_add_worksheet(book.get(), sheetName.c_str());
  if (sheet == nullptr) return 0;
  lxw_format* bold = workbook_add_format(book.get());
  format_set_bold(bold);
  // One number format per count of decimals shown: "0.00" keeps 1250.50 as
  // the list shows it.
  std::map<int, lxw_format*> decimalFormats;
  auto numberFormat = [&](int decimals) -> lxw_format* {
    if (decimals <= 0) return nullptr;
    auto [at, added] = decimalFormats.emplace(decimals, nullptr);
    if (added) {
      at->second = workbook_add_format(book.get());
      format_set_num_format(at->second, ("0." + std::string(static_cast<size_t>(std::min(decimals, 30)), '0')).c_str());
    }
    return at->second;
  };
  const int widths = std::min(m_nColumns, static_cast<int>(m_arrColumnWidths.size()));
  for (int column = 0; column < widths; ++column) {
    const auto c = static_cast<lxw_col_t>(column);
    if (worksheet_set_column_pixels(sheet, c, c, static_cast<uint32_t>(std::max(0, m_arrColumnWidths[column])),
                                    nullptr) != LXW_NO_ERROR) {
      return 0;
    }
  }

  // In constant-memory mode rows must be written in order, each whole
  // before the next; the header row tells each column's kind.
  std::vector<bool> numeric(static_cast<size_t>(m_nColumns));
  CString cell;
  std::string text;
  for (int row = 0; row < m_nRows; ++row) {
    for (int column = 0; column < m_nColumns; ++column) {
      int type = 0;
      if (!m_pfnCellProvider(m_pContext, row, column, cell, type)) cell.Empty();
      const size_t length = static_cast<size_t>(cell.GetLength());
      const size_t kept = KeptLength(cell.GetString(), length, static_cast<size_t>(kMaxCellText));
      if (kept < length) {
        if (m_nCutCells++ < kCutCellsNamed) m_arrCutCells.push_back(CellName(row, column));
      }
      text.assign(cell.GetString(), kept);
      const auto r = static_cast<lxw_row_t>(row);
      const auto c = static_cast<lxw_col_t>(column);
      lxw_error written = LXW_NO_ERROR;
      double value = 0;
      int decimals = 0;
      if (row == 0) {
        numeric[static_cast<size_t>(column)] = NumericKind(type);
        written = worksheet_write_string(sheet, r, c, text.c_str(), bold);
      } else if (numeric[static_cast<size_t>(column)] && ReadsAsNumber(text, value, decimals)) {
        written = worksheet_write_number(sheet, r, c, value, numberFormat(decimals));
      } else if (!text.empty()) {
        written = worksheet_write_string(sheet, r, c, text.c_str(), nullptr);
      }
      if (written != LXW_NO_ERROR) return 0;
    }
  }
  // The library does not look at its own writes: rows that did not reach
  // the disk (a full disk) leave the sheet short without an error. The
  // rows' temporary file says whether every write went through, and the
  // workbook must end in the zip's closing record.
  if (sheet->optimize_tmpfile != nullptr &&
      (std::fflush(sheet->optimize_tmpfile) != 0 || std::ferror(sheet->optimize_tmpfile) != 0)) {
    return 0;
  }
  if (!book.Close() || !EndsAsZip(file.Temporary())) return 0;
  m_strFileWritten = file.Publish();
  return m_strFileWritten.empty() ? 0 : 1;
}
