// A queue between one producer thread and one consumer that holds at most
// `capacity` items: the producer waits while it is full, so a fast producer
// cannot fill memory ahead of a slow consumer. The consumer may ask the
// producer to stop (Stop), which wakes it from a wait; the producer says
// when it has no more (Close).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace terminal {

template <typename T>
class BoundedQueue {
 public:
  explicit BoundedQueue(size_t capacity) : m_capacity(capacity) {}

  // Producer: appends `item` (moved from) once there is room; false, with
  // `item` untouched, when Stop came first.
  bool Push(T& item) {
    std::unique_lock lock(m_lock);
    m_roomOrStop.wait(lock, [&] { return m_stop || m_items.size() < m_capacity; });
    if (m_stop) return false;
    m_items.push_back(std::move(item));
    m_itemOrEnd.notify_one();
    return true;
  }
  // Producer: nothing more comes until Restart.
  void Close() {
    std::lock_guard lock(m_lock);
    m_closed = true;
    m_itemOrEnd.notify_one();
  }

  // Consumer: the oldest item, waiting for one while the producer has not
  // closed; nothing once the queue is closed and empty.
  std::optional<T> Pop() {
    std::unique_lock lock(m_lock);
    m_itemOrEnd.wait(lock, [&] { return m_closed || !m_items.empty(); });
    if (m_items.empty()) return std::nullopt;
    std::optional<T> item(std::move(m_items.front()));
    m_items.pop_front();
    m_roomOrStop.notify_one();
    return item;
  }
  // Consumer: tells a producer waiting or about to wait for room to give up.
  void Stop() {
    std::lock_guard lock(m_lock);
    m_stop = true;
    m_roomOrStop.notify_one();
  }
  // Consumer, with no producer running: everything queued, oldest first,
  // and the queue ready for a new producer.
  std::deque<T> Restart() {
    std::lock_guard lock(m_lock);
    m_stop = false;
    m_closed = false;
    return std::exchange(m_items, {});
  }

 private:
  const size_t m_capacity;
  std::mutex m_lock;
  std::condition_variable m_roomOrStop;
  std::condition_variable m_itemOrEnd;
  std::deque<T> m_items;
  bool m_stop = false;
  bool m_closed = false;
};

}  // namespace terminal
