// Test helper: one message's fields read back through the terminal's own
// parser and kept as text, so that a test can hold several replies at once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "terminal/server/message_codec.h"

namespace terminal::testing {

class ReplyFields {
 public:
  // Nothing when the bytes are not one message.
  static std::optional<ReplyFields> Read(std::span<const char> bytes) {
    MessageReader reader;
    if (!reader.Parse(bytes)) return std::nullopt;
    ReplyFields fields;
    fields.m_bytes.assign(bytes.begin(), bytes.end());
    return fields;
  }

  std::optional<std::string> First(int32_t tag) const {
    const auto values = All(tag);
    if (values.empty()) return std::nullopt;
    return values.front();
  }
  std::vector<std::string> All(int32_t tag) const {
    MessageReader reader;
    std::vector<std::string> values;
    if (!reader.Parse(m_bytes)) return values;
    for (const auto value : reader.All(tag)) values.emplace_back(value);
    return values;
  }

 private:
  std::vector<char> m_bytes;
};

}  // namespace terminal::testing
