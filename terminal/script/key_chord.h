// A key chord as a script writes it: "Delete", "Ctrl+A", "Shift+F10",
// modifiers (Ctrl or Control, Shift, Alt, any case) joined to one key by '+'.
// The key is a letter or digit, F1 to F12, or a named key (Enter, Esc,
// PageUp, ...).
#pragma once

#include <optional>
#include <string_view>

#include "platform/base/wintypes.h"

namespace terminal {

struct KeyChord {
  UINT vk = 0;
  unsigned modifiers = 0;  // platform::input::Modifier bits
};

// Nothing when a part names no modifier or key.
std::optional<KeyChord> ParseKeyChord(std::string_view chord);

}  // namespace terminal
