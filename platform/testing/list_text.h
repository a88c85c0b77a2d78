// Test helper: a list view's cell or a header's caption read whole, for
// tests that compare what a list shows. The controls cut a text at the
// caller's buffer, so the buffer grows until the text fits.
#pragma once

#include <cstring>
#include <string>

#include "platform/window/messages.h"
#include "platform/window/winapi.h"
#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"

namespace platform::testing {

// Reads through `copy(buffer, size)`, which writes at most size - 1
// characters and a zero; a full buffer is read again, twice as large.
template <class Copy>
std::string ReadGrowing(Copy copy) {
  std::string text(64, '\0');
  for (;;) {
    std::memset(text.data(), 0, text.size());
    copy(text.data(), static_cast<int>(text.size()));
    const size_t length = std::strlen(text.c_str());
    if (length + 1 < text.size() || text.size() >= (size_t{1} << 24)) {
      text.resize(length);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

inline std::string ListCellText(HWND list, int row, int column) {
  return ReadGrowing([&](char* buffer, int size) {
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    ::SendMessage(list, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  });
}

inline std::string HeaderItemText(HWND header, int index) {
  return ReadGrowing([&](char* buffer, int size) {
    HDITEM item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = size;
    ::SendMessage(header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  });
}

}  // namespace platform::testing
