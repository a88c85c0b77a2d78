// Pop-up menus, headless: a menu is a list of entries held by handle;
// TrackPopupMenu records the menu it shows and asks a replaceable responder
// which entry the person chooses, as message boxes do.
//
// The default responder dismisses every menu (chooses nothing). A choice of
// a greyed or disabled entry, a separator, or an id the menu lacks counts as
// a dismissal. With TPM_RETURNCMD the chosen id is returned (0 when
// dismissed); otherwise WM_COMMAND(id) is posted to the owner window and the
// result is non-zero when an entry was chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window/messages.h"
#include "platform/base/export.h"
#include "platform/base/wintypes.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_BYPOSITION = 0x0400;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

PLATFORM_API HMENU CreatePopupMenu();
PLATFORM_API BOOL DestroyMenu(HMENU menu);
PLATFORM_API BOOL IsMenu(HMENU menu);
PLATFORM_API BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) { return AppendMenuA(menu, flags, id, text); }
PLATFORM_API int GetMenuItemCount(HMENU menu);              // -1 for an unknown menu
PLATFORM_API UINT GetMenuItemID(HMENU menu, int position);  // 0 for a separator, -1 outside
// The entry's MF_ flags (MF_BYCOMMAND or MF_BYPOSITION); -1 when not found.
PLATFORM_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
PLATFORM_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);  // previous MF_CHECKED state, -1 when not found
PLATFORM_API BOOL EnableMenuItem(HMENU menu, UINT item,
                                 UINT enable);  // previous MF_GRAYED | MF_DISABLED, -1 when not found
PLATFORM_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

namespace platform {

struct MenuEntry {
  UINT flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR
  UINT_PTR id = 0;
  std::string text;
};

// One menu as TrackPopupMenu showed it.
struct MenuRecord {
  HWND owner = nullptr;
  POINT position;  // screen coordinates
  std::vector<MenuEntry> entries;
  UINT_PTR chosen = 0;  // filled in once answered; 0 dismissed
  int hot = -1;         // the entry under the pointer or the arrow keys (its position), while a person chooses
};

// Returns the id of the entry chosen, 0 to dismiss.
using MenuResponder = std::function<UINT_PTR(const MenuRecord&)>;
// Installs a responder; an empty function restores the default (dismiss).
PLATFORM_API void SetMenuResponder(MenuResponder responder);
// A responder that chooses the first enabled entry with this text.
PLATFORM_API MenuResponder ChooseMenuEntry(std::string text);

// The menus tracked so far, oldest first.
PLATFORM_API std::vector<MenuRecord> MenuLog();
// Empties the log, destroys every menu and restores the default responder.
// The framework's own (AfxWinTerm, the floors' test resets): not exported.
void ResetMenus();

}  // namespace platform

// CMenu: the framework's wrapper of a menu handle; it destroys the menu it holds.
class PLATFORM_API CMenu {
 public:
  CMenu() = default;
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }  // NOLINT: implicit, as in the framework

  BOOL CreatePopupMenu();
  BOOL DestroyMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
    return ::AppendMenuA(m_hMenu, flags, id, text);
  }
  UINT CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
  UINT EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
  UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
  // `owner` is a window object (CWnd*); its handle receives the command.
  template <class Window>
  BOOL TrackPopupMenu(UINT flags, int x, int y, Window* owner, const RECT* rect = nullptr) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner != nullptr ? owner->GetSafeHwnd() : nullptr, rect);
  }
};
