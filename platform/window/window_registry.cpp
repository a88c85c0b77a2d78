#include "platform/window/window_registry.h"

#include <algorithm>

namespace platform {

WindowRecord::WindowRecord() = default;

WindowRecord::~WindowRecord() = default;

WindowRegistry& WindowRegistry::Get() {
  // Leaked on purpose: framework objects with static storage (a plug-in's
  // form) may be destroyed after this registry would have been.
  static auto* registry = new WindowRegistry;
  return *registry;
}

WindowRecord* WindowRegistry::Find(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  if (hwnd == m_lastHwnd) return m_lastRecord;
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end()) return nullptr;
  m_lastHwnd = hwnd;
  m_lastRecord = it->second.get();
  return m_lastRecord;
}

WindowRecord& WindowRegistry::Add(std::unique_ptr<WindowRecord> record) {
  WindowRecord& ref = *record;
  const HWND hwnd = record->hwnd;
  m_windows.emplace(hwnd, std::move(record));
  return ref;
}

void WindowRegistry::Remove(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end()) return;
  m_graveyard.push_back(std::move(it->second));
  m_windows.erase(it);
  if (m_lastHwnd == hwnd) m_lastHwnd = nullptr;
  if (focus == hwnd) focus = nullptr;
  if (active == hwnd) active = nullptr;
  if (capture == hwnd) capture = nullptr;
  if (m_dispatchDepth == 0) FreeGraveyard();
}

HWND WindowRegistry::NewHandle() {
  m_nextHandle += 4;
  return reinterpret_cast<HWND>(m_nextHandle);
}

std::vector<HWND>& WindowRegistry::Siblings(const WindowRecord& record) {
  if (record.IsChild()) {
    if (WindowRecord* parent = Find(record.parent)) return parent->children;
  }
  return m_topLevel;
}

void WindowRegistry::LeaveDispatch() {
  if (--m_dispatchDepth == 0) FreeGraveyard();
}

void WindowRegistry::FreeGraveyard() {
  // Freeing a record may run destructors that dispatch again and bury more
  // records; take the list out first and repeat until nothing is left.
  while (!m_graveyard.empty()) {
    auto dead = std::move(m_graveyard);
    m_graveyard.clear();
    dead.clear();
  }
}

}  // namespace platform
