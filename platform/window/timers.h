// Timers: WM_TIMER to a window, or a call of a procedure, when an interval
// has passed on the clock. The queue keeps and fires them
// (platform/window/message_queue.h says in which order); this header is what
// a window's code needs to start and stop one without the pump.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// Replaces a timer with the same window and id. Intervals are clamped to
// [10, 0x7FFFFFFF] ms. A timer without a window gets a fresh id and needs a
// procedure. Returns the id, 0 on failure.
PLATFORM_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
PLATFORM_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
