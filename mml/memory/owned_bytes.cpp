#include "mml/memory/owned_bytes.h"

#include <cstring>
#include <utility>

namespace mml {

bool COwnedBytes::Assign(std::string_view text) {
  Release();
  void* block = nullptr;
  int32_t granted = 0;
  if (!std::in_range<int32_t>(text.size()) ||
      mml_alloc(&block, &granted, static_cast<int32_t>(text.size()), nullptr) == 0) {
    return false;
  }
  std::memcpy(block, text.data(), text.size());
  m_data = {static_cast<char*>(block), granted};
  return true;
}

COwnedBytes::~COwnedBytes() { Release(); }

COwnedBytes& COwnedBytes::operator=(COwnedBytes&& other) noexcept {
  if (this != &other) {
    Release();
    m_data = other.m_data;
    other.m_data = {nullptr, 0};
  }
  return *this;
}

void COwnedBytes::Release() {
  if (m_data.data == nullptr) return;
  void* block = m_data.data;
  mml_free(&block, nullptr);
  m_data = {nullptr, 0};
}

}  // namespace mml
