// --snapshots DIR: after each script line, a PNG of every top-level window
// whose picture changed (or that is new), numbered in the order written:
// DIR/001-allowed-groups.png, DIR/002-view-allowed-group.png, ...
// Pop-up menus shown during a line are written after it ("NNN-menu.png",
// the chosen entry highlighted). Message boxes are written as they show ("NNN-error.png" for a box without
// caption). Each picture written is announced on `out` as "SNAPSHOT: path".
// A top-level window is a visible window without an owner, or an owned one
// with a caption of its own (an owned tool-tip or list shows in its owner's
// picture).
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/render/image.h"
#include "platform/user/message_box.h"

namespace terminal {

class SnapshotWriter {
 public:
  SnapshotWriter(std::string folder, std::FILE* out);

  // Makes the folder; false with the reason when it cannot be made.
  bool Prepare(std::string& error);
  // Writes the pictures that changed since the last call; false with the
  // reason when one cannot be written.
  bool Capture(std::string& error);
  // Writes the picture of a message box as it is shown (boxes are no
  // windows: they show once, when asked); false with the reason on failure.
  bool WriteMessageBox(const platform::MessageBoxRecord& box, std::string& error);

 private:
  struct Last {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
  };
  std::string m_folder;
  std::FILE* m_out;
  int m_count = 0;
  std::map<HWND, Last> m_last;
  size_t m_menusSeen = 0;

  bool Write(const platform::Image& image, const std::string& caption, std::string& error);
};

// A caption as a file-name word: lower-case letters and digits, runs of
// anything else as one '-' ("View Allowed Group" -> "view-allowed-group").
std::string FileWord(const std::string& caption);

}  // namespace terminal
