// The terminal's "List" menu: the commands a host sends to a list of the
// module that no menu of the module offers, "Add Custom Column..." (33079)
// and "Delete Custom Column..." (33080), each opening the list's custom
// columns dialog. They go to the list that has the keyboard focus, or last
// had it; with none of the module's lists open the entries are greyed.
//
// The module's lists are the filter lists (a header with a filter bar); the
// desktop mode's menu bar and the script verb `menu` both reach the entries.
// The memory of the last list is one for the process: the desktop mode and
// the script runner tell it where the focus is after each pass or line.
#pragma once

#include <span>
#include <string_view>

#include "platform/base/wintypes.h"

namespace terminal {

struct ListMenuEntry {
  std::string_view text;
  UINT command;
};

// The entries in menu order.
std::span<const ListMenuEntry> ListMenuEntries();
// The entry of this text ("..." at its end may be left off); null when none.
const ListMenuEntry* FindListMenuEntry(std::string_view text);

// Notes the list the focus is in, when it is one of the module's lists.
void NoticeListFocus();
// The list the entries go to: the one with the focus or that last had it,
// while it is still shown; else the topmost shown list of the module; null
// when none is open.
HWND ListMenuTarget();
// Sends the entry's command to the target as a menu command (WM_COMMAND,
// posted); false when no list of the module is open.
bool RunListMenuEntry(const ListMenuEntry& entry);

}  // namespace terminal
