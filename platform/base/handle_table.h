// A table of records reached through opaque handles, as the platform's
// kernel and graphics objects are.
//
// The handles a table makes up lie above the user address space, at
// `tag << 36` and up in steps of 16, and are never reused within the
// process: a stale handle is not found rather than reaching a newer record.
// Tables of different kinds take different tags, so a handle of one kind is
// never taken for another (nor for a heap address, nor for a small integer
// that an interface also accepts in a handle's place).
//
// A record may also be kept under a handle its caller chooses (a fixed
// memory block is reached through its own address).
//
// Pointers from Find stay valid until their record is erased. Not thread
// safe: like the rest of the platform, a table belongs to the UI thread.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace platform {

template <typename Handle, typename Record>
class HandleTable {
 public:
  // REQUIRES: 0x8000 <= tag <= 0xFFFF, which puts every handle at 2^51 or
  // more, far above any user address.
  explicit HandleTable(uintptr_t tag) : m_next(tag << 36) { assert(tag >= 0x8000 && tag <= 0xFFFF); }

  // Keeps `record` under a fresh handle and returns the handle.
  Handle Add(Record record) {
    m_next += 16;
    const auto handle = reinterpret_cast<Handle>(m_next);
    m_records.emplace(handle, std::move(record));
    return handle;
  }

  // Keeps `record` under `handle`, chosen by the caller.
  // REQUIRES: `handle` is not in the table and is not one Add could make.
  void Insert(Handle handle, Record record) { m_records.emplace(handle, std::move(record)); }

  // The record of `handle`, or null when the table has none.
  Record* Find(Handle handle) {
    const auto it = m_records.find(handle);
    return it == m_records.end() ? nullptr : &it->second;
  }
  const Record* Find(Handle handle) const {
    const auto it = m_records.find(handle);
    return it == m_records.end() ? nullptr : &it->second;
  }

  // Forgets the record of `handle`; false when the table has none.
  bool Erase(Handle handle) { return m_records.erase(handle) != 0; }

  size_t size() const { return m_records.size(); }
  // (handle, record) pairs in no particular order.
  auto begin() const { return m_records.begin(); }
  auto end() const { return m_records.end(); }

 private:
  std::unordered_map<Handle, Record> m_records;
  uintptr_t m_next;
};

}  // namespace platform
