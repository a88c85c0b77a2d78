#include "allowed_groups/core/text_arena.h"

#include <algorithm>

const char* CTextArena::Copy(std::string_view text, bool marked) {
  const uint32_t header = static_cast<uint32_t>(text.size()) | (marked ? kMark : 0);
  const size_t need = sizeof header + text.size() + 1;
  if (need > m_left) {
    // A text longer than a block gets a block of its own size.
    const size_t size = std::max(kBlock, need);
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
    m_next = m_blocks.back().get();
    m_left = size;
    m_capacity += size;
  }
  char* copy = m_next + sizeof header;
  std::memcpy(m_next, &header, sizeof header);
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  m_next += need;
  m_left -= need;
  return copy;
}
