// Styles of the common kinds of control in the module's dialog templates.
#pragma once

#include "platform/user/dialog_resources.h"

namespace resources {

inline constexpr DWORD kVisible = WS_VISIBLE;
inline constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
inline constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
inline constexpr DWORD kFrame = WS_VISIBLE | BS_GROUPBOX;
inline constexpr DWORD kPush = kTab | BS_PUSHBUTTON;
inline constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
inline constexpr DWORD kEditableSorted = kTab | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT;
inline constexpr DWORD kListSorted = kTab | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
inline constexpr DWORD kList = kTab | WS_VSCROLL | CBS_DROPDOWNLIST;

}  // namespace resources
