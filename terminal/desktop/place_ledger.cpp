#include "terminal/desktop/place_ledger.h"

#include <algorithm>

namespace terminal::desktop {

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void PlaceLedger::Asked(const RECT& place) {
  m_place = place;
  if (m_asked.size() >= kKept) m_asked.pop_front();
  m_asked.push_back(place);
}

bool PlaceLedger::Notified(const RECT& place) {
  // A notice of one request also answers those before it, overtaken by it.
  const auto ours = std::find_if(m_asked.begin(), m_asked.end(), [&](const RECT& r) { return Same(r, place); });
  if (ours != m_asked.end()) {
    m_asked.erase(m_asked.begin(), ours + 1);
    return false;
  }
  if (Same(place, m_place)) return false;  // restacked, or mapped, where it was
  m_asked.clear();
  m_place = place;
  return true;
}

}  // namespace terminal::desktop
