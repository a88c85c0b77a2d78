#include "platform/global_memory.h"

#include <memory>
#include <unordered_map>

#include "platform/kernel.h"

namespace {

struct Block {
  std::unique_ptr<std::byte[]> bytes;
  SIZE_T size = 0;
  int locks = 0;
};

// Moveable handles live above the user address space, so they are never
// the address of a fixed block.
constexpr uintptr_t kFirstMoveable = uintptr_t{0xD06B} << 36;

struct Heap {
  std::unordered_map<HGLOBAL, Block> blocks;
  uintptr_t next = kFirstMoveable;
};

Heap& TheHeap() {
  static Heap heap;
  return heap;
}

Block* Find(HGLOBAL handle) {
  auto& blocks = TheHeap().blocks;
  const auto it = blocks.find(handle);
  return it == blocks.end() ? nullptr : &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  Block block;
  block.size = bytes;
  // At least one byte, so that a fixed block has an address of its own.
  block.bytes = std::make_unique<std::byte[]>(bytes == 0 ? 1 : bytes);
  auto& heap = TheHeap();
  HGLOBAL handle = nullptr;
  if (flags & GMEM_MOVEABLE) {
    heap.next += 16;
    handle = reinterpret_cast<HGLOBAL>(heap.next);
  } else {
    handle = block.bytes.get();
  }
  heap.blocks.emplace(handle, std::move(block));
  return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
  Block* block = Find(handle);
  if (block == nullptr) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (block->size == 0) return nullptr;
  ++block->locks;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
  Block* block = Find(handle);
  if (block == nullptr) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block->locks > 0) --block->locks;
  ::SetLastError(ERROR_SUCCESS);
  return block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (TheHeap().blocks.erase(handle) == 0) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  const Block* block = Find(handle);
  return block != nullptr ? block->size : 0;
}

namespace platform {
size_t LiveGlobalBlocks() { return TheHeap().blocks.size(); }
}  // namespace platform
