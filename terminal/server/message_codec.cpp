#include "terminal/server/message_codec.h"

#include <cstring>

namespace terminal {

namespace {

// One middleware handle and buffer pair, closed on every path out.
class Scratch {
 public:
  Scratch() {
    int err = 0;
    mnm_open(&message_, &err);
    buf_open(&buffer_, 256, &err);
  }
  ~Scratch() {
    int err = 0;
    if (message_) mnm_close(&message_, &err);
    if (buffer_) buf_close(&buffer_, &err);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  bool ok() const { return message_ && buffer_; }
  mnm_hndl message() const { return message_; }
  buf_hndl buffer() const { return buffer_; }

 private:
  mnm_hndl message_ = nullptr;
  buf_hndl buffer_ = nullptr;
};

}  // namespace

std::optional<ParsedMessage> ParsedMessage::Parse(std::span<const char> bytes) {
  Scratch scratch;
  int err = 0;
  if (!scratch.ok() || bytes.size() > INT32_MAX ||
      !buf_reserve(scratch.buffer(), static_cast<int32_t>(bytes.size()), &err)) {
    return std::nullopt;
  }
  if (!bytes.empty()) std::memcpy(scratch.buffer()->data, bytes.data(), bytes.size());
  scratch.buffer()->used = static_cast<int32_t>(bytes.size());
  if (!mnm_parse(scratch.message(), nullptr, scratch.buffer(), &err)) return std::nullopt;

  ParsedMessage parsed;
  int32_t tag = 0, count = 0;
  for (int more = mnm_first_field(scratch.message(), &tag, &count, &err); more;
       more = mnm_next_field(scratch.message(), &tag, &count, &err)) {
    for (int32_t i = 0; i < count; ++i) {
      mml_data value{};
      int getErr = 0;
      // An empty value reads as "no value" (error 6): it is the empty text.
      const bool got = mnm_get_field(scratch.message(), tag, i, &value, &getErr);
      parsed.fields_.emplace_back(tag, got ? std::string(value.data, static_cast<size_t>(value.len)) : std::string());
    }
  }
  return parsed;
}

std::optional<std::string> ParsedMessage::First(int32_t tag) const {
  for (const auto& [t, value] : fields_) {
    if (t == tag) return value;
  }
  return std::nullopt;
}

std::vector<std::string> ParsedMessage::All(int32_t tag) const {
  std::vector<std::string> values;
  for (const auto& [t, value] : fields_) {
    if (t == tag) values.push_back(value);
  }
  return values;
}

std::vector<char> BuildMessage(const std::vector<Field>& fields) {
  Scratch scratch;
  int err = 0;
  if (!scratch.ok() || !mnm_init_msg(scratch.message(), scratch.buffer(), &err)) return {};
  for (const auto& [tag, text] : fields) {
    mml_data value{text.empty() ? nullptr : const_cast<char*>(text.data()), static_cast<int32_t>(text.size())};
    if (!mnm_add_field(scratch.message(), tag, 1, &value, &err)) return {};
  }
  return std::vector<char>(scratch.buffer()->data, scratch.buffer()->data + scratch.buffer()->used);
}

std::string Hex(std::span<const char> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

}  // namespace terminal
