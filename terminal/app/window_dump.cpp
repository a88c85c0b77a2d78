#include "terminal/app/window_dump.h"

#include <strings.h>

#include <cstdlib>
#include <vector>

#include "platform/afx.h"

namespace terminal {

namespace {

std::string TextOf(HWND hwnd) {
  const int length = GetWindowTextLength(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowText(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void Dump(HWND hwnd, int depth, std::string& out) {
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out += DescribeWindow(hwnd);
  out += '\n';
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    Dump(child, depth + 1, out);
  }
}

}  // namespace

std::string WindowClass(HWND hwnd) {
  char name[64] = {};
  GetClassName(hwnd, name, sizeof name);
  return name;
}

bool IsWindowClass(HWND hwnd, const char* className) {
  return strcasecmp(WindowClass(hwnd).c_str(), className) == 0;
}

std::string ItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, WPARAM index) {
  const auto length = SendMessage(hwnd, lengthMessage, index, 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessage(hwnd, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

HWND FindTopLevelWindow(const std::string& caption) {
  HWND hidden = nullptr;
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (TextOf(w) != caption) continue;
    if (IsWindowVisible(w)) return w;
    if (hidden == nullptr) hidden = w;
  }
  return hidden;
}

HWND FindControl(HWND window, const std::string& name) {
  if (window == nullptr || name.empty()) return nullptr;
  char* end = nullptr;
  const long id = std::strtol(name.c_str(), &end, 10);
  if (*end == '\0') return GetDlgItem(window, static_cast<int>(id));
  // By text: a breadth-first walk, so a control of the window wins over one
  // nested deeper (a combo's own edit field).
  std::vector<HWND> level{window};
  while (!level.empty()) {
    std::vector<HWND> next;
    for (HWND parent : level) {
      for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (TextOf(child) == name) return child;
        next.push_back(child);
      }
    }
    level.swap(next);
  }
  return nullptr;
}

std::string DescribeWindow(HWND hwnd) {
  std::string line = WindowClass(hwnd);
  if (const int id = GetDlgCtrlID(hwnd); id != 0 && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) {
    line += " #" + std::to_string(id);
  }
  line += " \"" + TextOf(hwnd) + "\"";
  if (!IsWindowVisible(hwnd)) line += " hidden";
  if (!IsWindowEnabled(hwnd)) line += " disabled";
  if (IsWindowClass(hwnd, "Button")) {
    const auto check = SendMessage(hwnd, BM_GETCHECK, 0, 0);
    if (check == BST_CHECKED) line += " checked";
  } else if (IsWindowClass(hwnd, "ComboBox")) {
    const auto count = SendMessage(hwnd, CB_GETCOUNT, 0, 0);
    const auto selected = SendMessage(hwnd, CB_GETCURSEL, 0, 0);
    line += " items=" + std::to_string(count);
    if (selected >= 0) line += " selected=\"" + ItemText(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(selected)) + "\"";
  } else if (IsWindowClass(hwnd, "ListBox")) {
    const auto count = SendMessage(hwnd, LB_GETCOUNT, 0, 0);
    line += " items=" + std::to_string(count);
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
