#include "terminal/readout/list_text.h"

#include <cstring>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"

namespace terminal {

namespace {

// Where a text read through a fixed buffer starts, and how far it may grow:
// past that a reader takes what it got rather than ask for ever.
constexpr size_t kFirstBuffer = 256;
constexpr size_t kLongestText = size_t{1} << 24;

// Reads a text through `copy(buffer, size)`, which fills at most size - 1
// characters and a terminating zero. A text that filled the buffer may have
// been cut, so it is read again through one twice as large.
template <class Copy>
std::string ReadWhole(Copy copy) {
  std::string text(kFirstBuffer, '\0');
  for (;;) {
    std::memset(text.data(), 0, text.size());
    copy(text.data(), static_cast<int>(text.size()));
    const size_t length = std::strlen(text.c_str());
    if (length + 1 < text.size() || text.size() >= kLongestText) {
      text.resize(length);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

}  // namespace

std::vector<ListColumn> ListColumns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return {};
  const auto count = SendMessage(header, HDM_GETITEMCOUNT, 0, 0);
  if (count <= 0) return {};
  std::vector<int> order(static_cast<size_t>(count));
  if (!SendMessage(header, HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()))) {
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  }
  std::vector<ListColumn> columns;
  for (int index : order) columns.push_back({index, HeaderCaption(header, index)});
  return columns;
}

std::string ListCell(HWND list, LRESULT row, int column) {
  return ReadWhole([&](char* buffer, int size) {
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    SendMessage(list, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  });
}

std::string HeaderCaption(HWND header, int index) {
  return ReadWhole([&](char* buffer, int size) {
    HDITEM item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = size;
    SendMessage(header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  });
}

int HeaderItemByCaption(HWND header, const std::string& caption) {
  const int count = static_cast<int>(SendMessage(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (HeaderCaption(header, i) == caption) return i;
  }
  return -1;
}

}  // namespace terminal
