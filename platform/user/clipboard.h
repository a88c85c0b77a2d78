// The clipboard: one per process, opened by one window at a time.
//
// OpenClipboard fails while another window has it open. EmptyClipboard,
// SetClipboardData and GetClipboardData need it open. SetClipboardData
// takes the global memory block (platform/kernel/global_memory.h) and frees the
// one it replaces; EmptyClipboard frees them all. The sequence number
// counts changes, so a test can tell that nothing touched the clipboard.
#pragma once

#include "platform/base/export.h"

#include <functional>
#include <optional>
#include <string>

#include "platform/kernel/global_memory.h"
#include "platform/base/wintypes.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;

PLATFORM_API BOOL OpenClipboard(HWND owner);
PLATFORM_API BOOL CloseClipboard();
PLATFORM_API BOOL EmptyClipboard();
PLATFORM_API HANDLE SetClipboardData(UINT format, HANDLE data);  // null on failure (the caller keeps the block)
PLATFORM_API HANDLE GetClipboardData(UINT format);               // owned by the clipboard
PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
PLATFORM_API int CountClipboardFormats();
PLATFORM_API HWND GetOpenClipboardWindow();
PLATFORM_API HWND GetClipboardOwner();
PLATFORM_API DWORD GetClipboardSequenceNumber();

namespace platform {
// A bridge to a clipboard other programs share (the X display's, in the
// desktop mode); without one the clipboard stays within the process.
struct ClipboardBridge {
  // Told the CF_TEXT text each time the clipboard closes after a change
  // that left text on it.
  std::function<void(const std::string& text)> published;
  // Asked as the clipboard opens, and before CF_TEXT is looked for without
  // opening it: the text another program holds now, which replaces what is
  // here, or nullopt to keep this clipboard's own.
  std::function<std::optional<std::string>()> fetch;
};
// Installs a bridge; an empty one (both functions empty) removes it.
PLATFORM_API void SetClipboardBridge(ClipboardBridge bridge);

// The CF_TEXT text up to its terminating zero (or the block's end); nullopt
// when there is none. Reads without opening the clipboard. For tests: not
// exported.
std::optional<std::string> ClipboardText();
// Empties and closes the clipboard. The framework's own (AfxWinTerm, the
// floors' test resets): not exported.
void ResetClipboard();
}  // namespace platform
