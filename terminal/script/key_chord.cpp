#include "terminal/script/key_chord.h"

#include <cctype>
#include <charconv>
#include <map>
#include <string>

#include "platform/afx.h"
#include "platform/input/input_driver.h"

namespace terminal {
namespace {

namespace input = platform::input;

const std::map<std::string, UINT, std::less<>>& NamedKeys() {
  static const std::map<std::string, UINT, std::less<>> keys{
      {"delete", VK_DELETE}, {"del", VK_DELETE},    {"backspace", VK_BACK}, {"enter", VK_RETURN}, {"return", VK_RETURN},
      {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},    {"tab", VK_TAB},        {"space", VK_SPACE},  {"home", VK_HOME},
      {"end", VK_END},       {"up", VK_UP},         {"down", VK_DOWN},      {"left", VK_LEFT},    {"right", VK_RIGHT},
      {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"insert", VK_INSERT},  {"apps", VK_APPS},
  };
  return keys;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::optional<UINT> KeyOf(std::string_view name) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
  }
  const std::string key = Lower(name);
  // F1..F12, the whole rest a number: "F1x" names no key.
  if (key.size() >= 2 && key[0] == 'f') {
    int n = 0;
    const auto [end, ec] = std::from_chars(key.data() + 1, key.data() + key.size(), n);
    if (ec == std::errc() && end == key.data() + key.size() && n >= 1 && n <= 12) {
      return VK_F1 + static_cast<UINT>(n - 1);
    }
  }
  const auto it = NamedKeys().find(key);
  if (it == NamedKeys().end()) return std::nullopt;
  return it->second;
}

}  // namespace

std::optional<KeyChord> ParseKeyChord(std::string_view chord) {
  KeyChord result{0, input::kNone};
  for (size_t plus = chord.find('+'); plus != std::string_view::npos; plus = chord.find('+')) {
    const std::string m = Lower(chord.substr(0, plus));
    if (m == "ctrl" || m == "control") result.modifiers |= input::kControl;
    else if (m == "shift") result.modifiers |= input::kShift;
    else if (m == "alt") result.modifiers |= input::kAlt;
    else return std::nullopt;
    chord.remove_prefix(plus + 1);
  }
  const auto vk = KeyOf(chord);
  if (!vk) return std::nullopt;
  result.vk = *vk;
  return result;
}

}  // namespace terminal
