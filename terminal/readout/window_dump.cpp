#include "terminal/readout/window_dump.h"

#include <cstdlib>
#include <vector>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"
#include "terminal/readout/control_names.h"
#include "terminal/readout/list_text.h"

namespace terminal {

namespace {

// A dump names this many items of a combo box, then counts the rest.
constexpr LRESULT kDumpedItems = 20;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void Dump(HWND hwnd, int depth, std::string& out) {
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out += DescribeWindow(hwnd);
  out += '\n';
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    Dump(child, depth + 1, out);
  }
}

}  // namespace

HWND FindTopLevelWindow(const std::string& caption) {
  HWND hidden = nullptr;
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (WindowText(w) != caption) continue;
    if (IsWindowVisible(w)) return w;
    if (hidden == nullptr) hidden = w;
  }
  return hidden;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> tops;
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  return tops;
}

std::string DescribeWindow(HWND hwnd) {
  std::string line = WindowClass(hwnd);
  if (const int id = GetDlgCtrlID(hwnd); id != 0 && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) {
    line += " #" + std::to_string(id);
    if (const std::string name = ControlNames::Shipped().NameOf(id); !name.empty()) line += " " + name;
  }
  line += " " + Quoted(WindowText(hwnd));
  if (const std::string label = LabelOf(hwnd); !label.empty()) line += " label=" + Quoted(label);
  if (!IsWindowVisible(hwnd)) line += " hidden";
  if (!IsWindowEnabled(hwnd)) line += " disabled";
  if (IsWindowClass(hwnd, "Button")) {
    const auto check = SendMessage(hwnd, BM_GETCHECK, 0, 0);
    if (check == BST_CHECKED) line += " checked";
  } else if (IsWindowClass(hwnd, "ComboBox")) {
    const auto count = SendMessage(hwnd, CB_GETCOUNT, 0, 0);
    const auto selected = SendMessage(hwnd, CB_GETCURSEL, 0, 0);
    line += " items=" + std::to_string(count);
    if (selected >= 0)
      line += " selected=" + Quoted(ItemText(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(selected)));
    if (count > 0) {
      line += " [";
      for (LRESULT i = 0; i < count && i < kDumpedItems; ++i) {
        line += (i > 0 ? " " : "") + Quoted(ItemText(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i)));
      }
      if (count > kDumpedItems) line += " ... " + std::to_string(count - kDumpedItems) + " more";
      line += "]";
    }
  } else if (IsWindowClass(hwnd, "ListBox")) {
    const auto count = SendMessage(hwnd, LB_GETCOUNT, 0, 0);
    line += " items=" + std::to_string(count);
  } else if (IsWindowClass(hwnd, "SysListView32")) {
    line += " columns=[";
    bool first = true;
    for (const auto& column : ListColumns(hwnd)) {
      line += (first ? "" : " ") + Quoted(column.caption);
      first = false;
    }
    line += "] rows=" + std::to_string(SendMessage(hwnd, LVM_GETITEMCOUNT, 0, 0));
  }
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  line += " [" + std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
          std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) + "]";
  return line;
}

std::string DumpWindowTree(HWND root) {
  std::string out;
  if (root != nullptr) Dump(root, 0, out);
  return out;
}

}  // namespace terminal
