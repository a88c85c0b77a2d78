// Arbitrary bytes as an exported workbook: the reader gives a sheet or a
// reason, never a crash, and a sheet keeps to the grid (at most 1048576
// rows of at most 16384 columns); anything else aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "terminal/readout/sheet_reader.h"

namespace {

[[noreturn]] void Mismatch(const char* what) {
  std::fprintf(stderr, "sheet_reader_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto sheet = terminal::ReadSheetBytes({reinterpret_cast<const char*>(data), size}, error);
  if (!sheet) {
    if (error.empty()) Mismatch("refused without a reason");
    return 0;
  }
  if (sheet->rows.size() > 1048576 || sheet->widths.size() > 16384) Mismatch("a sheet beyond the grid");
  for (const auto& row : sheet->rows) {
    if (row.size() > 16384) Mismatch("a row beyond the grid");
  }
  return 0;
}
