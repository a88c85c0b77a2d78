#include "platform/user/clipboard.h"

#include <cstring>
#include <map>

#include "platform/kernel/kernel.h"

namespace {

struct Clipboard {
  bool open = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  std::map<UINT, HANDLE> data;
  DWORD sequence = 0;
  DWORD sequenceAtOpen = 0;
  platform::ClipboardBridge bridge;

  void FreeAll() {
    for (auto& [format, block] : data) ::GlobalFree(block);
    data.clear();
  }
};

Clipboard& Board() {
  static Clipboard board;
  return board;
}

// A block holding `text` and its terminating zero; null when none can be had.
HGLOBAL TextBlock(const std::string& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  auto* bytes = static_cast<char*>(::GlobalLock(block));
  if (bytes == nullptr) return nullptr;
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  ::GlobalUnlock(block);
  return block;
}

// What another program put on the shared clipboard replaces this one's
// contents, as if it had emptied the clipboard and set the text.
void TakeFromBridge(Clipboard& board) {
  if (!board.bridge.fetch) return;
  const std::optional<std::string> text = board.bridge.fetch();
  if (!text) return;
  HGLOBAL block = TextBlock(*text);
  if (block == nullptr) return;
  board.FreeAll();
  board.data[CF_TEXT] = block;
  board.owner = nullptr;
  ++board.sequence;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Clipboard& board = Board();
  if (board.open && board.opener != owner) return FALSE;
  if (!board.open) TakeFromBridge(board);
  board.open = true;
  board.opener = owner;
  board.sequenceAtOpen = board.sequence;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& board = Board();
  if (!board.open) return FALSE;
  board.open = false;
  board.opener = nullptr;
  if (board.sequence != board.sequenceAtOpen && board.bridge.published) {
    if (const std::optional<std::string> text = platform::ClipboardText()) board.bridge.published(*text);
  }
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& board = Board();
  if (!board.open) return FALSE;
  board.FreeAll();
  board.owner = board.opener;
  ++board.sequence;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard& board = Board();
  if (!board.open || format == 0 || ::GlobalSize(data) == 0) return nullptr;
  if (auto it = board.data.find(format); it != board.data.end() && it->second != data) ::GlobalFree(it->second);
  board.data[format] = data;
  ++board.sequence;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  const Clipboard& board = Board();
  if (!board.open) return nullptr;
  const auto it = board.data.find(format);
  return it == board.data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard& board = Board();
  if (format == CF_TEXT && !board.open) TakeFromBridge(board);
  return board.data.contains(format) ? TRUE : FALSE;
}
int CountClipboardFormats() { return static_cast<int>(Board().data.size()); }
HWND GetOpenClipboardWindow() { return Board().open ? Board().opener : nullptr; }
HWND GetClipboardOwner() { return Board().owner; }
DWORD GetClipboardSequenceNumber() { return Board().sequence; }

namespace platform {

std::optional<std::string> ClipboardText() {
  const auto& data = Board().data;
  const auto it = data.find(CF_TEXT);
  if (it == data.end()) return std::nullopt;
  const SIZE_T size = ::GlobalSize(it->second);
  const auto* bytes = static_cast<const char*>(::GlobalLock(it->second));
  if (bytes == nullptr) return std::nullopt;
  std::string text(bytes, strnlen(bytes, size));
  ::GlobalUnlock(it->second);
  return text;
}

void SetClipboardBridge(ClipboardBridge bridge) { Board().bridge = std::move(bridge); }

void ResetClipboard() {
  Clipboard& board = Board();
  board.bridge = {};
  board.FreeAll();
  board.open = false;
  board.opener = nullptr;
  board.owner = nullptr;
}

}  // namespace platform
