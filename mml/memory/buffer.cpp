// Buffer handles: a byte area that grows exactly to what is asked.
#include "mml/mml.h"
#include "mml/status.h"

extern "C" int buf_open(buf_hndl* b, int32_t capacity, int* err) {
  if (b == nullptr) return mml::fail(err, mml::MemStatus::kNullBuffer);
  if (*b != nullptr) return mml::fail(err, mml::MemStatus::kInUse);
  if (capacity < 1) return mml::fail(err, mml::MemStatus::kBadSize);
  void* rec = nullptr;
  void* data = nullptr;
  int32_t granted = 0;
  if (mml_alloc(&rec, &granted, static_cast<int32_t>(sizeof(buf_rec)), nullptr) == 0) {
    return mml::fail(err, mml::MemStatus::kNoMemory);
  }
  if (mml_alloc(&data, &granted, capacity, nullptr) == 0) {
    mml_free(&rec, nullptr);
    return mml::fail(err, mml::MemStatus::kNoMemory);
  }
  auto* buffer = static_cast<buf_rec*>(rec);
  buffer->data = static_cast<char*>(data);
  buffer->capacity = capacity;
  *b = buffer;
  return mml::succeed(err);
}

extern "C" int buf_reserve(buf_hndl b, int32_t size, int* err) {
  if (b == nullptr) return mml::fail(err, mml::MemStatus::kNullBuffer);
  if (size < 1) return mml::fail(err, mml::MemStatus::kBadSize);
  if (size > b->capacity) {
    void* data = b->data;
    int32_t granted = 0;
    const int ok =
        data == nullptr ? mml_alloc(&data, &granted, size, nullptr) : mml_realloc(&data, &granted, size, nullptr);
    // A block the heap moved is the buffer's even when the map could not record it.
    if (ok != 0 || data != b->data) {
      b->data = static_cast<char*>(data);
      b->capacity = size;
    }
    if (ok == 0) return mml::fail(err, mml::MemStatus::kNoMemory);
  }
  b->requested = size;
  return mml::succeed(err);
}

extern "C" int buf_clear(buf_hndl b, int* err) {
  if (b == nullptr) return mml::fail(err, mml::MemStatus::kNullBuffer);
  if (b->data != nullptr) {
    void* data = b->data;
    if (mml_free(&data, nullptr) == 0) return mml::fail(err, mml::MemStatus::kNoMemory);
  }
  b->data = nullptr;
  b->used = 0;
  b->requested = 0;
  b->capacity = 0;
  return mml::succeed(err);
}

extern "C" int buf_close(buf_hndl* b, int* err) {
  if (b == nullptr || *b == nullptr) return mml::fail(err, mml::MemStatus::kNullBuffer);
  if (buf_clear(*b, err) == 0) return 0;
  void* rec = *b;
  if (mml_free(&rec, nullptr) == 0) return mml::fail(err, mml::MemStatus::kNoMemory);
  *b = nullptr;
  return mml::succeed(err);
}
