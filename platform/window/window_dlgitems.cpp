// Dialog item helpers: text and check state of a parent's controls by id,
// and navigation through groups and tab stops in z-order.
#include <algorithm>

#include "platform/window/window_registry.h"

using platform::FindWindowRecord;
using platform::WindowRecord;

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) { return ::SetWindowText(::GetDlgItem(dialog, id), text); }

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size) {
  HWND item = ::GetDlgItem(dialog, id);
  if (item == nullptr) {
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(::GetWindowText(item, buffer, size));
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = ::GetDlgItem(dialog, id);
  return item != nullptr ? ::SendMessage(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = ::GetDlgItem(dialog, id);
  if (item == nullptr) return FALSE;
  ::SendMessage(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(::SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int idFirst, int idLast, int idCheck) {
  WindowRecord* r = FindWindowRecord(dialog);
  if (r == nullptr) return FALSE;
  const std::vector<HWND> children = r->children;
  for (HWND child : children) {
    const int id = ::GetDlgCtrlID(child);
    if (id >= idFirst && id <= idLast) {
      ::SendMessage(child, BM_SETCHECK, id == idCheck ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  return TRUE;
}

namespace {

bool Navigable(HWND h) {
  WindowRecord* r = FindWindowRecord(h);
  return r != nullptr && (r->style & WS_VISIBLE) && !(r->style & WS_DISABLED);
}

// The controls of the group that holds `control`: from the nearest sibling
// at or before it that has WS_GROUP up to the next one that has it.
std::vector<HWND> GroupOf(HWND dialog, HWND control) {
  WindowRecord* d = FindWindowRecord(dialog);
  if (d == nullptr) return {};
  const auto& kids = d->children;
  auto it = std::find(kids.begin(), kids.end(), control);
  if (it == kids.end()) return {};
  auto hasGroup = [](HWND h) {
    WindowRecord* r = FindWindowRecord(h);
    return r != nullptr && (r->style & WS_GROUP);
  };
  auto first = it;
  while (first != kids.begin() && !hasGroup(*first)) --first;
  auto last = it + 1;
  while (last != kids.end() && !hasGroup(*last)) ++last;
  return {first, last};
}

// The dialog's own child that holds `control` (a combo box for its edit
// field), since tab stops and groups are kept among the dialog's children.
HWND DirectChildOf(HWND dialog, HWND control) {
  for (HWND h = control; h != nullptr; h = ::GetParent(h)) {
    WindowRecord* r = FindWindowRecord(h);
    if (r == nullptr || !r->IsChild()) return control;
    if (r->parent == dialog) return h;
  }
  return control;
}

HWND Step(const std::vector<HWND>& ring, HWND from, BOOL previous) {
  if (ring.empty()) return nullptr;
  auto it = std::find(ring.begin(), ring.end(), from);
  const size_t n = ring.size();
  size_t i = it == ring.end() ? (previous ? 0 : n - 1) : static_cast<size_t>(it - ring.begin());
  for (size_t k = 0; k < n; ++k) {
    i = previous ? (i + n - 1) % n : (i + 1) % n;
    if (Navigable(ring[i])) return ring[i];
  }
  return from;
}

}  // namespace

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  control = DirectChildOf(dialog, control);
  return Step(GroupOf(dialog, control), control, previous);
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  WindowRecord* d = FindWindowRecord(dialog);
  if (d == nullptr) return nullptr;
  control = DirectChildOf(dialog, control);
  std::vector<HWND> stops;
  for (HWND h : d->children) {
    WindowRecord* r = FindWindowRecord(h);
    if (r != nullptr && ((r->style & WS_TABSTOP) || h == control)) stops.push_back(h);
  }
  HWND next = Step(stops, control, previous);
  // Only a tab stop may be the answer (the starting control may not be one).
  WindowRecord* r = FindWindowRecord(next);
  return r != nullptr && (r->style & WS_TABSTOP) ? next : nullptr;
}
