#include "platform/window/z_order.h"

#include <algorithm>

#include "platform/window/window_registry.h"

namespace platform {
namespace {

HWND OwnerOf(HWND hwnd) {
  const WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr && !r->IsChild() ? r->owner : nullptr;
}

bool OwnedBy(HWND hwnd, HWND owner) {
  // Owner chains are short; the bound guards against a cycle made through SetParent.
  int steps = 0;
  for (HWND o = OwnerOf(hwnd); o != nullptr && steps < 64; o = OwnerOf(o), ++steps) {
    if (o == owner) return true;
  }
  return false;
}

}  // namespace

void KeepOwnedAboveOwners(std::vector<HWND>& list) {
  // Each move lifts one window to just above its owner; what it owns is
  // lifted above it in later rounds, in the order it had.
  for (size_t rounds = 0; rounds < list.size() * list.size() + 1; ++rounds) {
    bool moved = false;
    for (size_t i = 0; i < list.size() && !moved; ++i) {
      const HWND owner = OwnerOf(list[i]);
      if (owner == nullptr) continue;
      const auto at = std::find(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(i), owner);
      if (at == list.begin() + static_cast<std::ptrdiff_t>(i)) continue;  // the owner lies below, or is not here
      const HWND window = list[i];
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      list.insert(std::find(list.begin(), list.end(), owner), window);
      moved = true;
    }
    if (!moved) return;
  }
}

HWND EnabledPopupOf(HWND owner) {
  for (HWND h : WindowRegistry::Get().TopLevel()) {
    const WindowRecord* r = FindWindowRecord(h);
    if (r != nullptr && (r->style & WS_VISIBLE) && !(r->style & WS_DISABLED) && OwnedBy(h, owner)) return h;
  }
  return nullptr;
}

}  // namespace platform
