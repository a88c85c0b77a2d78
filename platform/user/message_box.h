// Message boxes, headless: every box is recorded in order in a log that
// tests and the terminal read, and answered by a replaceable responder.
//
// The default responder answers as a person pressing Enter would: the box's
// default button (MB_DEFBUTTON1..4 of its buttons), so IDOK for an MB_OK box.
// The caption is recorded as the caller gave it: none (a null caption) is
// kept apart from an empty one. CWnd::MessageBox is owned by its window;
// AfxMessageBox by the active window, if any.
#pragma once

#include "platform/base/export.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

PLATFORM_API int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
PLATFORM_API int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);

namespace platform {

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  std::optional<std::string> caption;  // nullopt: no caption given
  UINT type = MB_OK;
  int answer = 0;  // filled in once answered
};

using MessageBoxResponder = std::function<int(const MessageBoxRecord&)>;
// Installs a responder; an empty function restores the default.
PLATFORM_API void SetMessageBoxResponder(MessageBoxResponder responder);
// The buttons of a box of this type, left to right (IDOK, IDCANCEL, ...).
PLATFORM_API std::vector<int> MessageBoxButtons(UINT type);
// The answer the default responder gives to a box of this type.
PLATFORM_API int DefaultMessageBoxAnswer(UINT type);

// Copies of the boxes shown so far, oldest first.
PLATFORM_API std::vector<MessageBoxRecord> MessageBoxLog();
// For tests, which link the platform's archive: not exported.
void ClearMessageBoxLog();

}  // namespace platform
