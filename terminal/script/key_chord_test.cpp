#include "terminal/script/key_chord.h"

#include <gtest/gtest.h>

#include "platform/afx.h"
#include "platform/input/input_driver.h"

namespace terminal {
namespace {

using platform::input::kAlt;
using platform::input::kControl;
using platform::input::kShift;

TEST(KeyChord, NamesModifiersAndOneKey) {
  const struct {
    const char* chord;
    UINT vk;
    unsigned modifiers;
  } good[] = {
      {"a", 'A', 0},           {"7", '7', 0},           {"Delete", VK_DELETE, 0}, {"ESC", VK_ESCAPE, 0},
      {"PageDown", VK_NEXT, 0}, {"F1", VK_F1, 0},        {"f12", VK_F12, 0},       {"Shift+F10", VK_F10, kShift},
      {"Ctrl+A", 'A', kControl}, {"control+Shift+alt+End", VK_END, kControl | kShift | kAlt},
  };
  for (const auto& c : good) {
    const auto chord = ParseKeyChord(c.chord);
    ASSERT_TRUE(chord) << c.chord;
    EXPECT_EQ(chord->vk, c.vk) << c.chord;
    EXPECT_EQ(chord->modifiers, c.modifiers) << c.chord;
  }
  // No key, an unknown modifier or name, a function key out of range or
  // followed by more.
  for (const char* bad : {"", "Ctrl+", "+A", "A+", "Meta+A", "Ctrl+Bogus", "F0", "F13", "F1x", "x5", "Ff", "!"}) {
    EXPECT_FALSE(ParseKeyChord(bad)) << bad;
  }
}

}  // namespace
}  // namespace terminal
