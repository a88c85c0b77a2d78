#include "mml/memory/owned_bytes.h"

#include <cstring>

namespace mml {

bool COwnedBytes::Assign(std::string_view text) {
  Release();
  void* block = nullptr;
  int32_t granted = 0;
  if (text.size() > INT32_MAX || mml_alloc(&block, &granted, static_cast<int32_t>(text.size()), nullptr) == 0) {
    return false;
  }
  std::memcpy(block, text.data(), text.size());
  data_ = {static_cast<char*>(block), granted};
  return true;
}

COwnedBytes::~COwnedBytes() { Release(); }

COwnedBytes& COwnedBytes::operator=(COwnedBytes&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = other.data_;
    other.data_ = {nullptr, 0};
  }
  return *this;
}

void COwnedBytes::Release() {
  if (data_.data == nullptr) return;
  void* block = data_.data;
  mml_free(&block, nullptr);
  data_ = {nullptr, 0};
}

}  // namespace mml
