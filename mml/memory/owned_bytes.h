// A byte string owned through the accounted memory operations; its view is
// a data descriptor that stays valid for the object's life.
#pragma once

#include <cstdint>
#include <string_view>

#include "mml/mml.h"

namespace mml {

class COwnedBytes {
 public:
  COwnedBytes() = default;
  // REQUIRES: !text.empty(). False when memory is short (then still empty).
  bool Assign(std::string_view text);
  ~COwnedBytes();
  COwnedBytes(COwnedBytes&& other) noexcept : m_data(other.m_data) { other.m_data = {nullptr, 0}; }
  COwnedBytes& operator=(COwnedBytes&& other) noexcept;
  COwnedBytes(const COwnedBytes&) = delete;
  COwnedBytes& operator=(const COwnedBytes&) = delete;

  std::string_view View() const { return {m_data.data, static_cast<size_t>(m_data.len)}; }
  const mml_data& Data() const { return m_data; }

 private:
  void Release();
  mml_data m_data{nullptr, 0};
};

}  // namespace mml
