// Small helpers over the middleware for the terminal's own use: building a
// wide-form message from (tag, text) pairs and reading one back.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// The bytes of one wide-form message holding the fields in order. Empty
// values are sent as a null descriptor of length 0.
std::vector<char> BuildMessage(const std::vector<Field>& fields);

// One middleware handle and buffer pair, closed on every path out.
class MessageScratch {
 public:
  MessageScratch();
  ~MessageScratch();
  MessageScratch(const MessageScratch&) = delete;
  MessageScratch& operator=(const MessageScratch&) = delete;
  bool ok() const { return m_message != nullptr && m_buffer != nullptr; }
  mnm_hndl message() const { return m_message; }
  buf_hndl buffer() const { return m_buffer; }

 private:
  mnm_hndl m_message = nullptr;
  buf_hndl m_buffer = nullptr;
};

// The terminal's one message parser, for the server's requests and the
// replies alike: a message parsed in place into one handle that is kept from
// message to message, so that after the first few, parsing allocates
// nothing. Values read from it point into its buffer and stay valid until
// the next Parse.
class MessageReader {
 public:
  // False (and nothing to read) when the bytes are not one wide-form message.
  bool Parse(std::span<const char> bytes);
  bool Parsed() const { return m_parsed; }
  // First value of a tag, if present (an empty value reads as "").
  std::optional<std::string_view> First(int32_t tag) const;
  // Every value of a tag, in order; none when it is absent.
  std::vector<std::string_view> All(int32_t tag) const;
  // The parsed message, for a receiver that reads it through the middleware.
  mnm_hndl Handle() const { return m_scratch.message(); }

 private:
  MessageScratch m_scratch;
  bool m_parsed = false;
};

// Builds messages into one handle and buffer kept from message to message.
class MessageWriter {
 public:
  // Starts a new message, dropping the last one's bytes.
  bool Begin();
  // Appends one field; an empty value is sent as a null descriptor.
  bool Add(int32_t tag, std::string_view value);
  // The bytes of the message built so far; valid until the next Begin.
  std::span<const char> Bytes() const;

 private:
  MessageScratch m_scratch;
};

// "4242000000..." : the bytes in upper-case hexadecimal.
std::string Hex(std::span<const char> bytes);

}  // namespace terminal
