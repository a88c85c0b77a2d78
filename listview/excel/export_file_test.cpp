// Export files: a new name for every export, nothing left when one is not finished.
#include "listview/excel/export_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "listview/excel/excel_interface.h"

namespace {

namespace fs = std::filesystem;

class ExportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("export_file_test_" + std::to_string(::getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  fs::path m_dir;
};

TEST_F(ExportFileTest, ExportsInOneSecondGetNamesOfTheirOwn) {
  const std::time_t when = 1'700'000'000;
  const std::string base = listview::ExportFile::BaseName("a/b", when);
  EXPECT_EQ(listview::ExportFile::BaseName("a/b\\c d\x7f\x1f", when).substr(0, 10), "a_b_c d__-") << "a safe name";
  {
    const int in = ::dup(0);
    ::close(0);  // standard input closed: the temporary file is descriptor 0, as good as any
    listview::ExportFile unfinished((m_dir / "Export").string(), "list", 0);
    ::dup2(in, 0);
    ::close(in);
    ASSERT_TRUE(unfinished.Ok()) << unfinished.Error();
  }
  std::vector<std::string> published;
  for (int i = 0; i < 3; ++i) {
    listview::ExportFile file((m_dir / "Export").string(), "a/b", when);
    ASSERT_TRUE(file.Ok()) << file.Error();
    std::ofstream(file.Temporary()) << "sheet " << i;
    published.push_back(file.Publish());
  }
  const std::string folder = (m_dir / "Export").string() + "/";
  EXPECT_EQ(published,
            (std::vector<std::string>{folder + base + ".xlsx", folder + base + "-2.xlsx", folder + base + "-3.xlsx"}));
  std::string text;
  std::getline(std::ifstream(published[0]), text);
  EXPECT_EQ(text, "sheet 0") << "the first export was not overwritten";
  EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "Export"), {}), 3)
      << "no temporary file left, nor one of an unfinished export";
}

TEST(ExcelCells, NumbersAreWholeDecimalTextsInNumericColumns) {
  double value = 0;
  int decimals = -1;
  EXPECT_TRUE(CExcelInterface::ReadsAsNumber("1250.50", value, decimals));
  EXPECT_EQ(value, 1250.5);
  EXPECT_EQ(decimals, 2);
  for (const char* text : {"", "nse_fo", "12abc", " 12", "0x1A", "inf", "nan", "1e999", "-", "."}) {
    EXPECT_FALSE(CExcelInterface::ReadsAsNumber(text, value, decimals)) << text;
  }
  EXPECT_EQ(CExcelInterface::SheetName("a[b]:c*d?e/f\\g h\x1f"), "a_b__c_d_e_f_g h_");
  EXPECT_EQ(CExcelInterface::SheetName("'quoted'"), "_quoted_");
  EXPECT_EQ(CExcelInterface::SheetName(std::string(40, 'x')), std::string(31, 'x'));
  EXPECT_EQ(CExcelInterface::SheetName(""), "Sheet1");
}

}  // namespace
