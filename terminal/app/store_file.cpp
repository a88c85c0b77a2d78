#include "terminal/app/store_file.h"

#include <cctype>
#include <string_view>

namespace terminal {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const int lower = std::tolower(static_cast<unsigned char>(c));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> StoreFile(const std::string& database) {
  if (database.empty() || database == ":memory:") return std::nullopt;
  std::string_view uri(database);
  if (!uri.starts_with("file:")) return database;
  uri.remove_prefix(5);
  const size_t query = uri.find_first_of("?#");
  const std::string_view parameters = query == std::string_view::npos ? std::string_view() : uri.substr(query);
  uri = uri.substr(0, query);
  if (parameters.find("mode=memory") != std::string_view::npos) return std::nullopt;
  if (uri.starts_with("//")) {
    const size_t path = uri.find('/', 2);
    uri = path == std::string_view::npos ? std::string_view() : uri.substr(path);
  }
  std::string file = PercentDecoded(uri);
  if (file.empty() || file == ":memory:") return std::nullopt;
  return file;
}

}  // namespace terminal
