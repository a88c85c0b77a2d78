// Built only with Xlib: the desktop mode's files need its headers.
#if AG_HAVE_X11
#include "terminal/desktop/x11_keys.h"

#include <gtest/gtest.h>

#include "platform/input/input_driver.h"
#include "platform/window/messages.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace terminal::desktop {
namespace {

namespace input = platform::input;

// Shift+Tab arrives as a keysym of its own; '!' and '~' are the first and
// last printable keys past the space. Keys the platform has no number for
// are dropped, not guessed: XK_Print (0xff61) has an 'a' as its low byte but
// is no letter.
TEST(X11KeysTest, KeysymsBecomeThePlatformsKeysOnItsOwnLayout) {
  for (const auto& [keysym, key] : std::vector<std::pair<uint32_t, unsigned>>{
           {XK_a, 'A'}, {XK_0, '0'}, {XK_KP_Enter, VK_RETURN}, {XK_ISO_Left_Tab, VK_TAB}, {XK_F1, VK_F1},
           {XK_F12, VK_F12}, {XK_Alt_L, VK_MENU}, {XK_KP_9, VK_NUMPAD9}, {XK_minus, VK_OEM_MINUS},
           {XK_period, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2}, {XK_exclam, '1'}, {XK_asciitilde, VK_OEM_3},
           {XK_eacute, 0}, {NoSymbol, 0}, {XK_Print, 0}}) {
    EXPECT_EQ(VirtualKeyOf(keysym), key) << std::hex << keysym;
  }
}

TEST(X11KeysTest, HotKeysAreNamedAsThePlugInNamesThem) {
  EXPECT_EQ(ModifiersOf(Mod1Mask), unsigned{input::kAlt});
  EXPECT_EQ(ModifiersOf(ShiftMask | ControlMask | LockMask), unsigned{input::kShift | input::kControl});
  EXPECT_EQ(HotKeyName('A', ModifiersOf(Mod1Mask)), "Alt+A");
  EXPECT_EQ(HotKeyName(VK_F5, input::kControl | input::kShift), "Ctrl+Shift+F5");
  // Letters, digits and F1-F24 name a key; the codes just past each range do not.
  for (const auto& [key, name] : std::vector<std::pair<unsigned, std::string>>{
           {'0', "0"}, {'9', "9"}, {'A', "A"}, {'Z', "Z"}, {'0' - 1, ""}, {'9' + 1, ""}, {'A' - 1, ""}, {'Z' + 1, ""},
           {VK_F24, "F24"}, {VK_F1 - 1, ""}, {VK_F24 + 1, ""}}) {
    EXPECT_EQ(HotKeyName(key, input::kNone), name) << key;
  }
  EXPECT_EQ(HotKeyName(VK_MENU, input::kAlt), "") << "Alt alone names no hot key";
  EXPECT_EQ(HotKeyName(VK_RETURN, input::kAlt), "");
}

}  // namespace
}  // namespace terminal::desktop

#endif  // AG_HAVE_X11
