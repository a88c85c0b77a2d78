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

  void FreeAll() {
    for (auto& [format, block] : data) ::GlobalFree(block);
    data.clear();
  }
};

Clipboard& Board() {
  static Clipboard board;
  return board;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Clipboard& board = Board();
  if (board.open && board.opener != owner) return FALSE;
  board.open = true;
  board.opener = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& board = Board();
  if (!board.open) return FALSE;
  board.open = false;
  board.opener = nullptr;
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

BOOL IsClipboardFormatAvailable(UINT format) { return Board().data.contains(format) ? TRUE : FALSE; }
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

void ResetClipboard() {
  Clipboard& board = Board();
  board.FreeAll();
  board.open = false;
  board.opener = nullptr;
  board.owner = nullptr;
}

}  // namespace platform
