// The verbs that look at the terminal as it runs: a window's dump and
// picture and those of the last menu and message box, the passing of time, and the log lines and message boxes seen.
#include "terminal/script/script_verbs.h"

#include <cstdlib>

#include "platform/afx.h"
#include "platform/input/input_driver.h"
#include "platform/kernel/kernel.h"
#include "platform/render/window_renderer.h"
#include "terminal/host/host.h"
#include "terminal/readout/window_dump.h"
#include "terminal/script/popup_pictures.h"

namespace terminal {

namespace input = platform::input;

namespace {

// Whether a line from `cursor` on is the line's text; the cursor moves past it.
bool Expect(ScriptLine& line, const std::vector<std::string>& seen, size_t& cursor, const char* what) {
  for (size_t i = cursor; i < seen.size(); ++i) {
    if (seen[i] == line.words[1]) {
      cursor = i + 1;
      return true;
    }
  }
  return line.Fail(std::string("expected ") + what + " \"" + line.words[1] + "\"");
}

}  // namespace

namespace verbs {

bool Dump(ScriptSession& session, ScriptLine& line) {
  std::fputs(DumpWindowTree(line.window).c_str(), session.out);
  return true;
}

bool Snapshot(ScriptSession&, ScriptLine& line) {
  std::string why;
  return platform::WriteWindowPicture(line.window, line.words[2], &why) || line.Fail(why);
}

bool SnapshotMenu(ScriptSession&, ScriptLine& line) { return WriteLastMenuPicture(line.words[1], line.error); }

bool SnapshotBox(ScriptSession&, ScriptLine& line) { return WriteLastMessageBoxPicture(line.words[1], line.error); }

bool Resize(ScriptSession&, ScriptLine& line) {
  char* endWidth = nullptr;
  char* endHeight = nullptr;
  const long width = std::strtol(line.words[2].c_str(), &endWidth, 10);
  const long height = std::strtol(line.words[3].c_str(), &endHeight, 10);
  if (*endWidth != '\0' || *endHeight != '\0' || width < 1 || height < 1 || width > 10000 || height > 10000) {
    return line.Fail("resize takes a width and a height in pixels, from 1 to 10000");
  }
  // The window keeps its place; it lays itself out as a drag of its corner does.
  ::SetWindowPos(line.window, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  platform::PumpMessages();
  return true;
}

bool Wait(ScriptSession&, ScriptLine& line) {
  char* end = nullptr;
  const long ms = std::strtol(line.words[1].c_str(), &end, 10);
  if (line.words[1].empty() || *end != '\0' || ms < 0) return line.Fail("wait takes milliseconds");
  if (platform::GetClockMode() == platform::ClockMode::Manual) input::Advance(static_cast<uint64_t>(ms));
  else Sleep(static_cast<DWORD>(ms));
  return true;
}

bool ExpectLog(ScriptSession& session, ScriptLine& line) {
  return Expect(line, session.host.LogLines(), session.logCursor, "log line");
}

bool ExpectBox(ScriptSession& session, ScriptLine& line) {
  std::vector<std::string> seen;
  for (const auto& box : platform::MessageBoxLog()) seen.push_back(box.text);
  return Expect(line, seen, session.boxCursor, "message box");
}

}  // namespace verbs

}  // namespace terminal
