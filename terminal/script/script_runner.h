// Scripts: one action or check a line, performed through the input driver so
// a script exercises the same code a person does. The verbs are listed once,
// in verb_table.cpp, and written by family (script_verbs.h).
//
//   hotkey KEY                        the hot key, routed to the plug-in that registered it (others fail)
//   select WINDOW CONTROL ITEM        pick an item of a combo box or list box, or a row of a list view
//   check WINDOW CONTROL on|off       click a check box until it is in that state
//   click WINDOW CONTROL              click a button (or any control)
//   right-click WINDOW CONTROL ["Caption"]
//                                     click a control with the right button in its middle or, with a
//                                     caption, on that column's caption in a list's header
//   type WINDOW CONTROL "text"        focus the control (a combo box: its edit field) and type
//   key WINDOW CONTROL CHORD          focus the control and press Ctrl+C, Shift+E, Delete, ...
//   command WINDOW CONTROL ID         a menu command sent to the control
//   rows WINDOW CONTROL               print a list's rows: for a list view first "COLS: " and the
//                                     column captions, then "ROW: " and the cells, in display order,
//                                     joined by TAB; for a combo or list box "ROW: " and each item
//   dump WINDOW                       print the window's controls, texts, states, items, selections
//   snapshot WINDOW FILE              write a picture of the window: SVG when FILE ends in .svg, else PNG
//   snapshot-menu FILE                a PNG of the last pop-up menu shown (the entry chosen highlighted)
//   snapshot-box FILE                 a PNG of the last message box shown
//   snapshot-chooser FILE             the next chooser (the colour chooser, shown as the "Color" dialog,
//                                     or the "Font Dialog") is pictured into FILE as it opens, then
//                                     cancelled
//   resize WINDOW WIDTH HEIGHT        size the window (in pixels, its frame included) where it stands
//   wait MS                           let time pass (timers fire)
//   expect-log "text"                 a later log line is exactly this text
//   expect-box "text"                 a later message box said exactly this
//   select-more WINDOW LIST ROW       Ctrl+click a list view's row: it joins (or leaves) the selection
//   sort WINDOW LIST "Caption"        click the caption of that column in the list's header
//   filter WINDOW LIST "Caption" "t"  open that column's box in the header's filter row, select its
//                                     text with Ctrl+A, type t over it (empty clears it), press Enter
//   filter-button WINDOW LIST "Caption"
//                                     press the button at the right of that column's box in the header's
//                                     filter row (the list's pop-up of the column's texts opens: a window
//                                     without caption, named "" by the lines that follow)
//   menu "entry text"                 the following pop-up menus choose the enabled entry of this text
//                                     (none found: dismissed); "" dismisses them again. An entry of
//                                     the terminal's List menu ("Add Custom Column...", "Delete
//                                     Custom Column...", the dots optional) is chosen at once, for
//                                     the list that has or last had the focus (fails when greyed)
//   answer-color RRGGBB               the next colour chooser picks this colour (hexadecimal red,
//                                     green, blue); without it choosers are cancelled
//   answer-font "Face" SIZE           the next "Font Dialog" selects this face and point size and
//                                     presses OK (a face or size it does not offer: Cancel, and
//                                     the error output says why); without it the dialog is cancelled
//   server-rows                       print "SERVER: " and each group the server stand-in holds, in
//                                     the order it stored them, fields joined by TAB
//   expect-server-rows WINDOW LIST    the list view shows exactly the groups the server holds, in any
//                                     order, each as the allowed groups' list shows a stored group
//                                     (listed_group.h)
//   expect-column WINDOW LIST "Caption" CELL...
//                                     that column shows exactly these cells, top to bottom (none: the
//                                     list is empty)
//   drag WINDOW LIST ITEM... TO-ITEM  select those rows and drag them with the mouse onto TO-ITEM of
//                                     the same list ("#count": the empty space below the last row);
//   drag WINDOW LIST ITEM... WINDOW2 LIST2 TO-ITEM
//                                     the same onto a row of another list. A list scrolls by itself
//                                     while the pointer waits above or below its rows, but only when
//                                     they are its own: a row of the other list out of sight fails
//   expect-sheet WINDOW LIST [FILE]   the exported workbook FILE (relative: in the terminal folder,
//                                     --home; without FILE the newest in its Export folder, where
//                                     exports land) holds the list's captions, then exactly the rows
//                                     the list shows, in its order (a number cell equals a list text
//                                     that reads as the same number)
//
// A window is named by its caption in double quotes. A control by its
// numeric id, its text, its label ("Exhg-Seg" names the combo box under
// it) or its symbolic resource name (IDC_EXCHANGE); see control_names.h.
// An item by its text or "#index" (a list view row by the text of its
// first cell or "#index").
// Inside quotes a backslash escapes a quote or a backslash; "#" outside
// quotes starts a comment. The first line that fails (a control that is
// disabled, hidden or missing, an expectation not met) ends the script.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace terminal {

class Host;
struct ScriptSession;

// Splits a line into words; quoted words keep their inner text. Nothing
// when a quote is left open (error says why).
std::optional<std::vector<std::string>> SplitScriptLine(const std::string& line, std::string& error);

class ScriptRunner {
 public:
  // Routes a hot key; false with the reason when no plug-in registered it.
  using HotKeyHandler = std::function<bool(const std::string& key, std::string& error)>;

  ScriptRunner(Host& host, HotKeyHandler hotKey, std::FILE* out, std::FILE* err);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs the whole text; true when every line succeeded. `name` labels errors.
  bool Run(const std::string& text, const std::string& name);
  // One line (already without its comment); false with a message on failure.
  bool RunLine(const std::vector<std::string>& words, std::string& error);

  // Echo the script as it runs: comments and blank lines as they are, each
  // action as "> line" before it runs (the demo does, so it reads as a story).
  bool echo = false;
  // Called after every line that ran, failed or not (--snapshots writes its
  // pictures here); false with a reason fails the run.
  std::function<bool(std::string& error)> afterLine;

 private:
  // The run's state as the verbs see it (script_verbs.h).
  std::unique_ptr<ScriptSession> m_session;
};

}  // namespace terminal
