#include "terminal/desktop/window_map.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/afx.h"
#include "platform/user/popup_menu_window.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"

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

std::string Hex(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  return text;
}

// handle=, and owner= for an owned top-level window.
std::string Identity(HWND hwnd) {
  std::string out = " handle=" + Hex(hwnd);
  if (HWND owner = ::GetWindow(hwnd, GW_OWNER); owner != nullptr) out += " owner=" + Hex(owner);
  return out;
}

std::string States(HWND hwnd) {
  std::string out;
  if (::GetActiveWindow() == hwnd) out += " active";
  if (::GetFocus() == hwnd) out += " focus";
  if (::GetCapture() == hwnd) out += " capture";
  if (!::IsWindowEnabled(hwnd)) out += " disabled";
  if (::IsIconic(hwnd)) out += " minimized";
  if (::IsZoomed(hwnd)) out += " maximized";
  return out;
}

// The lines a list box shows from its top, "|" between them ("\|" in a line).
std::string ShownLines(HWND hwnd) {
  RECT client;
  ::GetClientRect(hwnd, &client);
  const auto count = static_cast<int>(::SendMessage(hwnd, LB_GETCOUNT, 0, 0));
  const auto top = static_cast<int>(::SendMessage(hwnd, LB_GETTOPINDEX, 0, 0));
  std::string out;
  for (int i = std::max(top, 0), y = 0; i < count && y < client.bottom; ++i) {
    y += static_cast<int>(::SendMessage(hwnd, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0));
    const auto length = ::SendMessage(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    ::SendMessage(hwnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    if (i > top) out += '|';
    for (char c : text) {
      if (c == '|') out += '\\';
      out += c;
    }
  }
  return out;
}

// The header's captions left to right as shown, each item's screen rectangle.
void DescribeHeader(HWND header, std::string& out) {
  const int count = static_cast<int>(::SendMessage(header, HDM_GETITEMCOUNT, 0, 0));
  if (count <= 0) return;
  std::vector<int> order(static_cast<size_t>(count));
  ::SendMessage(header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  std::string captions;
  std::string rects;
  for (int index : order) {
    const std::string text = HeaderCaption(header, index);
    RECT r{};
    ::SendMessage(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT topLeft{r.left, r.top};
    POINT bottomRight{r.right, r.bottom};
    ::ClientToScreen(header, &topLeft);
    ::ClientToScreen(header, &bottomRight);
    if (!captions.empty()) {
      captions += "|";
      rects += ";";
    }
    for (const char c : text) {
      if (c != '|' && c != '"' && c != '\\' && c != '\n') captions += c;
    }
    rects += std::to_string(topLeft.x) + "," + std::to_string(topLeft.y) + "," + std::to_string(bottomRight.x) + "," +
             std::to_string(bottomRight.y);
  }
  out += " items=\"" + captions + "\" item-rects=" + rects;
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
    out += " rows=" + std::to_string(::SendMessage(hwnd, LVM_GETITEMCOUNT, 0, 0)) +
           " top=" + std::to_string(::SendMessage(hwnd, LVM_GETTOPINDEX, 0, 0));
  } else if (cls == "SysHeader32") {
    DescribeHeader(hwnd, out);
  } else if (const platform::MenuRecord* menu = platform::PopupMenuOf(hwnd)) {
    out += " entries=" + std::to_string(menu->entries.size()) + " hot=" + std::to_string(menu->hot);
  }
  for (const auto& [bar, name] : {std::pair{SB_HORZ, " hscroll="}, std::pair{SB_VERT, " vscroll="}}) {
    if (const auto info = platform::ShownScrollInfo(hwnd, bar)) {
      out += name + std::to_string(info->nPos) + "," + std::to_string(info->nPage) + "," +
             std::to_string(info->nMin) + "," + std::to_string(info->nMax);
    }
  }
  out += Identity(hwnd) + States(hwnd);
  if (cls == "ListBox") out += " lines=" + Quoted(ShownLines(hwnd));
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
