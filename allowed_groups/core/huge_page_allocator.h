// An allocator for large hash tables read at random (the text pool's, the
// group index's): a block of 2 MiB or more is aligned to 2 MiB and its
// whole 2 MiB pages are offered to the kernel for transparent huge pages
// (madvise), where a lookup takes a 512th of the page-table walks and page
// faults; smaller blocks come from the usual heap. A table of a million
// entries is looked up at random once or twice a group: on 4 KiB pages most
// of those lookups also miss the TLB. Where the kernel gives no huge pages
// the advice changes nothing.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

template <class T>
class HugePageAllocator {
 public:
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) {}  // NOLINT: rebinding, as allocators do

  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return static_cast<T*>(::operator new(bytes));
    void* block = nullptr;
    if (::posix_memalign(&block, kHugePage, bytes) != 0) throw std::bad_alloc();
    // Only whole huge pages: a tail past the last one stays on small pages,
    // so that no more memory is taken than the block needs.
    ::madvise(block, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t n) {
    if (n * sizeof(T) < kHugePage) {
      ::operator delete(block);
    } else {
      std::free(block);
    }
  }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }

 private:
  static constexpr size_t kHugePage = size_t{2} << 20;
  static size_t Rounded(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
};
