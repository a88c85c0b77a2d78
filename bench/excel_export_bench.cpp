// "Write to Excel" of a list of N rows (AG_BENCH_ROWS, default 1,000,000),
// nine columns as "View Allowed Group" shows groups, beside libxlsxwriter
// writing the same cells directly in constant-memory mode (numbers as
// numbers, texts inline), the machine's limit for this file (goal: within 2
// times). Both write into a temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "listview/excel/excel_interface.h"
#include "listview/profile/settings_file.h"

namespace {

constexpr int kColumns = 9;
// The sort kinds of the view's columns: 2 sorts as a number, 3 as text.
constexpr int kKinds[kColumns] = {3, 2, 2, 2, 2, 2, 3, 3, 3};
constexpr const char* kCaptions[kColumns] = {"Category",     "Exhg-Seg",    "Instr Name",   "Symbol",
                                             "Option Type",  "Strike Price", "Expiry Date", "Product Type",
                                             "Transaction Type"};

int Rows() {
  const char* rows = std::getenv("AG_BENCH_ROWS");
  return rows != nullptr && std::atoi(rows) > 0 ? std::atoi(rows) : 1'000'000;
}

struct Table {
  std::vector<std::array<std::string, kColumns>> cells;
  std::filesystem::path folder;

  Table() {
    static const char* kCategories[] = {"HNI", "RETAIL", "PROPRIETARY", "INSTITUTION"};
    const int rows = Rows();
    cells.resize(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
      auto& row = cells[static_cast<size_t>(i)];
      row = {kCategories[i % 4],
             "nse_fo",
             (i / 96) % 100 < 3 ? "OPTIDX" : "OPTSTK",
             "SYM" + std::to_string((i / 96) % 100),
             (i / 4) % 2 ? "PE" : "CE",
             std::to_string(50 * (i / 9600 + 1)) + "." + std::to_string(10 + i % 90),
             "29/12/2026",
             i % 3 == 0 ? "NRML" : "ALL",
             i % 5 == 0 ? "B" : "ALL"};
    }
    folder = std::filesystem::temp_directory_path() / ("excel_export_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    listview::SetSettingsFolder(folder.string().c_str());
  }
  ~Table() { std::filesystem::remove_all(folder); }
};

Table& Shared() {
  static Table table;
  return table;
}

int Cell(void* context, int row, int column, CString& text, int& type) {
  const auto* table = static_cast<const Table*>(context);
  if (row == 0) {
    text = kCaptions[column];
    type = kKinds[column];
    return 1;
  }
  type = -1;
  text = table->cells[static_cast<size_t>(row - 1)][static_cast<size_t>(column)].c_str();
  return 1;
}

void BM_ExportToExcel(benchmark::State& state) {
  Table& table = Shared();
  for (auto _ : state) {
    CExcelInterface excel(static_cast<int>(table.cells.size()) + 1, kColumns);
    excel.m_pfnCellProvider = &Cell;
    excel.m_pContext = &table;
    excel.m_strSheetName = "rmsallowedgroups";
    excel.m_arrColumnWidths.assign(kColumns, 80);
    if (!excel.WriteToExcel()) state.SkipWithError("export failed");
    state.PauseTiming();
    std::filesystem::remove(excel.FileWritten());
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(table.cells.size());
}
BENCHMARK(BM_ExportToExcel)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same cells straight into libxlsxwriter: numbers already read, texts
// inline, the header bold, the widths set.
void BM_ExportBaseline(benchmark::State& state) {
  Table& table = Shared();
  std::vector<std::array<double, kColumns>> numbers(table.cells.size());
  std::vector<std::array<bool, kColumns>> isNumber(table.cells.size());
  for (size_t r = 0; r < table.cells.size(); ++r) {
    for (int c = 0; c < kColumns; ++c) {
      double value = 0;
      int decimals = 0;
      isNumber[r][c] = kKinds[c] == 2 && CExcelInterface::ReadsAsNumber(table.cells[r][c], value, decimals);
      numbers[r][c] = value;
    }
  }
  const std::string path = (table.folder / "baseline.xlsx").string();
  const std::string tmpdir = table.folder.string();
  for (auto _ : state) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmpdir.c_str());
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "rmsallowedgroups");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* twoDecimals = workbook_add_format(book);
    format_set_num_format(twoDecimals, "0.00");
    for (lxw_col_t c = 0; c < kColumns; ++c) worksheet_set_column_pixels(sheet, c, c, 80, nullptr);
    for (lxw_col_t c = 0; c < kColumns; ++c) worksheet_write_string(sheet, 0, c, kCaptions[c], bold);
    for (size_t r = 0; r < table.cells.size(); ++r) {
      for (lxw_col_t c = 0; c < kColumns; ++c) {
        if (isNumber[r][c]) {
          worksheet_write_number(sheet, static_cast<lxw_row_t>(r + 1), c, numbers[r][c], twoDecimals);
        } else {
          worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), c, table.cells[r][c].c_str(), nullptr);
        }
      }
    }
    if (workbook_close(book) != LXW_NO_ERROR) state.SkipWithError("baseline failed");
  }
}
BENCHMARK(BM_ExportBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
