// The keyboard: which keys are down, and what characters keys make.
//
// The layout is a US keyboard. The input driver (platform/input/input_driver.h) sets key
// states as it presses and releases keys; GetKeyState and GetAsyncKeyState
// both report that state (the driver delivers each key message as it
// presses it, so the state at the time of the message and the current state
// are the same). Shift, Control and Alt are the generic keys (VK_SHIFT):
// nothing here asks which hand's key it was.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

// High bit (the value is negative) while the key is down; low bit toggles
// with each press (Caps Lock's state).
PLATFORM_API SHORT GetKeyState(int vk);
PLATFORM_API SHORT GetAsyncKeyState(int vk);
// The key and shift state that type `ch`: low byte the key code, high byte
// 1 for Shift; -1 when no key types it.
PLATFORM_API SHORT VkKeyScan(char ch);

namespace platform {

PLATFORM_API void SetKeyDown(UINT vk, bool down);
bool IsKeyDown(UINT vk);
// Whether the last key or mouse-button message the pump delivered was a key
// (true too before any input): a dialog opened from the keyboard shows its
// focus rectangle at once, one opened by a click after a key is pressed.
bool LastInputWasKeyboard();
// Releases every key and clears toggles. The framework's own (AfxWinTerm,
// the floors' test resets): not exported.
void ResetKeyboard();

}  // namespace platform
