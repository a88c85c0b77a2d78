// expect-sheet: an exported workbook holds what the list shows.
#include "terminal/script/script_verbs.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "platform/afx.h"
#include "platform/comctl/list_view.h"
#include "platform/kernel/module.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/sheet_reader.h"

namespace terminal {

namespace {

// The newest workbook in `folder` (last written; the last by name among equals).
std::optional<std::filesystem::path> NewestSheet(const std::filesystem::path& folder) {
  std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> sheets;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().extension() != ".xlsx" || entry.path().filename().string().front() == '.') continue;
    sheets.emplace_back(entry.last_write_time(ec), entry.path());
  }
  if (sheets.empty()) return std::nullopt;
  return std::max_element(sheets.begin(), sheets.end())->second;
}

// What a sheet cell shows, for comparing with a list cell: a number equals a
// list text that reads as the same number ("1250.50" and 1250.5).
bool SameCell(const SheetCell& cell, const std::string& shown) {
  if (cell.kind != SheetCell::Kind::kNumber) return cell.text == shown;
  char* end = nullptr;
  const double value = std::strtod(shown.c_str(), &end);
  return !shown.empty() && end == shown.c_str() + shown.size() && value == std::strtod(cell.text.c_str(), nullptr);
}

}  // namespace

namespace verbs {

bool ExpectSheet(ScriptSession&, ScriptLine& line) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::filesystem::path home(platform::PathFolder(self));
  std::filesystem::path path;
  if (line.words.size() > 3) {
    path = line.words[3];
    if (path.is_relative()) path = home / path;
  } else if (const auto newest = NewestSheet(home / "Export")) {
    path = *newest;
  } else {
    return line.Fail("no exported sheet in " + (home / "Export").string());
  }
  std::string error;
  const auto sheet = ReadSheet(path.string(), error);
  if (!sheet) return line.Fail(error);
  // What the sheet must hold: the captions, then each row as the list shows it.
  const auto columns = ListColumns(line.control);
  std::vector<std::vector<std::string>> wanted(1);
  for (const auto& column : columns) wanted[0].push_back(column.caption);
  for (LRESULT row = 0, n = SendMessage(line.control, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::vector<std::string> cells;
    for (const auto& column : columns) cells.push_back(ListCell(line.control, row, column.index));
    wanted.push_back(std::move(cells));
  }
  auto shown = [](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) text += (i > 0 ? "\t" : "") + cells[i];
    return text;
  };
  auto held = [](const std::vector<SheetCell>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) text += (i > 0 ? "\t" : "") + cells[i].text;
    return text;
  };
  for (size_t r = 0; r < std::max(wanted.size(), sheet->rows.size()); ++r) {
    const std::vector<SheetCell> none;
    const auto& got = r < sheet->rows.size() ? sheet->rows[r] : none;
    bool same = r < wanted.size() && r < sheet->rows.size() && got.size() <= wanted[r].size();
    for (size_t c = 0; same && c < wanted[r].size(); ++c) {
      same = SameCell(c < got.size() ? got[c] : SheetCell{}, wanted[r][c]);
    }
    if (!same) {
      return line.Fail(path.string() + " row " + std::to_string(r + 1) + " holds \"" +
                       (r < sheet->rows.size() ? held(got) : std::string("(nothing)")) + "\", the list shows \"" +
                       (r < wanted.size() ? shown(wanted[r]) : std::string("(nothing)")) + "\"");
    }
  }
  return true;
}

}  // namespace verbs

}  // namespace terminal
