#include "terminal/commands/list_menu.h"

#include <array>

#include "platform/afx.h"
#include "terminal/readout/window_readers.h"

namespace terminal {

namespace {

constexpr std::array kEntries{
    ListMenuEntry{"Add Custom Column...", 33079},
    ListMenuEntry{"Delete Custom Column...", 33080},
};

HWND g_lastList = nullptr;

// A list of the module: a list view whose header carries a filter bar.
bool IsModuleList(HWND hwnd) {
  if (!IsWindowClass(hwnd, "SysListView32")) return false;
  const auto header = reinterpret_cast<HWND>(::SendMessage(hwnd, LVM_GETHEADER, 0, 0));
  return header != nullptr && (::GetWindowLongPtr(header, GWL_STYLE) & HDS_FILTERBAR) != 0;
}

bool Open(HWND list) { return list != nullptr && ::IsWindow(list) && ::IsWindowVisible(list); }

HWND TopmostModuleList(HWND hwnd) {
  for (HWND child = ::GetWindow(hwnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    if (IsModuleList(child)) return child;
    if (HWND found = TopmostModuleList(child)) return found;
  }
  return nullptr;
}

}  // namespace

std::span<const ListMenuEntry> ListMenuEntries() { return kEntries; }

const ListMenuEntry* FindListMenuEntry(std::string_view text) {
  for (const ListMenuEntry& entry : kEntries) {
    if (text == entry.text || text == entry.text.substr(0, entry.text.size() - 3)) return &entry;
  }
  return nullptr;
}

void NoticeListFocus() {
  for (HWND h = ::GetFocus(); h != nullptr; h = ::GetParent(h)) {
    if (IsModuleList(h)) {
      g_lastList = h;
      return;
    }
    if (!(::GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD)) return;
  }
}

HWND ListMenuTarget() {
  NoticeListFocus();
  if (Open(g_lastList)) return g_lastList;
  // Top of the z-order first: the list a person sees first.
  for (HWND top = ::GetTopWindow(nullptr); top != nullptr; top = ::GetWindow(top, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(top)) continue;
    if (HWND found = TopmostModuleList(top)) return found;
  }
  return nullptr;
}

bool RunListMenuEntry(const ListMenuEntry& entry) {
  const HWND list = ListMenuTarget();
  if (list == nullptr) return false;
  ::PostMessage(list, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(entry.command), 0), 0);
  return true;
}

}  // namespace terminal
