// The script's verbs: one table (verb_table.cpp) gives each verb its name,
// the shape of its arguments and its handler; the handlers live by family:
//
//   control_verbs.cpp  hotkey select check click right-click type key command
//   window_verbs.cpp   dump snapshot snapshot-menu snapshot-box resize wait expect-log expect-box
//   list_verbs.cpp     rows select-more sort filter filter-button expect-column drag
//   sheet_verbs.cpp    expect-sheet
//   chooser_verbs.cpp  menu answer-color answer-font snapshot-chooser
//   server_verbs.cpp   server-rows expect-server-rows
//
// Before a handler runs, the runner has checked the number of words and
// found the window and control the verb names (script_targets.h).
#pragma once

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"

namespace terminal {

class Host;

// A script line as its verb sees it: the words, and the window and control
// they name, found before the verb runs.
struct ScriptLine {
  const std::vector<std::string>& words;
  std::string& error;
  HWND window = nullptr;
  HWND control = nullptr;

  const std::string& ControlName() const { return words[2]; }
  // Sets the line's error; false, for `return line.Fail(...)`.
  bool Fail(std::string why) {
    error = std::move(why);
    return false;
  }
};

// What a verb may use of the run: the terminal, the hot-key router, the
// outputs and how far the expectations have read the log and the boxes.
struct ScriptSession {
  using HotKeyHandler = std::function<bool(const std::string& key, std::string& error)>;

  Host& host;
  HotKeyHandler hotKey;
  std::FILE* out;
  std::FILE* err;
  size_t logCursor = 0;
  size_t boxCursor = 0;
};

using VerbHandler = bool (*)(ScriptSession&, ScriptLine&);

struct Verb {
  // What the words after the verb name: nothing to find first, a window
  // (word 1) or a window and one of its controls (words 1 and 2).
  enum class Target { kNothing, kWindow, kControl };

  std::string_view name;
  std::string_view usage;  // shown as "usage: ..." when the word count is wrong
  size_t words;            // the verb included
  bool atLeast;            // `words` is the fewest the verb takes
  Target target;
  bool (*wanted)(HWND);  // the kind of control it acts on, among controls of one name
  VerbHandler run;
};

// Every verb; null from FindVerb when there is none of that name.
std::span<const Verb> ScriptVerbs();
const Verb* FindVerb(std::string_view name);

namespace verbs {

bool HotKey(ScriptSession&, ScriptLine&);
bool Select(ScriptSession&, ScriptLine&);
bool Check(ScriptSession&, ScriptLine&);
bool Click(ScriptSession&, ScriptLine&);
bool RightClick(ScriptSession&, ScriptLine&);
bool Type(ScriptSession&, ScriptLine&);
bool Key(ScriptSession&, ScriptLine&);
bool Command(ScriptSession&, ScriptLine&);

bool Dump(ScriptSession&, ScriptLine&);
bool Snapshot(ScriptSession&, ScriptLine&);
bool SnapshotMenu(ScriptSession&, ScriptLine&);
bool SnapshotBox(ScriptSession&, ScriptLine&);
bool Resize(ScriptSession&, ScriptLine&);
bool Wait(ScriptSession&, ScriptLine&);
bool ExpectLog(ScriptSession&, ScriptLine&);
bool ExpectBox(ScriptSession&, ScriptLine&);

bool Rows(ScriptSession&, ScriptLine&);
bool SelectMore(ScriptSession&, ScriptLine&);
bool Sort(ScriptSession&, ScriptLine&);
bool Filter(ScriptSession&, ScriptLine&);
bool FilterButton(ScriptSession&, ScriptLine&);
bool ExpectColumn(ScriptSession&, ScriptLine&);
bool Drag(ScriptSession&, ScriptLine&);

bool ExpectSheet(ScriptSession&, ScriptLine&);

bool Menu(ScriptSession&, ScriptLine&);
bool AnswerColor(ScriptSession&, ScriptLine&);
bool AnswerFont(ScriptSession&, ScriptLine&);
bool SnapshotChooser(ScriptSession&, ScriptLine&);

bool ServerRows(ScriptSession&, ScriptLine&);
bool ExpectServerRows(ScriptSession&, ScriptLine&);

}  // namespace verbs

}  // namespace terminal
