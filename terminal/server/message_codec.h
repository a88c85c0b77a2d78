// Small helpers over the middleware for the terminal's own use: building a
// wide-form message from (tag, text) pairs and reading one back.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "mml/mml.h"

namespace terminal {

using Field = std::pair<int32_t, std::string>;

// Reply tags: the request answered, its status (absent or "5": success) and
// the server's reason for a failure.
inline constexpr int32_t kTagReplyName = 32767;
inline constexpr int32_t kTagReplyStatus = 32766;
inline constexpr int32_t kTagReplyReason = 32765;
inline constexpr const char* kStatusOk = "5";

// A parsed message: its tags in order of first occurrence, each with its
// values in order (deleted fields left out).
class ParsedMessage {
 public:
  // Parses one wide-form message; nothing when the bytes are not one.
  static std::optional<ParsedMessage> Parse(std::span<const char> bytes);

  // First value of a tag, if present.
  std::optional<std::string> First(int32_t tag) const;
  std::vector<std::string> All(int32_t tag) const;
  const std::vector<Field>& Fields() const { return fields_; }

 private:
  std::vector<Field> fields_;
};

// The bytes of one wide-form message holding the fields in order. Empty
// values are sent as a null descriptor of length 0.
std::vector<char> BuildMessage(const std::vector<Field>& fields);

// "4242000000..." : the bytes in upper-case hexadecimal.
std::string Hex(std::span<const char> bytes);

}  // namespace terminal
