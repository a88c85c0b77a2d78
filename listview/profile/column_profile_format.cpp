#include "listview/profile/column_profile_format.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace listview {
namespace {

// strtok over a string it does not modify: each call may name other
// delimiters; leading delimiters are skipped and one delimiter after the
// token is consumed.
class CTokenizer {
 public:
  explicit CTokenizer(std::string_view text) : m_text(text) {}
  std::optional<std::string> Next(std::string_view delimiters) {
    const size_t start = m_text.find_first_not_of(delimiters, m_position);
    if (start == std::string_view::npos) {
      m_position = m_text.size();
      return std::nullopt;
    }
    const size_t end = m_text.find_first_of(delimiters, start);
    if (end == std::string_view::npos) {
      m_position = m_text.size();
      return std::string(m_text.substr(start));
    }
    m_position = end + 1;
    return std::string(m_text.substr(start, end - start));
  }

 private:
  std::string_view m_text;
  size_t m_position = 0;
};

// A whole decimal number with an optional "-", within int.
bool WholeNumber(std::string_view text) {
  const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  const long long value = std::stoll(std::string(digits));
  return text.starts_with('-') ? value <= 2147483648LL : value <= 2147483647LL;
}

}  // namespace

CString FormatColumnProfile(std::span<const ColumnProfileEntry> entries, int builtInCount) {
  std::string text;
  for (const ColumnProfileEntry& entry : entries) {
    if (!text.empty()) text += ',';
    text += std::to_string(entry.nIndex);
    text += ',' + std::to_string(entry.nOrder);
    text += ',' + std::to_string(entry.nWidth);
    if (entry.nIndex >= builtInCount) {
      text += ',';
      text += entry.strName.GetString();
      text += '#';
      text += entry.strExpression.GetString();
      text += '#';
      text += entry.strDescription.GetString();
    }
  }
  return CString(text.c_str());
}

std::vector<ColumnProfileEntry> ParseColumnProfile(const CString& value, int builtInCount, bool& complete) {
  std::vector<ColumnProfileEntry> entries;
  CTokenizer tokens(value.GetString());
  for (;;) {
    ColumnProfileEntry entry;
    const auto index = tokens.Next(",");
    const auto order = index ? tokens.Next(",") : std::nullopt;
    const auto width = order ? tokens.Next(",") : std::nullopt;
    if (!width) {
      complete = !index;  // no next entry begun: the value ended after a whole one
      break;
    }
    entry.bNumbersValid = WholeNumber(*index) && WholeNumber(*order) && WholeNumber(*width);
    entry.nIndex = std::atoi(index->c_str());
    entry.nOrder = std::atoi(order->c_str());
    entry.nWidth = std::atoi(width->c_str());
    if (entry.nIndex >= builtInCount) {
      const auto name = tokens.Next("#");
      const auto expression = name ? tokens.Next("#") : std::nullopt;
      const auto description = expression ? tokens.Next(",") : std::nullopt;
      if (!description) {
        complete = false;
        break;
      }
      entry.strName = name->c_str();
      entry.strExpression = expression->c_str();
      entry.strDescription = description->c_str();
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace listview
