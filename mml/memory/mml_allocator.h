// A standard allocator over the accounted memory operations, so that
// containers inside the middleware show up in the memory map like every
// other block. Throws std::bad_alloc when mml_alloc fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

#include "mml/mml.h"

namespace mml {

template <class T>
struct CMmlAllocator {
  using value_type = T;

  CMmlAllocator() = default;
  template <class U>
  CMmlAllocator(const CMmlAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n == 0 || n > static_cast<std::size_t>(INT32_MAX) / sizeof(T)) throw std::bad_alloc();
    void* block = nullptr;
    int32_t granted = 0;
    if (mml_alloc(&block, &granted, static_cast<int32_t>(n * sizeof(T)), nullptr) == 0) {
      throw std::bad_alloc();
    }
    return static_cast<T*>(block);
  }
  void deallocate(T* p, std::size_t) {
    void* block = p;
    mml_free(&block, nullptr);
  }

  template <class U>
  bool operator==(const CMmlAllocator<U>&) const {
    return true;
  }
};

}  // namespace mml
