// The clipboard: one per process, opened by one window at a time.
//
// OpenClipboard fails while another window has it open. EmptyClipboard,
// SetClipboardData and GetClipboardData need it open. SetClipboardData
// takes the global memory block (platform/kernel/global_memory.h) and frees the
// one it replaces; EmptyClipboard frees them all. The sequence number
// counts changes, so a test can tell that nothing touched the clipboard.
#pragma once

#include <optional>
#include <string>

#include "platform/kernel/global_memory.h"
#include "platform/base/wintypes.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);  // null on failure (the caller keeps the block)
HANDLE GetClipboardData(UINT format);              // owned by the clipboard
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
HWND GetOpenClipboardWindow();
HWND GetClipboardOwner();
DWORD GetClipboardSequenceNumber();

namespace platform {
// The CF_TEXT text up to its terminating zero (or the block's end); nullopt
// when there is none. Reads without opening the clipboard.
std::optional<std::string> ClipboardText();
// Empties and closes the clipboard (tests).
void ResetClipboard();
}  // namespace platform
