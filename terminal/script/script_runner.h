// Scripts: one action or check a line, performed through the input driver so
// a script exercises the same code a person does.
//
//   hotkey KEY                        the terminal's hot key, routed to the plug-in
//   select WINDOW CONTROL ITEM        pick an item of a combo box or list box, or a row of a list view
//   check WINDOW CONTROL on|off       click a check box until it is in that state
//   click WINDOW CONTROL              click a button (or any control)
//   type WINDOW CONTROL "text"        focus the control and type
//   key WINDOW CONTROL CHORD          focus the control and press Ctrl+C, Shift+E, Delete, ...
//   command WINDOW CONTROL ID         a menu command sent to the control
//   rows WINDOW CONTROL               print the list's visible rows ("ROW: " cells joined by TAB)
//   dump WINDOW                       print the window's controls, texts, states, selections
//   wait MS                           let time pass (timers fire)
//   expect-log "text"                 a later log line is exactly this text
//   expect-box "text"                 a later message box said exactly this
//
// A window is named by its caption in double quotes; a control by its
// numeric id or its text in double quotes; an item by its text or "#index"
// (a list view row by the text of its first cell or "#index").
// Inside quotes a backslash escapes a quote or a backslash; "#" outside
// quotes starts a comment. The first line that fails (a control that is
// disabled, hidden or missing, an expectation not met) ends the script.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace terminal {

class Host;

// Splits a line into words; quoted words keep their inner text. Nothing
// when a quote is left open (error says why).
std::optional<std::vector<std::string>> SplitScriptLine(const std::string& line, std::string& error);

class ScriptRunner {
 public:
  using HotKeyHandler = std::function<void(const std::string& key)>;

  ScriptRunner(Host& host, HotKeyHandler hotKey, std::FILE* out, std::FILE* err);

  // Runs the whole text; true when every line succeeded. `name` labels errors.
  bool Run(const std::string& text, const std::string& name);
  // One line (already without its comment); false with a message on failure.
  bool RunLine(const std::vector<std::string>& words, std::string& error);

  // Echo each line before running it (the demo does, so a reader can follow).
  bool echo = false;

 private:
  Host& m_host;
  HotKeyHandler m_hotKey;
  std::FILE* m_out;
  std::FILE* m_err;
  size_t m_logCursor = 0;
  size_t m_boxCursor = 0;
};

}  // namespace terminal
