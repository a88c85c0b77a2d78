// Test helper: an environment block as the middleware's start-up takes it
// (a null-ended array of writable "name=value" strings), built from literals.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace mml::test {

class EnvBlock {
 public:
  EnvBlock(std::initializer_list<std::string_view> entries) : m_entries(entries.begin(), entries.end()) {
    // m_entries no longer grows, so these pointers into it stay valid.
    for (std::string& entry : m_entries) m_pointers.push_back(entry.data());
    m_pointers.push_back(nullptr);
  }
  // A copy's pointers would point into the original.
  EnvBlock(const EnvBlock&) = delete;
  EnvBlock& operator=(const EnvBlock&) = delete;

  // Valid while this block lives.
  char** get() { return m_pointers.data(); }

 private:
  std::vector<std::string> m_entries;
  std::vector<char*> m_pointers;
};

}  // namespace mml::test
