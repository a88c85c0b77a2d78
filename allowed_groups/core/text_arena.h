// Storage for texts that live as long as their arena: each is copied into a
// large block as a 4-byte header, its characters and a NUL, so a million
// texts take a few dozen heap blocks rather than a million, and are freed
// together with the arena (a handful of frees, whatever the count). The
// header holds the length in its low 31 bits and a mark the arena's user
// may give a copy in its top bit.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class CTextArena {
 public:
  // A copy of `text` that stays put until the arena goes: its characters,
  // NUL-terminated, with its length and `marked` stored just before them.
  // REQUIRES: text.size() < 2^31.
  const char* Copy(std::string_view text, bool marked);

  static uint32_t LengthOf(const char* copy) { return HeaderOf(copy) & ~kMark; }
  static bool IsMarked(const char* copy) { return (HeaderOf(copy) & kMark) != 0; }
  // Bytes taken from the heap so far.
  size_t Capacity() const { return m_capacity; }

 private:
  static constexpr uint32_t kMark = uint32_t{1} << 31;
  static uint32_t HeaderOf(const char* copy) {
    uint32_t header = 0;
    std::memcpy(&header, copy - sizeof header, sizeof header);
    return header;
  }

  static constexpr size_t kBlock = size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_next = nullptr;  // free space of the last block
  size_t m_left = 0;
  size_t m_capacity = 0;
};
