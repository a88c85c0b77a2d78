#include "platform/window/keyboard.h"

#include <array>
#include <cctype>
#include <cstring>

#include "platform/window/message_queue.h"
#include "platform/window/messages.h"

namespace platform {
namespace {

// Bit 0x80: down; bit 0x01: toggled.
std::array<BYTE, 256>& Keys() {
  static std::array<BYTE, 256> keys{};
  return keys;
}

// US layout: the characters of the keys that are not letters or digits,
// unshifted and shifted; the main keyboard's before the keypad's, so that a
// character both type comes from the main keyboard.
struct OemKey {
  UINT vk;
  char plain;
  char shifted;
};
constexpr OemKey kOemKeys[] = {
    {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
    {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},        {VK_SUBTRACT, '-', '-'}, {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

bool& KeyboardLast() {
  static bool keyboard = true;
  return keyboard;
}

}  // namespace

void SetKeyDown(UINT vk, bool down) {
  auto& keys = Keys();
  auto set = [&](UINT k) {
    if (down) {
      if (!(keys[k] & 0x80)) keys[k] ^= 0x01;
      keys[k] |= 0x80;
    } else {
      keys[k] &= static_cast<BYTE>(~0x80);
    }
  };
  vk &= 0xFF;
  set(vk);
}

bool IsKeyDown(UINT vk) { return (Keys()[vk & 0xFF] & 0x80) != 0; }

void ResetKeyboard() {
  Keys().fill(0);
  KeyboardLast() = true;
}

bool LastInputWasKeyboard() { return KeyboardLast(); }

void NoteInputMessage(UINT message) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) KeyboardLast() = true;
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
      message == WM_NCLBUTTONDOWN) {
    KeyboardLast() = false;
  }
}

char CharForKey(UINT vk) {
  const bool shift = IsKeyDown(VK_SHIFT);
  const bool control = IsKeyDown(VK_CONTROL);
  const bool alt = IsKeyDown(VK_MENU);
  const bool caps = (Keys()[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (control && !alt) return static_cast<char>(vk - 'A' + 1);  // Ctrl+A is 0x01 ...
    const bool upper = shift != caps;
    return static_cast<char>(upper ? vk : std::tolower(static_cast<int>(vk)));
  }
  if (control && !alt) return 0;
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<char>('0' + (vk - VK_NUMPAD0));
  switch (vk) {
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return '\x1b';
    default: break;
  }
  for (const OemKey& k : kOemKeys) {
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  }
  return 0;
}

}  // namespace platform

SHORT GetKeyState(int vk) {
  const BYTE state = platform::Keys()[static_cast<unsigned>(vk) & 0xFF];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  return static_cast<SHORT>((platform::Keys()[static_cast<unsigned>(vk) & 0xFF] & 0x80) ? 0x8000 : 0);
}

SHORT VkKeyScan(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (std::isupper(c)) return static_cast<SHORT>(0x100 | c);
  if (std::islower(c)) return static_cast<SHORT>(std::toupper(c));
  if (std::isdigit(c)) return static_cast<SHORT>(c);
  if (const char* p = std::strchr(platform::kShiftedDigits, ch); p != nullptr && ch != '\0') {
    return static_cast<SHORT>(0x100 | ('0' + (p - platform::kShiftedDigits)));
  }
  switch (ch) {
    case '\b': return VK_BACK;
    case '\t': return VK_TAB;
    case '\r':
    case '\n': return VK_RETURN;
    case '\x1b': return VK_ESCAPE;
    default: break;
  }
  for (const platform::OemKey& k : platform::kOemKeys) {
    if (k.plain == ch) return static_cast<SHORT>(k.vk);
    if (k.shifted == ch) return static_cast<SHORT>(0x100 | k.vk);
  }
  return -1;
}
