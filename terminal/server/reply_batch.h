// Replies handed over together: their bytes one after another in one buffer,
// and where each ends, so that a batch of hundreds is two heap blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace terminal {

class ReplyBatch {
 public:
  void Add(std::span<const char> reply) {
    m_bytes.insert(m_bytes.end(), reply.begin(), reply.end());
    m_ends.push_back(m_bytes.size());
  }
  size_t Size() const { return m_ends.size(); }
  bool Empty() const { return m_ends.empty(); }
  // The bytes of reply `i` (below Size()), valid while the batch lives unchanged.
  std::span<const char> operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : m_ends[i - 1];
    return std::span<const char>(m_bytes).subspan(begin, m_ends[i] - begin);
  }

 private:
  std::vector<char> m_bytes;
  std::vector<size_t> m_ends;
};

}  // namespace terminal
