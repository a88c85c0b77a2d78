#include "terminal/server/message_codec.h"

#include <cstring>

namespace terminal {

MessageScratch::MessageScratch() {
  int err = 0;
  mnm_open(&m_message, &err);
  buf_open(&m_buffer, 256, &err);
}

MessageScratch::~MessageScratch() {
  int err = 0;
  if (m_message) mnm_close(&m_message, &err);
  if (m_buffer) buf_close(&m_buffer, &err);
}

std::vector<char> BuildMessage(const std::vector<Field>& fields) {
  MessageScratch scratch;
  int err = 0;
  if (!scratch.ok() || !mnm_init_msg(scratch.message(), scratch.buffer(), &err)) return {};
  for (const auto& [tag, text] : fields) {
    mml_data value{text.empty() ? nullptr : const_cast<char*>(text.data()), static_cast<int32_t>(text.size())};
    if (!mnm_add_field(scratch.message(), tag, 1, &value, &err)) return {};
  }
  return std::vector<char>(scratch.buffer()->data, scratch.buffer()->data + scratch.buffer()->used);
}

bool MessageReader::Parse(std::span<const char> bytes) {
  m_parsed = false;
  int err = 0;
  if (!m_scratch.ok() || bytes.size() > INT32_MAX) return false;
  buf_hndl buffer = m_scratch.buffer();
  buffer->used = 0;
  if (!buf_reserve(buffer, static_cast<int32_t>(bytes.size()), &err)) return false;
  if (!bytes.empty()) std::memcpy(buffer->data, bytes.data(), bytes.size());
  buffer->used = static_cast<int32_t>(bytes.size());
  m_parsed = mnm_parse(m_scratch.message(), nullptr, buffer, &err) != 0;
  return m_parsed;
}

std::optional<std::string_view> MessageReader::First(int32_t tag) const {
  if (!m_parsed) return std::nullopt;
  int err = 0;
  int32_t count = 0;
  // A tag the message holds has at least one value.
  if (!mnm_get_field_count(m_scratch.message(), tag, &count, &err)) return std::nullopt;
  mml_data value{};
  // An empty value reads as "no value" (error 6): it is the empty text.
  if (!mnm_get_field(m_scratch.message(), tag, 0, &value, &err)) return std::string_view();
  return std::string_view(value.data, static_cast<size_t>(value.len));
}

std::vector<std::string_view> MessageReader::All(int32_t tag) const {
  std::vector<std::string_view> values;
  int err = 0;
  int32_t count = 0;
  if (!m_parsed || !mnm_get_field_count(m_scratch.message(), tag, &count, &err)) return values;
  for (int32_t i = 0; i < count; ++i) {
    mml_data value{};
    const bool got = mnm_get_field(m_scratch.message(), tag, i, &value, &err);
    values.push_back(got ? std::string_view(value.data, static_cast<size_t>(value.len)) : std::string_view());
  }
  return values;
}

bool MessageWriter::Begin() {
  int err = 0;
  if (!m_scratch.ok()) return false;
  m_scratch.buffer()->used = 0;
  return mnm_init_msg(m_scratch.message(), m_scratch.buffer(), &err) != 0;
}

bool MessageWriter::Add(int32_t tag, std::string_view text) {
  int err = 0;
  mml_data value{text.empty() ? nullptr : const_cast<char*>(text.data()), static_cast<int32_t>(text.size())};
  return mnm_add_field(m_scratch.message(), tag, 1, &value, &err) != 0;
}

std::span<const char> MessageWriter::Bytes() const {
  // An open buffer always holds its data block (used 0 before the first Begin).
  if (!m_scratch.ok()) return {};
  return std::span<const char>(m_scratch.buffer()->data, static_cast<size_t>(m_scratch.buffer()->used));
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
