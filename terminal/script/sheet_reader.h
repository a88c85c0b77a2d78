// Reads back the first sheet of an .xlsx workbook, for scripts and tests
// that check what a list exported: a small zip reader (stored and deflated
// entries, through zlib) and just enough of the workbook's XML to give each
// cell's text, whether it was stored as a number or as text (shared or
// inline), and whether its style is bold.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace terminal {

struct SheetCell {
  enum class Kind { kEmpty, kNumber, kSharedString, kInlineString, kOther };
  Kind kind = Kind::kEmpty;
  std::string text;  // a number as written in the file ("1250.5")
  bool bold = false;
};

struct Sheet {
  std::string name;
  // rows[r][c]: row r + 1 and column c of the sheet; rows end at their last
  // cell written, missing rows and cells are empty.
  std::vector<std::vector<SheetCell>> rows;
  // Column widths as the file gives them (in characters), by column.
  std::vector<double> widths;
};

// The first sheet of the workbook at `path`; nothing, with the reason in
// `error`, when the file is no workbook this reader understands.
std::optional<Sheet> ReadSheet(const std::string& path, std::string& error);

// The entry `name` of the zip file `path`, inflated; nothing when the file
// is no zip or has no such entry.
std::optional<std::string> ReadZipEntry(const std::string& path, const std::string& name, std::string& error);

}  // namespace terminal
