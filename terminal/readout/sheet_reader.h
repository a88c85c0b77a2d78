// Reads back the first sheet of an .xlsx workbook, for scripts and tests
// that check what a list exported: each cell's text, whether it was stored
// as a number or as text (shared or inline), whether its style is bold and
// which number format it has; the sheet's name and its column widths. The
// zip container is read with libzip and its XML parts with libxml2's
// streaming reader, part by part as they unpack, so a large sheet is never
// held whole. Anything a file can hold gives a sheet or a reason, never a
// crash.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terminal {

struct SheetCell {
  enum class Kind { kEmpty, kNumber, kSharedString, kInlineString, kOther };
  Kind kind = Kind::kEmpty;
  std::string text;  // a number as written in the file ("1250.5")
  bool bold = false;
  // The number format's code where the workbook spells it out ("0.00");
  // empty for General and the built-in formats, known by id alone.
  std::string format;
  bool operator==(const SheetCell&) const = default;
};

struct Sheet {
  std::string name;
  // rows[r][c]: row r + 1 and column c of the sheet; rows end at their last
  // cell written, missing rows and cells are empty.
  std::vector<std::vector<SheetCell>> rows;
  // Column widths as the file gives them (in characters), by column.
  std::vector<double> widths;
  bool operator==(const Sheet&) const = default;
};

// The first sheet of the workbook at `path`; nothing, with the reason in
// `error`, when the file is no workbook this reader understands.
std::optional<Sheet> ReadSheet(const std::string& path, std::string& error);

// The same from a workbook's bytes in memory.
std::optional<Sheet> ReadSheetBytes(std::string_view workbook, std::string& error);

}  // namespace terminal
