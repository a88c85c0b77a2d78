#include "platform/user/menu.h"

#include <map>

#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

struct MenuState {
  std::map<HMENU, std::vector<MenuEntry>> menus;
  uintptr_t next = 0x4D000;  // handle values of menus; never reused within a run
  MenuResponder responder;
  std::vector<MenuRecord> log;
};

// User-interface thread only, like every window function.
MenuState& State() {
  static MenuState state;
  return state;
}

std::vector<MenuEntry>* Find(HMENU menu) {
  auto found = State().menus.find(menu);
  return found == State().menus.end() ? nullptr : &found->second;
}

MenuEntry* Entry(HMENU menu, UINT item, UINT flags) {
  std::vector<MenuEntry>* entries = Find(menu);
  if (entries == nullptr) return nullptr;
  if (flags & MF_BYPOSITION) return item < entries->size() ? &(*entries)[item] : nullptr;
  for (MenuEntry& entry : *entries) {
    if (!(entry.flags & MF_SEPARATOR) && entry.id == item) return &entry;
  }
  return nullptr;
}

bool Choosable(const MenuEntry& entry) { return (entry.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) == 0; }

}  // namespace

void SetMenuResponder(MenuResponder responder) { State().responder = std::move(responder); }

MenuResponder ChooseMenuEntry(std::string text) {
  return [text = std::move(text)](const MenuRecord& record) -> UINT_PTR {
    for (const MenuEntry& entry : record.entries) {
      if (entry.text == text && Choosable(entry)) return entry.id;
    }
    return 0;
  };
}

std::vector<MenuRecord> MenuLog() { return State().log; }

void ResetMenus() {
  State().menus.clear();
  State().log.clear();
  State().responder = nullptr;
}

}  // namespace platform

using platform::MenuEntry;

HMENU CreatePopupMenu() {
  auto& state = platform::State();
  const auto handle = reinterpret_cast<HMENU>(state.next++);
  state.menus[handle];
  return handle;
}

BOOL DestroyMenu(HMENU menu) { return platform::State().menus.erase(menu) > 0 ? TRUE : FALSE; }

BOOL IsMenu(HMENU menu) { return platform::Find(menu) != nullptr ? TRUE : FALSE; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  std::vector<MenuEntry>* entries = platform::Find(menu);
  if (entries == nullptr) return FALSE;
  MenuEntry entry;
  entry.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
  entry.id = (flags & MF_SEPARATOR) ? 0 : id;
  if (!(flags & MF_SEPARATOR) && text != nullptr) entry.text = text;
  entries->push_back(std::move(entry));
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  const std::vector<MenuEntry>* entries = platform::Find(menu);
  return entries == nullptr ? -1 : static_cast<int>(entries->size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  const std::vector<MenuEntry>* entries = platform::Find(menu);
  if (entries == nullptr || position < 0 || position >= static_cast<int>(entries->size())) return static_cast<UINT>(-1);
  return static_cast<UINT>((*entries)[static_cast<size_t>(position)].id);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  const MenuEntry* entry = platform::Entry(menu, item, flags);
  return entry == nullptr ? static_cast<UINT>(-1) : entry->flags;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  MenuEntry* entry = platform::Entry(menu, item, check);
  if (entry == nullptr) return static_cast<DWORD>(-1);
  const DWORD previous = entry->flags & MF_CHECKED;
  entry->flags = (entry->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuEntry* entry = platform::Entry(menu, item, enable);
  if (entry == nullptr) return -1;
  const BOOL previous = static_cast<BOOL>(entry->flags & (MF_GRAYED | MF_DISABLED));
  entry->flags = (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner, const RECT* /*rect*/) {
  const std::vector<MenuEntry>* entries = platform::Find(menu);
  if (entries == nullptr || owner == nullptr || !::IsWindow(owner)) return FALSE;
  platform::MenuRecord record;
  record.owner = owner;
  record.position = POINT{x, y};
  record.entries = *entries;
  // The responder may itself track a menu, so the record is logged after it answers.
  const platform::MenuResponder responder = platform::State().responder;
  UINT_PTR chosen = responder ? responder(record) : 0;
  const MenuEntry* entry = chosen != 0 ? platform::Entry(menu, static_cast<UINT>(chosen), MF_BYCOMMAND) : nullptr;
  if (entry == nullptr || !platform::Choosable(*entry)) chosen = 0;
  record.chosen = chosen;
  platform::State().log.push_back(record);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen == 0) return FALSE;
  ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
  if (m_hMenu != nullptr) return FALSE;
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  const BOOL destroyed = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return destroyed;
}
