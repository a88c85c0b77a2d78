#include "terminal/desktop/x11_keys.h"

// The platform's headers before Xlib's (see x11_session.h).
#include "platform/input/input_driver.h"
#include "platform/window/keyboard.h"
#include "platform/window/messages.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace terminal::desktop {

namespace {

struct Named {
  uint32_t keysym;
  unsigned vk;
};

constexpr Named kKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE},
    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},
    {XK_Pause, VK_PAUSE},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Menu, VK_APPS},
    {XK_KP_Up, VK_UP},
    {XK_KP_Down, VK_DOWN},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Home, VK_HOME},
    {XK_KP_End, VK_END},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
};

}  // namespace

unsigned VirtualKeyOf(uint32_t keysym) {
  for (const Named& k : kKeys) {
    if (k.keysym == keysym) return k.vk;
  }
  if (keysym >= XK_F1 && keysym <= XK_F24) return VK_F1 + (keysym - XK_F1);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return VK_NUMPAD0 + (keysym - XK_KP_0);
  // Printable ASCII keysyms past the space (the table's) are their
  // characters: the key that types it on the platform's own layout.
  if (keysym >= XK_exclam && keysym <= XK_asciitilde) {
    const SHORT scan = ::VkKeyScan(static_cast<char>(keysym));
    return scan == -1 ? 0 : static_cast<unsigned>(scan & 0xFF);
  }
  return 0;
}

unsigned ModifiersOf(unsigned xState) {
  unsigned modifiers = platform::input::kNone;
  if (xState & ShiftMask) modifiers |= platform::input::kShift;
  if (xState & ControlMask) modifiers |= platform::input::kControl;
  if (xState & Mod1Mask) modifiers |= platform::input::kAlt;
  return modifiers;
}

std::string HotKeyName(unsigned virtualKey, unsigned modifiers) {
  std::string key;
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    key = std::string(1, static_cast<char>(virtualKey));
  } else if (virtualKey >= VK_F1 && virtualKey <= VK_F24) {
    key = "F" + std::to_string(virtualKey - VK_F1 + 1);
  } else {
    return {};
  }
  std::string name;
  if (modifiers & platform::input::kControl) name += "Ctrl+";
  if (modifiers & platform::input::kAlt) name += "Alt+";
  if (modifiers & platform::input::kShift) name += "Shift+";
  return name + key;
}

}  // namespace terminal::desktop
