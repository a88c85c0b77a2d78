#include "platform/window/z_order.h"

#include <algorithm>

#include "platform/window/window_registry.h"

namespace platform {
namespace {

HWND OwnerOf(HWND hwnd) {
  const WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr && !r->IsChild() ? r->owner : nullptr;
}

// Owner chains end: an owner that would own itself is refused where it is set
// (WouldOwnItself), whatever the windows' styles then or later.
bool OwnedBy(HWND hwnd, HWND owner) {
  for (HWND o = OwnerOf(hwnd); o != nullptr; o = OwnerOf(o)) {
    if (o == owner) return true;
  }
  return false;
}

}  // namespace

void KeepOwnedAboveOwners(std::vector<HWND>& list) {
  // Restacked from the bottom: each step places the lowest window whose
  // owner is placed already (or is not here), so a window rises only as far
  // as its owner requires and the others keep their order.
  std::vector<HWND> rest(list.rbegin(), list.rend());
  std::vector<HWND> placed;
  while (!rest.empty()) {
    const auto next = std::find_if(rest.begin(), rest.end(), [&rest](HWND h) {
      return std::find(rest.begin(), rest.end(), OwnerOf(h)) == rest.end();
    });
    placed.push_back(*next);
    rest.erase(next);
  }
  list.assign(placed.rbegin(), placed.rend());
}

bool WouldOwnItself(HWND hwnd, HWND owner) {
  // The owners a window keeps while it is a child count: it may become a pop-up again.
  // One of its own children (or theirs) cannot own it either: owning goes through
  // the owner's top-level window, the window itself.
  for (const WindowRecord* r = FindWindowRecord(owner); r != nullptr; r = FindWindowRecord(r->owner)) {
    if (IsSelfOrDescendant(hwnd, r->hwnd)) return true;
  }
  return false;
}

HWND EnabledPopupOf(HWND owner) {
  for (HWND h : WindowRegistry::Get().TopLevel()) {
    const WindowRecord* r = FindWindowRecord(h);
    if (r != nullptr && (r->style & WS_VISIBLE) && !(r->style & WS_DISABLED) && OwnedBy(h, owner)) return h;
  }
  return nullptr;
}

}  // namespace platform
