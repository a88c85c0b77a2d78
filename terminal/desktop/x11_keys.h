// Keys of an X keyboard as the platform's virtual keys. The platform types on
// a US layout of its own (platform/window/keyboard.h): a key press is passed
// on as the key, never as the character the X server's layout made of it.
#pragma once

#include <cstdint>
#include <string>

namespace terminal::desktop {

// The virtual key for an X keysym taken without modifiers (level 0: XK_a,
// not XK_A); 0 for a key the platform has no number for.
unsigned VirtualKeyOf(uint32_t keysym);

// Modifier bits of the platform's input driver for an X modifier state.
unsigned ModifiersOf(unsigned xState);

// A hot key as the plug-in names it ("Alt+A", "Ctrl+Shift+F5"): the held
// modifiers, then the key's name; empty for a key with no name (a modifier
// itself, a key the platform lacks).
std::string HotKeyName(unsigned virtualKey, unsigned modifiers);

}  // namespace terminal::desktop
