#include "terminal/readout/sheet_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace terminal {
namespace {

namespace fs = std::filesystem;
using Kind = SheetCell::Kind;

class SheetReader : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("sheet_reader_test." + std::to_string(::getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // A workbook as libxlsxwriter writes one: bold captions, a text that
  // needs escaping, a number, an empty row, a cell after a gap, widths of
  // B:C. Strings are shared, or inline in the constant-memory mode.
  std::string Write(const std::string& name, bool inlineStrings) {
    const fs::path path = folder / name;
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "groups");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    worksheet_set_column(sheet, 1, 2, 17.5, nullptr);
    worksheet_set_column(sheet, 16383, 16383, 17.5, nullptr);  // XFD, the last column a sheet has
    worksheet_write_string(sheet, 0, 0, "Symbol", bold);
    worksheet_write_string(sheet, 0, 1, "Strike", bold);
    worksheet_write_string(sheet, 1, 0, "R&D <\"x\"> \xc3\xa9", nullptr);
    worksheet_write_number(sheet, 1, 1, 1250.5, nullptr);
    worksheet_write_string(sheet, 3, 2, "late", nullptr);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path.string();
  }

  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path folder;
};

TEST_F(SheetReader, ReadsBackWhatTheSpreadsheetWriterWrote) {
  for (const bool inlineStrings : {false, true}) {
    SCOPED_TRACE(inlineStrings ? "inline strings" : "shared strings");
    const Kind text = inlineStrings ? Kind::kInlineString : Kind::kSharedString;
    const std::string path = Write("book.xlsx", inlineStrings);
    std::string error;
    const auto sheet = ReadSheet(path, error);
    ASSERT_TRUE(sheet) << error;
    EXPECT_EQ(sheet->name, "groups");
    ASSERT_EQ(sheet->rows.size(), 4u);
    const std::vector<SheetCell> captions{{text, "Symbol", true, ""}, {text, "Strike", true, ""}};
    EXPECT_EQ(sheet->rows[0], captions);
    const std::vector<SheetCell> values{{text, "R&D <\"x\"> \xc3\xa9", false, ""},
                                        {Kind::kNumber, "1250.5", false, ""}};
    EXPECT_EQ(sheet->rows[1], values);
    EXPECT_TRUE(sheet->rows[2].empty());
    ASSERT_EQ(sheet->rows[3].size(), 3u);
    EXPECT_EQ(sheet->rows[3][0], SheetCell{});
    EXPECT_EQ(sheet->rows[3][2].text, "late");
    // Widths as stored: B, C and XFD alike and a little wider than asked
    // (the writer adds the cell padding), the rest left at the default.
    ASSERT_EQ(sheet->widths.size(), 16384u);
    EXPECT_EQ(sheet->widths[0], 0);
    EXPECT_EQ(sheet->widths[3], 0);
    EXPECT_EQ(sheet->widths[1], sheet->widths[2]);
    EXPECT_EQ(sheet->widths.back(), sheet->widths[1]);
    EXPECT_GT(sheet->widths[1], 17.5);
    EXPECT_LT(sheet->widths[1], 19);
    // From memory as from the file.
    const auto fromBytes = ReadSheetBytes(Bytes(path), error);
    ASSERT_TRUE(fromBytes) << error;
    EXPECT_EQ(*fromBytes, *sheet);
  }
}

// Indexes that name no shared text, cell format, font or number format
// read as nothing: an empty text, not bold, no format. (Written by hand: no writer makes such a file,
// nor puts the shared strings first in the archive.)
TEST_F(SheetReader, IndexesPastTheirTablesReadAsNothing) {
  const std::string parts[][2] = {
      {"xl/sharedStrings.xml", "<sst><si><t>one</t></si></sst>"},
      {"xl/workbook.xml", "<workbook><sheets><sheet name='s'/></sheets></workbook>"},
      {"xl/styles.xml", "<styleSheet><numFmts><numFmt numFmtId='164' formatCode='0.00'/></numFmts>"
                        "<fonts><font/><font><b/></font></fonts>"
                        "<cellXfs><xf fontId='1' numFmtId='164'/><xf fontId='2' numFmtId='165'/></cellXfs>"
                        "</styleSheet>"},
      {"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row><c t='s' s='0'><v>0</v></c>"
                                   // A style index that is no whole number names no style.
                                   "<c t='s' s='0x'><v>0</v></c>"
                                   "<c t='s' s='1'><v>1</v></c><c r='Z1' t='s' s='2'><v>0</v></c></row>"
                                   // The last row and column a sheet has, and one past each.
                                   "<row r='1048576'><c r='XFD1048576' t='s' s='1'><v>0</v></c>"
                                   "<c t='s'><v>0</v></c></row>"
                                   "<row r='1048577'><c t='s'><v>0</v></c></row></sheetData></worksheet>"}};
  const std::string path = (folder / "by_hand.xlsx").string();
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, text] : parts) {
    ASSERT_GE(zip_file_add(zip, name.c_str(), zip_source_buffer(zip, text.data(), text.size(), 0), 0), 0) << name;
  }
  ASSERT_EQ(zip_close(zip), 0);
  std::string error;
  const auto sheet = ReadSheet(path, error);
  ASSERT_TRUE(sheet) << error;
  const SheetCell one{Kind::kSharedString, "one", false, ""}, formatted{Kind::kSharedString, "one", true, "0.00"};
  std::vector<SheetCell> cells(26);  // the last one in Z, the 26th column
  cells[0] = formatted, cells[1] = one, cells[2] = {Kind::kSharedString, "", false, ""}, cells[25] = one;
  ASSERT_EQ(sheet->rows.size(), 1048576u);
  EXPECT_EQ(sheet->rows.front(), cells);
  ASSERT_EQ(sheet->rows.back().size(), 16384u);
  EXPECT_EQ(sheet->rows.back().back(), one);

  // A part that unpacks but is no XML is refused as such.
  zip = zip_open(path.c_str(), 0, nullptr);
  const std::string cut = "<worksheet><sheetData><row r='1'>";
  ASSERT_GE(zip_file_add(zip, "xl/worksheets/sheet1.xml", zip_source_buffer(zip, cut.data(), cut.size(), 0),
                         ZIP_FL_OVERWRITE), 0);
  ASSERT_EQ(zip_close(zip), 0);
  EXPECT_FALSE(ReadSheet(path, error));
  EXPECT_NE(error.find(" in the workbook is no well-formed XML"), std::string::npos) << error;
}

TEST_F(SheetReader, WhatIsNoWorkbookIsRefusedWithAReason) {
  std::ofstream(folder / "notes.xlsx") << "Symbol,Strike\nNIFTY,25800\n";
  std::ofstream(folder / "empty.xlsx");
  for (const std::string name : {"missing.xlsx", "notes.xlsx", "empty.xlsx", ""}) {
    SCOPED_TRACE(name);
    std::string error;
    EXPECT_FALSE(ReadSheet((folder / name).string(), error));
    EXPECT_NE(error.find((folder / name).string()), std::string::npos) << error;
  }
}

// Every cut of a workbook short of its end is refused, and so is every
// copy with one byte spoiled, unless the spoiled byte is one the reading
// never depends on: then the sheet reads exactly as before. A checksum or
// a consistency check stands behind each byte that matters.
TEST_F(SheetReader, CutOrSpoiledWorkbooksAreRefusedOrReadAsBefore) {
  const std::string whole = Bytes(Write("book.xlsx", false));
  std::string error;
  const auto original = ReadSheetBytes(whole, error);
  ASSERT_TRUE(original) << error;
  for (size_t length = 0; length < whole.size(); ++length) {
    error.clear();
    ASSERT_FALSE(ReadSheetBytes(std::string_view(whole).substr(0, length), error)) << "cut at " << length;
    ASSERT_FALSE(error.empty());
  }
  size_t refused = 0;
  for (size_t at = 0; at < whole.size(); ++at) {
    std::string spoiled = whole;
    spoiled[at] = static_cast<char>(spoiled[at] ^ 0x5A);
    error.clear();
    const auto sheet = ReadSheetBytes(spoiled, error);
    refused += sheet ? 0 : 1;
    ASSERT_TRUE(sheet ? *sheet == *original : !error.empty())
        << "byte " << at << (sheet ? " changed the sheet unnoticed" : " refused with no reason");
  }
  // The four parts read make up over two fifths of the file (the rest:
  // the theme, the package's lists, the document's properties).
  EXPECT_GT(refused, whole.size() * 2 / 5);
}

}  // namespace
}  // namespace terminal
