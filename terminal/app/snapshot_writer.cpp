#include "terminal/app/snapshot_writer.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/render/menu_picture.h"
#include "platform/render/message_box_picture.h"
#include "platform/afx.h"
#include "platform/render/window_renderer.h"
#include "platform/window/winapi.h"
#include "terminal/readout/window_readers.h"

namespace terminal {
namespace {

// The module's windows. The terminal's own frame is left out: its log
// changes with every line, and a script pictures it on demand.
std::vector<HWND> PictureWindows() {
  struct Found {
    HWND frame;
    std::vector<HWND> windows;
  } found{AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->m_hWnd : nullptr, {}};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* into = reinterpret_cast<Found*>(p);
        const auto style = static_cast<DWORD>(::GetWindowLongPtr(w, GWL_STYLE));
        const bool captioned = (style & WS_CAPTION) == WS_CAPTION;
        if ((style & WS_VISIBLE) && (::GetParent(w) == nullptr || captioned) && w != into->frame) {
          into->windows.push_back(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

}  // namespace

std::string FileWord(const std::string& caption) {
  std::string word;
  for (unsigned char c : caption) {
    if (std::isalnum(c) && c < 0x80) {
      word += static_cast<char>(std::tolower(c));
    } else if (!word.empty() && word.back() != '-') {
      word += '-';
    }
  }
  while (!word.empty() && word.back() == '-') word.pop_back();
  return word.empty() ? "window" : word;
}

SnapshotWriter::SnapshotWriter(std::string folder, std::FILE* out) : m_folder(std::move(folder)), m_out(out) {}

bool SnapshotWriter::Prepare(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(m_folder, ec);
  // Whether made now or there before, a folder is what the pictures need.
  if (!std::filesystem::is_directory(m_folder)) {
    error = "cannot make the snapshot folder " + m_folder + (ec ? ": " + ec.message() : "");
    return false;
  }
  return true;
}

bool SnapshotWriter::Capture(std::string& error) {
  // Pop-up menus are no windows either: each one shown since the last line.
  const std::vector<platform::MenuRecord> menus = platform::MenuLog();
  if (menus.size() < m_menusSeen) m_menusSeen = 0;
  for (; m_menusSeen < menus.size(); ++m_menusSeen) {
    if (!Write(platform::RenderPopupMenu(menus[m_menusSeen]), "menu", error)) return false;
  }
  for (HWND w : PictureWindows()) {
    platform::Image image = platform::RenderWindow(w);
    Last& last = m_last[w];
    if (last.width == image.width && last.height == image.height && last.pixels == image.pixels) continue;
    if (!Write(image, WindowText(w), error)) return false;
    last = Last{image.width, image.height, std::move(image.pixels)};
  }
  return true;
}

bool SnapshotWriter::WriteMessageBox(const platform::MessageBoxRecord& box, std::string& error) {
  return Write(platform::RenderMessageBox(box), box.caption.value_or("Error"), error);
}

bool SnapshotWriter::Write(const platform::Image& image, const std::string& caption, std::string& error) {
  char number[16];
  std::snprintf(number, sizeof(number), "%03d-", m_count + 1);
  const std::string path = m_folder + "/" + number + FileWord(caption) + ".png";
  if (!platform::SavePng(image, path)) {
    error = "cannot write " + path;
    return false;
  }
  ++m_count;
  std::fprintf(m_out, "SNAPSHOT: %s\n", path.c_str());
  return true;
}

}  // namespace terminal
