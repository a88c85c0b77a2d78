#include "platform/kernel/global_memory.h"

#include <memory>

#include "platform/base/handle_table.h"
#include "platform/kernel/kernel.h"

namespace {

struct Block {
  std::unique_ptr<std::byte[]> bytes;
  SIZE_T size = 0;
  int locks = 0;
};

// Moveable handles are made up by the table, above the user address space,
// so they are never the address of a fixed block.
using Heap = platform::HandleTable<HGLOBAL, Block>;

Heap& TheHeap() {
  static Heap heap(0xD06B);
  return heap;
}

Block* Find(HGLOBAL handle) { return TheHeap().Find(handle); }

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  Block block;
  block.size = bytes;
  // At least one byte, so that a fixed block has an address of its own.
  block.bytes = std::make_unique<std::byte[]>(bytes == 0 ? 1 : bytes);
  if (flags & GMEM_MOVEABLE) return TheHeap().Add(std::move(block));
  HGLOBAL handle = block.bytes.get();
  TheHeap().Insert(handle, std::move(block));
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
  if (!TheHeap().Erase(handle)) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  const Block* block = Find(handle);
  return block != nullptr ? block->size : 0;
}
