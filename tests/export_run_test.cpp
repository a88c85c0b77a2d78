// "Write to Excel" (Shift+E) from "View Allowed Group", read back as a zip:
// the sheet's name, bold captions, numbers in the columns that sort as
// numbers (when a cell reads as one), text elsewhere; and an export that
// cannot be written (an Export folder the terminal may not write in, a disk
// that fills up) says so and leaves no file.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "terminal/script/sheet_reader.h"
#include "tests/group_store.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Kind = terminal::SheetCell::Kind;

constexpr const char* kExport = R"(hotkey Alt+A
click "Allowed Groups" "View Group"
key "View Allowed Group" 20016 Shift+E
)";

class ExportRun : public SharedFolderRun {
 protected:
  void SetUp() override {
    SharedFolderRun::SetUp();
    ASSERT_EQ(Run("tables", "").status, 0);
  }
  void Store(const std::string& sql) { ASSERT_EQ(ExecuteOnStore((folder / "server.db").string(), sql), ""); }
  std::vector<fs::path> Exports() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder / "Export", ec)) files.push_back(entry.path());
    return files;
  }
};

TEST_F(ExportRun, TheSheetHoldsNumbersWhereTheColumnSortsAsNumbersAndTextElsewhere) {
  // Oldest first: the list shows the newest on top.
  Store(
      "INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product, side)"
      " VALUES ('HNI', 'nse_fo', 'OPTIDX', 'NIFTY', 'CE', '2600050', NULL, 'NRML', 'B'),"
      "        ('2024', 'bse_cm', NULL, '500325', 'A', NULL, NULL, NULL, 'S');");
  const RunResult run = Run("export", std::string(kExport) + "expect-box \"File is generated\"\n" +
                                          "expect-sheet \"View Allowed Group\" 20016\n");
  ASSERT_EQ(run.status, 0) << run.output;
  const auto files = Exports();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].filename().string().rfind("rmsallowedgroups-", 0), 0u) << files[0];

  std::string error;
  const auto sheet = terminal::ReadSheet(files[0].string(), error);
  ASSERT_TRUE(sheet) << error;
  EXPECT_EQ(sheet->name, "rmsallowedgroups");
  ASSERT_EQ(sheet->rows.size(), 3u);
  const std::vector<std::string> captions{"Category",    "Exhg-Seg",     "Instr Name",
                                          "Symbol",      "Option Type",  "Strike Price",
                                          "Expiry Date", "Product Type", "Transaction Type"};
  ASSERT_EQ(sheet->rows[0].size(), captions.size());
  for (size_t c = 0; c < captions.size(); ++c) {
    EXPECT_EQ(sheet->rows[0][c].text, captions[c]);
    EXPECT_TRUE(sheet->rows[0][c].bold) << captions[c];
    EXPECT_NE(sheet->rows[0][c].kind, Kind::kNumber);
  }
  // Text cells are shared or inline strings alike.
  auto text = [](const terminal::SheetCell& cell) {
    return cell.kind == Kind::kSharedString || cell.kind == Kind::kInlineString;
  };
  const auto& bse = sheet->rows[1];  // newest on top
  const auto& nfo = sheet->rows[2];
  EXPECT_TRUE(text(bse[0]) && bse[0].text == "2024") << "Category sorts as text: a number-like category stays text";
  EXPECT_TRUE(text(nfo[1]) && nfo[1].text == "nse_fo") << "Exhg-Seg sorts as a number, but nse_fo is none";
  EXPECT_EQ(bse[3].kind, Kind::kNumber) << "a symbol that reads as a number in a column that sorts as numbers";
  EXPECT_EQ(bse[3].text, "500325");
  EXPECT_TRUE(text(nfo[3]) && nfo[3].text == "NIFTY");
  EXPECT_EQ(nfo[5].kind, Kind::kNumber);
  EXPECT_EQ(std::stod(nfo[5].text), 26000.5);
  EXPECT_TRUE(text(nfo[6]) && nfo[6].text == "ALL") << "Expiry Date sorts as text";
  EXPECT_FALSE(nfo[5].bold);
  // The list's widths (80 pixels each) became the columns' widths.
  ASSERT_EQ(sheet->widths.size(), captions.size());
  for (double width : sheet->widths) EXPECT_NEAR(width, 10.7, 1.0);

  // A second export is a file of its own.
  ASSERT_EQ(Run("again", std::string(kExport) + "expect-box \"File is generated\"\n").status, 0);
  EXPECT_EQ(Exports().size(), 2u);
}

TEST_F(ExportRun, AnExportFolderThatCannotBeWrittenGivesTheFailureAndNoFile) {
  Store("INSERT INTO allowed_groups(category, segment) VALUES ('HNI', 'nse_fo');");
  // Export/ stands for a folder nobody may write in, root included.
  fs::create_directory_symlink("/proc/1", folder / "Export");
  const RunResult run = Run("refused", std::string(kExport) + "expect-box \"File generation Failed\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.find("xlsx") == std::string::npos && name.find("rmsallowedgroups") == std::string::npos) << name;
  }
}

TEST_F(ExportRun, ADiskThatFillsUpGivesTheFailureAndLeavesNoPartialFile) {
  Store(DistinctGroupsSql(3000));
  // Files of the terminal may grow to 64 KiB, which the sheet of 3000 rows
  // outgrows: each write past it fails as on a full disk.
  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  struct rlimit small = before;
  small.rlim_cur = 64 * 1024;
  const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const RunResult run = Run("full", std::string(kExport) + "expect-box \"File generation Failed\"\n");
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, oldSignal);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::is_directory(folder / "Export"));
  EXPECT_TRUE(Exports().empty()) << Exports()[0];
}

}  // namespace
}  // namespace e2e
