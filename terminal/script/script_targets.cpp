#include "terminal/script/script_targets.h"

#include <cstdlib>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"
#include "platform/input/input_driver.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"

namespace terminal {

namespace {

bool IsButton(HWND hwnd) { return IsWindowClass(hwnd, "Button"); }

}  // namespace

bool IsList(HWND hwnd) {
  return IsWindowClass(hwnd, "ComboBox") || IsWindowClass(hwnd, "ListBox") || IsWindowClass(hwnd, "SysListView32");
}

bool IsListView(HWND hwnd) { return IsWindowClass(hwnd, "SysListView32"); }

bool Interactive(HWND hwnd) {
  return !IsWindowClass(hwnd, "Static") && !(IsButton(hwnd) && (GetWindowLong(hwnd, GWL_STYLE) & 0xF) == BS_GROUPBOX);
}

bool IsCheckable(HWND hwnd) { return IsButton(hwnd) && Interactive(hwnd); }

bool TakesText(HWND hwnd) { return IsWindowClass(hwnd, "Edit") || IsWindowClass(hwnd, "ComboBox"); }

ItemRef ParseItem(const std::string& word) {
  if (word.size() > 1 && word[0] == '#') {
    char* end = nullptr;
    const long index = std::strtol(word.c_str() + 1, &end, 10);
    if (*end == '\0') return {index, word};
  }
  return {std::nullopt, word};
}

LRESULT FindListRow(HWND list, const ItemRef& item) {
  const LRESULT rows = SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
  LRESULT index = item.index.value_or(-1);
  for (LRESULT row = 0; !item.index && row < rows && index < 0; ++row) {
    if (ListCell(list, row, 0) == item.text) index = row;
  }
  return index < rows ? index : -1;
}

bool ClickListRow(HWND list, LRESULT index, unsigned modifiers) {
  SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SendMessage(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  return platform::input::ClickAt(list, POINT{rect.left + 4, (rect.top + rect.bottom) / 2}, modifiers);
}

std::string Refusal(HWND control, const std::string& name) {
  if (!IsWindowVisible(control)) return name + " is hidden";
  for (HWND w = control; w != nullptr; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return w == control ? name + " is disabled" : name + " is in a disabled window";
  }
  return name + " refused the input";
}

bool FindHeaderItem(HWND list, const std::string& caption, HWND& header, int& item, std::string& error) {
  header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  if (header == nullptr) {
    error = "the list has no header";
    return false;
  }
  item = HeaderItemByCaption(header, caption);
  if (item < 0) {
    error = "no column \"" + caption + "\" in the list's header";
    return false;
  }
  return true;
}

}  // namespace terminal
