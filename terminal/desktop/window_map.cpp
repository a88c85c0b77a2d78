#include "terminal/desktop/window_map.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/afx.h"
#include "terminal/app/window_dump.h"

namespace terminal::desktop {

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '\r') continue;
    out += c;
  }
  return out + "\"";
}

void Describe(HWND hwnd, int depth, std::string& out) {
  if (!::IsWindowVisible(hwnd)) return;
  const std::string cls = WindowClass(hwnd);
  RECT r;
  ::GetWindowRect(hwnd, &r);
  out += std::string(static_cast<size_t>(depth) * 2, ' ') + cls + " #" + std::to_string(::GetDlgCtrlID(hwnd)) + " " +
         Quoted(WindowText(hwnd)) + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right) + " " + std::to_string(r.bottom);
  if (cls == "ComboLBox" || cls == "ListBox") {
    out += " items=" + std::to_string(::SendMessage(hwnd, LB_GETCOUNT, 0, 0)) +
           " item-height=" + std::to_string(::SendMessage(hwnd, LB_GETITEMHEIGHT, 0, 0));
  } else if (cls == "SysListView32") {
    out += " rows=" + std::to_string(::SendMessage(hwnd, LVM_GETITEMCOUNT, 0, 0));
  }
  out += "\n";
  for (HWND c = ::GetWindow(hwnd, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) Describe(c, depth + 1, out);
}

}  // namespace

std::string WindowMap() {
  std::string out;
  for (HWND top : TopLevelWindows()) Describe(top, 0, out);
  return out;
}

bool WriteWindowMap(const std::string& path) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << WindowMap();
    if (!file) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  return !ec;
}

}  // namespace terminal::desktop
