// Posted messages, timers, the pump and modal loops, on one clock.
//
// The clock is manual by default (headless: time moves only when a test or a
// script advances it) and real time for an interactive terminal. Posted
// messages come first, then WM_PAINT for invalidated windows, then timers,
// as on the platform. Timers
// fire in due order (ties in the order they were set); a timer that fired is
// next due one interval after the moment it fired.
//
// Threads: PostMessage and PostQuitMessage may be called from any thread
// (a network thread hands replies to the user-interface thread this way);
// everything else belongs to the user-interface thread.
//
// Every message the pump delivers goes through PreTranslateMessage of the
// target's object and then its ancestors' (platform::PreTranslate); if none
// consumes it, TranslateMessage adds WM_CHAR for a character key, and
// DispatchMessage calls the window (or the timer's procedure).
#pragma once

#include "platform/base/export.h"

#include <cstdint>
#include <functional>

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"
#include "platform/window/timers.h"

PLATFORM_API BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
PLATFORM_API void PostQuitMessage(int exitCode);
// Takes the next message (posted, then paint, then a due timer) without waiting.
PLATFORM_API BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
PLATFORM_API BOOL TranslateMessage(const MSG* msg);
PLATFORM_API LRESULT DispatchMessage(const MSG* msg);

// Registered messages: the same name (compared without regard to case) gives
// the same number for the life of the process, from 0xC000 up; 0 for an empty
// name or when the range is used up.
PLATFORM_API UINT RegisterWindowMessage(LPCSTR name);


namespace platform {

enum class ClockMode { Manual, RealTime };
PLATFORM_API void SetClockMode(ClockMode mode);
PLATFORM_API ClockMode GetClockMode();
// Milliseconds on the current clock.
uint64_t ClockNow();

// Manual clock only: moves time forward by `ms`, stopping at each timer that
// falls due on the way to deliver it and everything it posted, in order.
// Throws std::logic_error on the real-time clock.
void AdvanceClock(uint64_t ms);

// The PreTranslateMessage walk: the target's object, then each ancestor's
// (the parent of a child window, the owner of a popup), then the main
// window's (AfxGetMainWnd) when the way up did not pass it. True when consumed.
// Defined with CWnd's dispatch (cwnd_dispatch.cpp), above the queue.
bool PreTranslate(MSG& msg);

// Delivers posted messages and due timers until none is left; returns how
// many were delivered. Never waits.
PLATFORM_API int PumpMessages();
// Delivers one message or due timer; false when there was none.
bool PumpOne();

// The terminal's loop: runs until WM_QUIT and returns its exit code. It waits
// for posted messages and (in real time) for timers.
PLATFORM_API int RunMessageLoop();

// A nested loop for modal windows, running until done() is true. The first
// time nothing is left to deliver it asks the modal responder, if one is
// installed, to act on `modal` (it may drive input through platform/input/input_driver.h
// and should end the dialog). After that, when nothing is left to deliver,
// it waits on the real-time clock, and gives up (Abandoned) on the manual
// clock, where nothing more can happen. When WM_QUIT arrives the loop ends
// and the quit stays pending for the outer loop.
enum class ModalEnd { Done, Abandoned, Quit };
PLATFORM_API ModalEnd RunModalLoop(HWND modal, const std::function<bool()>& done);
using ModalResponder = std::function<void(HWND modal)>;
PLATFORM_API void SetModalResponder(ModalResponder responder);

// An outside source of input, such as a display connection. While one is
// installed, the loops wait by calling it instead of sleeping: it blocks for
// at most `timeoutMs` (-1: no timer is pending) and turns what arrives into
// input-driver calls or posted messages. A message posted from another thread
// is seen within kExternalWaitSliceMs, the longest single wait asked for.
using ExternalWait = std::function<void(int timeoutMs)>;
inline constexpr int kExternalWaitSliceMs = 100;
// Installs the source; an empty function restores waiting on the queue alone.
PLATFORM_API void SetExternalWait(ExternalWait wait);
// How many messages the loops have delivered so far: a cheap sign that a
// window may have changed since it was last looked at.
PLATFORM_API uint64_t DeliveredMessageCount();

// Removes the timers of a window being destroyed.
void KillWindowTimers(HWND hwnd);

// Drops posted messages, timers and a pending quit, and puts the manual
// clock back to 0; windows are left alone. The framework's own (AfxWinTerm,
// the floors' test resets): not exported.
void ResetMessageQueue();

// Provided by the keyboard: the character a key press produces with the
// current modifier state, or 0 when it produces none.
char CharForKey(UINT vk);
// Provided by the keyboard: the pump tells it each message it delivers, so
// that it knows whether the keyboard or the mouse was used last.
void NoteInputMessage(UINT message);

}  // namespace platform
