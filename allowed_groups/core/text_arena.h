// Storage for texts that live as long as their arena: each is copied into a
// large block as a 4-byte length, its characters and a NUL, so a million
// texts take a few dozen heap blocks rather than a million, and are freed
// together with the arena (a handful of frees, whatever the count).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class CTextArena {
 public:
  // A copy of `text` that stays put until the arena goes: its characters,
  // NUL-terminated, with its length stored just before them (LengthOf).
  // REQUIRES: text.size() < 2^32.
  const char* Copy(std::string_view text);

  static uint32_t LengthOf(const char* copy) {
    uint32_t length = 0;
    std::memcpy(&length, copy - sizeof length, sizeof length);
    return length;
  }
  // Bytes taken from the heap so far.
  size_t Capacity() const { return m_capacity; }

 private:
  static constexpr size_t kBlock = size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_next = nullptr;  // free space of the last block
  size_t m_left = 0;
  size_t m_capacity = 0;
};
