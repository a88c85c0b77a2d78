// Fuzz target: the settings file's list lines, as a hand-edited or damaged
// UserSetting.ini may hold them. Reading must never fail, and what is read
// must come back the same through writing and reading again: a column
// profile for built-in column counts 0 to 3, and an appearance line. The
// appearance read, keywords and all, is also saved as the appearance dialog
// saves it: through the settings file, where the writer must refuse every
// line the reader would not give back whole and write every other, which
// must then read back unchanged and undamaged. The same bytes also go
// through the filter row's matching as a cell and a filter (split at the
// first NUL).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "listview/filter/match_filter.h"
#include "listview/list_appearance.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/column_profile_format.h"
#include "listview/profile/settings_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A settings folder of this process's own, removed at its end.
struct SettingsFolder {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("settings_line_fuzz_" + std::to_string(::getpid()));
  SettingsFolder() {
    std::filesystem::create_directories(folder);
    listview::SetSettingsFolder(folder.string().c_str());
  }
  ~SettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

bool Same(const listview::ColumnProfileEntry& a, const listview::ColumnProfileEntry& b) {
  return a.nIndex == b.nIndex && a.nOrder == b.nOrder && a.nWidth == b.nWidth && a.strName == b.strName &&
         a.strExpression == b.strExpression && a.strDescription == b.strDescription;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // A line read from the settings file ends at its first NUL, so no value
  // the parsers see can hold one.
  if (bytes.find('\0') != std::string_view::npos) return 0;
  const CString text(bytes);

  for (int builtIn = 0; builtIn < 4; ++builtIn) {
    bool complete = false;
    const auto entries = listview::ParseColumnProfile(text, builtIn, complete);
    const CString written = listview::FormatColumnProfile(entries, builtIn);
    const auto again = listview::ParseColumnProfile(written, builtIn, complete);
    Require(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) Require(Same(entries[i], again[i]));
  }

  sListAppearance look;
  listview::ParseAppearanceLine(text, look);
  Require(!look.HasKeywords() || look.pKeywords->size() == look.pKeywordColors->size());
  const CString line = listview::FormatAppearanceLine(look);
  sListAppearance reread;
  listview::ParseAppearanceLine(line, reread);
  Require(listview::FormatAppearanceLine(reread) == line);

  // Whatever the reader gives holds nothing the line cannot carry: only its
  // length can keep it from being saved. Lines near the reader's limit (a
  // save is written to disk and synced, too slow for every input) also go
  // through the file: refused past the limit, whole up to it.
  const bool fits = listview::CheckAppearanceLine(look) == listview::AppearanceLineFit::kFits;
  Require(fits == (line.GetLength() <= listview::kAppearanceValueMaxLength));
  if (line.GetLength() >= listview::kAppearanceValueMaxLength - 100) {
    static SettingsFolder settings;
    Require(listview::WriteAppearanceLine("fuzz", 1, look) == fits);
    CString stored;
    bool cut = true;
    if (fits) {
      Require(listview::ReadAppearanceLine("fuzz", 1, stored, &cut) && !cut && stored == line);
      sListAppearance back;
      std::string damage;
      listview::ParseAppearanceLine(stored, back, &damage);
      Require(damage.empty() && listview::FormatAppearanceLine(back) == line);
    }
  }

  const size_t split = bytes.find('\0');
  if (split != std::string_view::npos) {
    const bool loose = listview::MatchFilter(bytes.substr(0, split), bytes.substr(split + 1), false);
    const bool exact = listview::MatchFilter(bytes.substr(0, split), bytes.substr(split + 1), true);
    Require(!bytes.substr(split + 1).empty() || (loose && exact));
  }
  return 0;
}
