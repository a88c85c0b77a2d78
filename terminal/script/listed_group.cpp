#include "terminal/script/listed_group.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

namespace terminal {

namespace {

constexpr long kIstOffset = 19800;           // seconds east of UTC
constexpr long kFrom1980Ist = 315460800;     // where the server's derivative expiries count from
constexpr long kLongDateLimit = 2147483647;  // the list's dates are 32-bit

std::vector<std::string> SplitTabs(std::string_view text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = text.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.emplace_back(text.substr(start, tab - start));
  }
  fields.emplace_back(text.substr(start));
  return fields;
}

std::string OrAll(const std::string& field) { return field.empty() ? "ALL" : field; }

// A "-"? digits text of at most `digits` digits; the list shows any other
// text as the server sent it.
std::optional<long long> Whole(const std::string& text, size_t digits) {
  const size_t sign = text.starts_with('-') ? 1 : 0;
  if (text.size() == sign || text.size() - sign > digits ||
      text.find_first_not_of("0123456789", sign) != std::string::npos)
    return std::nullopt;
  return std::strtoll(text.c_str(), nullptr, 10);
}

std::string Strike(const std::string& field, const std::string& segment) {
  if (!field.empty() && !Whole(field, 15)) return field;
  const double units = std::strtod(field.c_str(), nullptr);
  char text[64];
  std::snprintf(text, sizeof text, "%0.2f", units / (segment == "cde_fo" ? 10000000.0 : 100.0));
  return text;
}

std::string Expiry(const std::string& field, const std::string& segment) {
  if (field.empty()) return "ALL";
  const std::optional<long long> sent = Whole(field, 10);
  // A date the list holds fits 32 bits; a count far below that lands before 1970 after the shift below.
  if (!sent || *sent > kLongDateLimit) return field;
  long long seconds = *sent;
  if (segment == "nse_fo" || segment == "cde_fo" || segment == "ncx_fo") seconds += kFrom1980Ist;
  else seconds -= kIstOffset;
  if (seconds < 1 || seconds > kLongDateLimit) return field;
  const std::time_t ist = static_cast<std::time_t>(seconds + kIstOffset);
  std::tm day{};
  if (::gmtime_r(&ist, &day) == nullptr) return field;
  char text[16];
  std::strftime(text, sizeof text, "%d/%m/%Y", &day);
  return text;
}

}  // namespace

std::optional<ListedGroupCells> ListedGroup(std::string_view stored, const BseInstrumentOf& instrumentOf) {
  const std::vector<std::string> f = SplitTabs(stored);
  if (f.size() != 9) return std::nullopt;
  const std::string& segment = f[1];
  std::string instrument = OrAll(f[2]);
  if (segment == "bse_cm") instrument = f[3].empty() || !instrumentOf ? "ALL" : instrumentOf(f[3]);
  return ListedGroupCells{
      f[0],        segment,    instrument, OrAll(f[3]), OrAll(f[4]), Strike(f[5], segment), Expiry(f[6], segment),
      OrAll(f[7]), OrAll(f[8])};
}

}  // namespace terminal
