#include "terminal/script/script_runner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/kernel/kernel.h"
#include "platform/kernel/module.h"
#include "platform/render/window_renderer.h"
#include "platform/comctl/list_view.h"
#include "platform/user/combo_box.h"
#include "platform/user/menu.h"
#include "terminal/inspect/control_names.h"
#include "terminal/inspect/list_text.h"
#include "terminal/host/host.h"
#include "terminal/host/scrip_master.h"
#include "terminal/inspect/window_dump.h"
#include "terminal/script/chooser_answers.h"
#include "terminal/script/listed_group.h"
#include "terminal/script/sheet_reader.h"
#include "terminal/server/server_standin.h"

namespace terminal {

namespace input = platform::input;

namespace {

// An item named in a script: "#3" is index 3, anything else its text.
struct ItemRef {
  std::optional<LRESULT> index;
  std::string text;
};

ItemRef ParseItem(const std::string& word) {
  if (word.size() > 1 && word[0] == '#') {
    char* end = nullptr;
    const long index = std::strtol(word.c_str() + 1, &end, 10);
    if (*end == '\0') return {index, word};
  }
  return {std::nullopt, word};
}

// The index an item names in a combo or list box: its own, or the item whose
// text is exactly the word.
LRESULT FindItem(HWND control, const ItemRef& item, UINT findExact) {
  if (item.index) return *item.index;
  return SendMessage(control, findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.text.c_str()));
}

// Clicks item `index` of a list box, scrolling it into view first as a
// person would with the scroll bar.
bool ClickListItem(HWND list, LRESULT index) {
  SendMessage(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  if (SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    return false;
  }
  return input::ClickAt(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

bool IsList(HWND hwnd) {
  return IsWindowClass(hwnd, "ComboBox") || IsWindowClass(hwnd, "ListBox") || IsWindowClass(hwnd, "SysListView32");
}
bool IsButton(HWND hwnd) { return IsWindowClass(hwnd, "Button"); }
// What a person can click or give keys to: not a label or a group box.
bool Interactive(HWND hwnd) {
  return !IsWindowClass(hwnd, "Static") && !(IsButton(hwnd) && (GetWindowLong(hwnd, GWL_STYLE) & 0xF) == BS_GROUPBOX);
}
bool IsCheckable(HWND hwnd) { return IsButton(hwnd) && Interactive(hwnd); }
bool TakesText(HWND hwnd) { return IsWindowClass(hwnd, "Edit") || IsWindowClass(hwnd, "ComboBox"); }

// Why a control took no input: what a person would see of it.
std::string Refusal(HWND control, const std::string& name) {
  if (!IsWindowVisible(control)) return name + " is hidden";
  for (HWND w = control; w != nullptr; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return w == control ? name + " is disabled" : name + " is in a disabled window";
  }
  return name + " refused the input";
}

// A combo box with an edit field takes keys and text there.
HWND KeyTarget(HWND control) {
  if (IsWindowClass(control, "ComboBox")) {
    if (HWND edit = GetDlgItem(control, kComboEditId)) return edit;
  }
  return control;
}

const std::map<std::string, UINT>& NamedKeys() {
  static const std::map<std::string, UINT> keys{
      {"delete", VK_DELETE}, {"del", VK_DELETE},    {"backspace", VK_BACK}, {"enter", VK_RETURN}, {"return", VK_RETURN},
      {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},    {"tab", VK_TAB},        {"space", VK_SPACE},  {"home", VK_HOME},
      {"end", VK_END},       {"up", VK_UP},         {"down", VK_DOWN},      {"left", VK_LEFT},    {"right", VK_RIGHT},
      {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"insert", VK_INSERT},
  };
  return keys;
}

// "Ctrl+Shift+C" into a key and its modifiers.
bool ParseChord(const std::string& chord, UINT& vk, unsigned& modifiers) {
  modifiers = input::kNone;
  std::string part;
  std::istringstream parts(chord);
  std::vector<std::string> pieces;
  while (std::getline(parts, part, '+')) pieces.push_back(part);
  if (pieces.empty() || pieces.back().empty()) return false;
  for (size_t i = 0; i + 1 < pieces.size(); ++i) {
    std::string m = pieces[i];
    for (auto& c : m) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (m == "ctrl" || m == "control") modifiers |= input::kControl;
    else if (m == "shift") modifiers |= input::kShift;
    else if (m == "alt") modifiers |= input::kAlt;
    else return false;
  }
  std::string key = pieces.back();
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
    vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(key[0])));
    return true;
  }
  for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key.size() >= 2 && key[0] == 'f') {
    const int n = std::atoi(key.c_str() + 1);
    if (n >= 1 && n <= 12) {
      vk = VK_F1 + static_cast<UINT>(n - 1);
      return true;
    }
  }
  const auto it = NamedKeys().find(key);
  if (it == NamedKeys().end()) return false;
  vk = it->second;
  return true;
}

// Clicks a list view's row as a person would, with `modifiers` held.
bool ClickListRow(HWND list, LRESULT index, unsigned modifiers) {
  SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SendMessage(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  return input::ClickAt(list, POINT{rect.left + 4, (rect.top + rect.bottom) / 2}, modifiers);
}

// A list view's row by "#index" or by the text of its first cell; -1 none.
LRESULT FindListRow(HWND list, const ItemRef& item) {
  const LRESULT rows = SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
  LRESULT index = item.index.value_or(-1);
  for (LRESULT row = 0; !item.index && row < rows && index < 0; ++row) {
    if (ListCell(list, row, 0) == item.text) index = row;
  }
  return index < rows ? index : -1;
}

bool IsListView(HWND hwnd) { return IsWindowClass(hwnd, "SysListView32"); }

}  // namespace

std::optional<std::vector<std::string>> SplitScriptLine(const std::string& line, std::string& error) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string word;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
          word += line[i + 1];
          i += 2;
        } else if (line[i] == '"') {
          closed = true;
          ++i;
          break;
        } else {
          word += line[i++];
        }
      }
      if (!closed) {
        error = "unclosed quote";
        return std::nullopt;
      }
      words.push_back(std::move(word));
    } else {
      const size_t end = line.find_first_of(" \t\r", i);
      words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? line.size() : end;
    }
  }
  return words;
}

// A script line as its verb sees it: the words, and the window and control
// they name, found before the verb runs.
struct ScriptRunner::Line {
  const std::vector<std::string>& words;
  std::string& error;
  HWND window = nullptr;
  HWND control = nullptr;

  const std::string& ControlName() const { return words[2]; }
  bool Fail(std::string why) {
    error = std::move(why);
    return false;
  }
};

struct ScriptRunner::Verb {
  enum class Target { kNothing, kWindow, kControl };
  const char* usage;
  size_t words;  // the verb included
  Target target;
  bool (*wanted)(HWND);  // the kind of control it acts on, among controls of one name
  bool (ScriptRunner::*run)(Line&);
  bool atLeast = false;  // `words` is the fewest the verb takes
};

const std::map<std::string, ScriptRunner::Verb>& ScriptRunner::Verbs() {
  using T = Verb::Target;
  static const std::map<std::string, Verb> verbs{
      {"hotkey", {"hotkey KEY", 2, T::kNothing, nullptr, &ScriptRunner::HotKey}},
      {"select", {"select WINDOW CONTROL ITEM", 4, T::kControl, IsList, &ScriptRunner::Select}},
      {"check", {"check WINDOW CONTROL on|off", 4, T::kControl, IsCheckable, &ScriptRunner::Check}},
      {"click", {"click WINDOW CONTROL", 3, T::kControl, Interactive, &ScriptRunner::Click}},
      {"type", {"type WINDOW CONTROL \"text\"", 4, T::kControl, TakesText, &ScriptRunner::Type}},
      {"key", {"key WINDOW CONTROL CHORD", 4, T::kControl, Interactive, &ScriptRunner::Key}},
      {"command", {"command WINDOW CONTROL ID", 4, T::kControl, Interactive, &ScriptRunner::Command}},
      {"rows", {"rows WINDOW CONTROL", 3, T::kControl, IsList, &ScriptRunner::Rows}},
      {"dump", {"dump WINDOW", 2, T::kWindow, nullptr, &ScriptRunner::Dump}},
      {"snapshot", {"snapshot WINDOW FILE", 3, T::kWindow, nullptr, &ScriptRunner::Snapshot}},
      {"wait", {"wait MS", 2, T::kNothing, nullptr, &ScriptRunner::Wait}},
      {"expect-log", {"expect-log \"text\"", 2, T::kNothing, nullptr, &ScriptRunner::ExpectLog}},
      {"expect-box", {"expect-box \"text\"", 2, T::kNothing, nullptr, &ScriptRunner::ExpectBox}},
      {"select-more", {"select-more WINDOW LIST ROW", 4, T::kControl, IsListView, &ScriptRunner::SelectMore}},
      {"sort", {"sort WINDOW LIST \"Caption\"", 4, T::kControl, IsListView, &ScriptRunner::Sort}},
      {"filter", {"filter WINDOW LIST \"Caption\" \"text\"", 5, T::kControl, IsListView, &ScriptRunner::Filter}},
      {"filter-button",
       {"filter-button WINDOW LIST \"Caption\"", 4, T::kControl, IsListView, &ScriptRunner::FilterButton}},
      {"expect-sheet",
       {"expect-sheet WINDOW LIST [FILE]", 3, T::kControl, IsListView, &ScriptRunner::ExpectSheet, true}},
      {"menu", {"menu \"entry text\"", 2, T::kNothing, nullptr, &ScriptRunner::Menu}},
      {"answer-color", {"answer-color RRGGBB", 2, T::kNothing, nullptr, &ScriptRunner::AnswerColor}},
      {"answer-font", {"answer-font \"Face\" SIZE", 3, T::kNothing, nullptr, &ScriptRunner::AnswerFont}},
      {"server-rows", {"server-rows", 1, T::kNothing, nullptr, &ScriptRunner::ServerRows}},
      {"expect-server-rows",
       {"expect-server-rows WINDOW LIST", 3, T::kControl, IsListView, &ScriptRunner::ExpectServerRows}},
      {"drag",
       {"drag WINDOW LIST ITEM... [WINDOW2 LIST2] TO-ITEM", 5, T::kControl, IsListView, &ScriptRunner::Drag, true}},
      {"expect-column",
       {"expect-column WINDOW LIST \"Caption\" CELL...", 4, T::kControl, IsListView, &ScriptRunner::ExpectColumn,
        true}},
  };
  return verbs;
}

ScriptRunner::ScriptRunner(Host& host, HotKeyHandler hotKey, std::FILE* out, std::FILE* err)
    : m_host(host), m_hotKey(std::move(hotKey)), m_out(out), m_err(err) {}

bool ScriptRunner::Run(const std::string& text, const std::string& name) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::string error;
    auto words = SplitScriptLine(line, error);
    if (words && words->empty()) {
      if (echo) std::fprintf(m_out, "%s\n", line.c_str());
      continue;
    }
    if (echo && words) std::fprintf(m_out, "> %s\n", line.c_str());
    bool ok = words && RunLine(*words, error);
    std::string afterError;
    if (words && afterLine && !afterLine(afterError) && ok) {
      ok = false;
      error = afterError;
    }
    if (!ok) {
      std::fprintf(m_err, "%s:%d: %s\n", name.c_str(), number, error.c_str());
      return false;
    }
  }
  return true;
}

bool ScriptRunner::RunLine(const std::vector<std::string>& words, std::string& error) {
  const auto found = Verbs().find(words[0]);
  if (found == Verbs().end()) {
    error = "unknown command " + words[0];
    return false;
  }
  const Verb& verb = found->second;
  if (verb.atLeast ? words.size() < verb.words : words.size() != verb.words) {
    error = std::string("usage: ") + verb.usage;
    return false;
  }
  Line line{words, error};
  if (verb.target != Verb::Target::kNothing) {
    line.window = FindTopLevelWindow(words[1]);
    if (line.window == nullptr) return line.Fail("no window \"" + words[1] + "\"");
  }
  if (verb.target == Verb::Target::kControl) {
    line.control = FindControl(line.window, words[2], verb.wanted ? std::function<bool(HWND)>(verb.wanted) : nullptr);
    if (line.control == nullptr) return line.Fail("no control " + words[2] + " in \"" + words[1] + "\"");
  }
  if (!(this->*verb.run)(line)) return false;
  platform::PumpMessages();
  return true;
}

bool ScriptRunner::HotKey(Line& line) { return m_hotKey(line.words[1], line.error); }

bool ScriptRunner::Select(Line& line) {
  HWND target = line.control;
  const ItemRef item = ParseItem(line.words[3]);
  const std::string& name = line.ControlName();
  if (IsWindowClass(target, "ComboBox")) {
    const LRESULT index = FindItem(target, item, CB_FINDSTRINGEXACT);
    if (index < 0 || index >= SendMessage(target, CB_GETCOUNT, 0, 0))
      return line.Fail("no item " + item.text + " in " + name);
    // The drop-down button at the right end drops the list of any kind of combo.
    RECT client{};
    GetClientRect(target, &client);
    if (!input::ClickAt(target, POINT{client.right - 4, client.bottom / 2})) return line.Fail(Refusal(target, name));
    HWND list = GetDlgItem(target, kComboListId);
    if (list == nullptr || !ClickListItem(list, index)) return line.Fail("the list of " + name + " did not drop down");
    return true;
  }
  if (IsWindowClass(target, "ListBox")) {
    const LRESULT index = FindItem(target, item, LB_FINDSTRINGEXACT);
    if (index < 0 || index >= SendMessage(target, LB_GETCOUNT, 0, 0))
      return line.Fail("no item " + item.text + " in " + name);
    return ClickListItem(target, index) || line.Fail(Refusal(target, name));
  }
  if (IsWindowClass(target, "SysListView32")) {
    const LRESULT index = FindListRow(target, item);
    if (index < 0) return line.Fail("no row " + item.text + " in " + name);
    return ClickListRow(target, index, input::kNone) || line.Fail(Refusal(target, name));
  }
  return line.Fail(name + " is not a combo box, list box or list view");
}

bool ScriptRunner::Check(Line& line) {
  const std::string& state = line.words[3];
  if (state != "on" && state != "off") return line.Fail("check takes on or off");
  const LRESULT wanted = state == "on" ? BST_CHECKED : BST_UNCHECKED;
  if (SendMessage(line.control, BM_GETCHECK, 0, 0) == wanted) return true;
  if (!input::Click(line.control)) return line.Fail(Refusal(line.control, line.ControlName()));
  if (SendMessage(line.control, BM_GETCHECK, 0, 0) != wanted)
    return line.Fail(line.ControlName() + " did not become " + state);
  return true;
}

bool ScriptRunner::Click(Line& line) {
  return input::Click(line.control) || line.Fail(Refusal(line.control, line.ControlName()));
}

bool ScriptRunner::Type(Line& line) {
  if (!input::Focus(KeyTarget(line.control))) return line.Fail(Refusal(line.control, line.ControlName()));
  return input::TypeText(line.words[3]) || line.Fail(Refusal(line.control, line.ControlName()));
}

bool ScriptRunner::Key(Line& line) {
  UINT vk = 0;
  unsigned modifiers = 0;
  if (!ParseChord(line.words[3], vk, modifiers)) return line.Fail("unknown key chord " + line.words[3]);
  HWND target = KeyTarget(line.control);
  const std::string& name = line.ControlName();
  if (!IsWindowVisible(target) || !IsWindowEnabled(line.control) || !IsWindowEnabled(target)) {
    return line.Fail(Refusal(target, name));
  }
  if (!input::Focus(target)) {
    // A control may pass the focus on to a child of its own; that is its way of taking it.
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(line.control, focus)) {
      if (focus == nullptr || !input::Focus(focus)) return line.Fail(Refusal(target, name));
      return line.Fail(name + " did not take the focus (it went to " + DescribeWindow(focus) + ")");
    }
  }
  if (!input::PressKey(vk, modifiers)) return line.Fail(line.words[3] + " did not reach " + name);
  return true;
}

bool ScriptRunner::Command(Line& line) {
  if (!IsWindowEnabled(line.control) || !IsWindowVisible(line.control)) {
    return line.Fail(Refusal(line.control, line.ControlName()));
  }
  char* end = nullptr;
  const long id = std::strtol(line.words[3].c_str(), &end, 10);
  if (*end != '\0' || id <= 0 || id > 0xFFFF) return line.Fail("command takes a number from 1 to 65535");
  PostMessage(line.control, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  return true;
}

bool ScriptRunner::Rows(Line& line) {
  HWND target = line.control;
  auto items = [&](UINT countMessage, UINT lengthMessage, UINT textMessage) {
    for (LRESULT i = 0, n = SendMessage(target, countMessage, 0, 0); i < n; ++i) {
      std::fprintf(m_out, "ROW: %s\n", ItemText(target, lengthMessage, textMessage, static_cast<WPARAM>(i)).c_str());
    }
    return true;
  };
  if (IsWindowClass(target, "ListBox")) return items(LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
  if (IsWindowClass(target, "ComboBox")) return items(CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
  if (!IsWindowClass(target, "SysListView32"))
    return line.Fail(line.ControlName() + " is not a list this terminal can read");
  // Columns and cells in display order, as a person reads the list.
  const auto columns = ListColumns(target);
  std::string header;
  for (size_t i = 0; i < columns.size(); ++i) header += (i > 0 ? "\t" : "") + columns[i].caption;
  std::fprintf(m_out, "COLS: %s\n", header.c_str());
  for (LRESULT row = 0, n = SendMessage(target, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::string cells;
    for (size_t i = 0; i < columns.size(); ++i) cells += (i > 0 ? "\t" : "") + ListCell(target, row, columns[i].index);
    std::fprintf(m_out, "ROW: %s\n", cells.c_str());
  }
  return true;
}

bool ScriptRunner::Dump(Line& line) {
  std::fputs(DumpWindowTree(line.window).c_str(), m_out);
  return true;
}

bool ScriptRunner::Snapshot(Line& line) {
  std::string why;
  return platform::WriteWindowPicture(line.window, line.words[2], &why) || line.Fail(why);
}

bool ScriptRunner::Wait(Line& line) {
  char* end = nullptr;
  const long ms = std::strtol(line.words[1].c_str(), &end, 10);
  if (line.words[1].empty() || *end != '\0' || ms < 0) return line.Fail("wait takes milliseconds");
  if (platform::GetClockMode() == platform::ClockMode::Manual) input::Advance(static_cast<uint64_t>(ms));
  else Sleep(static_cast<DWORD>(ms));
  return true;
}

bool ScriptRunner::ExpectLog(Line& line) { return Expect(line, m_host.LogLines(), m_logCursor, "log line"); }

bool ScriptRunner::ExpectBox(Line& line) {
  std::vector<std::string> seen;
  for (const auto& box : platform::MessageBoxLog()) seen.push_back(box.text);
  return Expect(line, seen, m_boxCursor, "message box");
}

bool ScriptRunner::SelectMore(Line& line) {
  const ItemRef item = ParseItem(line.words[3]);
  const LRESULT index = FindListRow(line.control, item);
  if (index < 0) return line.Fail("no row " + item.text + " in " + line.ControlName());
  return ClickListRow(line.control, index, input::kControl) || line.Fail(Refusal(line.control, line.ControlName()));
}

// The header of a list view and the item captioned as the line's third word.
static bool FindHeaderItem(HWND list, const std::string& caption, HWND& header, int& item, std::string& error) {
  header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  if (header == nullptr) {
    error = "the list has no header";
    return false;
  }
  item = HeaderItemByCaption(header, caption);
  if (item < 0) {
    error = "no column \"" + caption + "\" in the list's header";
    return false;
  }
  return true;
}

bool ScriptRunner::Sort(Line& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindHeaderItem(line.control, line.words[3], header, item, line.error)) return false;
  RECT rect{};
  SendMessage(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
  // The caption's half of the item: below it a filter row may take the click.
  return input::ClickAt(header, POINT{(rect.left + rect.right) / 2, rect.top + 3}) ||
         line.Fail(Refusal(header, "the header of " + line.ControlName()));
}

// The header of the line's list and its item captioned as the line's third
// word, when the header shows its filter row.
static bool FindFilterBox(HWND list, const std::string& caption, const std::string& name, HWND& header, int& item,
                          std::string& error) {
  if (!FindHeaderItem(list, caption, header, item, error)) return false;
  if (!(GetWindowLong(header, GWL_STYLE) & HDS_FILTERBAR)) {
    error = "the header of " + name + " shows no filter row (Ctrl+F shows it)";
    return false;
  }
  return true;
}

bool ScriptRunner::FilterButton(Line& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindFilterBox(line.control, line.words[3], line.ControlName(), header, item, line.error)) return false;
  // The button fills the right end of the box, in the filter row below the
  // caption. A person first scrolls the list until the button shows.
  auto button = [&] {
    RECT rect{};
    SendMessage(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return POINT{rect.right - 3, rect.bottom - 3};
  };
  POINT inList = button();
  MapWindowPoints(header, line.control, &inList, 1);
  RECT client{};
  GetClientRect(line.control, &client);
  if (inList.x < client.left || inList.x >= client.right) {
    SendMessage(line.control, LVM_SCROLL, static_cast<WPARAM>(inList.x - (client.right - 10)), 0);
    platform::PumpMessages();
  }
  return input::ClickAt(header, button()) || line.Fail(Refusal(header, "the header of " + line.ControlName()));
}

bool ScriptRunner::Filter(Line& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindFilterBox(line.control, line.words[3], line.ControlName(), header, item, line.error)) return false;
  // Opens the box's edit field as a click on it does, replaces its text and
  // commits with Enter. The old text is selected with Home and Shift+End, not
  // Ctrl+A: the list sees the keys of its filter boxes first, and Ctrl+A there
  // selects every row.
  SendMessage(header, HDM_EDITFILTER, static_cast<WPARAM>(item), FALSE);
  platform::PumpMessages();
  HWND edit = GetFocus();
  if (edit == nullptr || !IsChild(header, edit))
    return line.Fail("the filter box of " + line.words[3] + " did not open");
  if (!input::PressKey(VK_HOME) || !input::PressKey(VK_END, input::kShift) || !input::PressKey(VK_DELETE) ||
      (!line.words[4].empty() && !input::TypeText(line.words[4])) || !input::PressKey(VK_RETURN)) {
    return line.Fail("the filter box of " + line.words[3] + " refused the text");
  }
  return true;
}

namespace {

// Where a drag aims at row `index` of a list: inside its first column, at
// mid-height; the row just after the last one is the empty space below.
POINT RowPoint(HWND list, LRESULT index) {
  const LRESULT rows = SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
  RECT rect{};
  rect.left = LVIR_LABEL;
  if (index < rows) {
    SendMessage(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  } else if (rows > 0) {
    SendMessage(list, LVM_GETITEMRECT, static_cast<WPARAM>(rows - 1), reinterpret_cast<LPARAM>(&rect));
    const LONG height = rect.bottom - rect.top;
    rect.top += height;
    rect.bottom += height;
  } else {
    const LRESULT header = SendMessage(list, LVM_GETHEADER, 0, 0);
    RECT headerRect{};
    if (header != 0) GetWindowRect(reinterpret_cast<HWND>(header), &headerRect);
    rect = RECT{0, headerRect.bottom - headerRect.top, 0, headerRect.bottom - headerRect.top + 8};
  }
  return POINT{rect.left + 8, (rect.top + rect.bottom) / 2};
}

bool RowVisible(HWND list, LRESULT index) {
  const LRESULT top = SendMessage(list, LVM_GETTOPINDEX, 0, 0);
  return index >= top && index <= top + SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0);
}

}  // namespace

// drag WINDOW LIST ITEM... TO-ITEM moves rows within a list;
// drag WINDOW LIST ITEM... WINDOW2 LIST2 TO-ITEM moves them to another list.
// The rows are selected (a click, then Ctrl+clicks), the button goes down on
// the first and the pointer moves until the list starts its drag, then to
// TO-ITEM ("#count" is the empty space below the last row), holding it
// above or below the rows while the list scrolls there by its timer.
bool ScriptRunner::Drag(Line& line) {
  const std::vector<std::string>& w = line.words;
  HWND target = line.control;
  size_t itemsEnd = w.size() - 1;
  if (w.size() >= 7) {
    if (HWND window = FindTopLevelWindow(w[w.size() - 3]); window != nullptr) {
      if (HWND other = FindControl(window, w[w.size() - 2], IsListView); other != nullptr) {
        target = other;
        itemsEnd = w.size() - 3;
      }
    }
  }
  std::vector<LRESULT> rows;
  for (size_t i = 3; i < itemsEnd; ++i) {
    const ItemRef item = ParseItem(w[i]);
    const LRESULT row = FindListRow(line.control, item);
    if (row < 0) return line.Fail("no row " + item.text + " in " + line.ControlName());
    rows.push_back(row);
  }
  const ItemRef to = ParseItem(w.back());
  LRESULT toRow = FindListRow(target, to);
  if (toRow < 0 && to.index && *to.index == SendMessage(target, LVM_GETITEMCOUNT, 0, 0)) toRow = *to.index;
  if (toRow < 0) return line.Fail("no row " + to.text + " to drop on");

  for (size_t k = 0; k < rows.size(); ++k) {
    if (!ClickListRow(line.control, rows[k], k == 0 ? input::kNone : input::kControl)) {
      return line.Fail(Refusal(line.control, line.ControlName()));
    }
  }
  SendMessage(line.control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows.front()), FALSE);
  const POINT start = RowPoint(line.control, rows.front());
  if (!input::ButtonDown(line.control, start)) return line.Fail(Refusal(line.control, line.ControlName()));
  input::MouseMove(line.control,
                   POINT{start.x + 2 * platform::kListDragThreshold, start.y + 2 * platform::kListDragThreshold});
  if (GetCapture() != line.control) {
    input::ButtonUp(line.control, start);
    return line.Fail(line.ControlName() + " does not drag its rows");
  }
  // A row out of sight: the pointer waits above or below the rows, one
  // scroll timer tick at a time, until the list brings it into view.
  for (int tick = 0; !RowVisible(target, toRow) && tick < 10000; ++tick) {
    const bool up = toRow < SendMessage(target, LVM_GETTOPINDEX, 0, 0);
    RECT client{};
    GetClientRect(target, &client);
    input::MouseMove(target, POINT{8, up ? 1 : client.bottom + 4});
    input::Advance(100);
  }
  const POINT end = RowPoint(target, toRow);
  input::MouseMove(target, end);
  input::ButtonUp(target, end);
  return GetCapture() == nullptr || line.Fail("the drag did not end");
}

bool ScriptRunner::Menu(Line& line) {
  platform::SetMenuResponder(line.words[1].empty() ? platform::MenuResponder()
                                                   : platform::ChooseMenuEntry(line.words[1]));
  return true;
}

bool ScriptRunner::AnswerColor(Line& line) { return AnswerNextColorChooser(line.words[1], line.error); }

bool ScriptRunner::AnswerFont(Line& line) {
  return AnswerNextFontDialog(line.words[1], line.words[2], m_err, line.error);
}

bool ScriptRunner::ServerRows(Line& line) {
  try {
    for (const std::string& row : m_host.Server().Groups()) std::fprintf(m_out, "SERVER: %s\n", row.c_str());
  } catch (const std::exception& e) {
    return line.Fail(std::string("the server's store cannot be read: ") + e.what());
  }
  return true;
}

bool ScriptRunner::ExpectServerRows(Line& line) {
  // Each list cell by its caption, so that a moved column is still found.
  const auto columns = ListColumns(line.control);
  std::vector<int> indexOf;
  for (std::string_view caption : kListedGroupCaptions) {
    const auto found =
        std::find_if(columns.begin(), columns.end(), [&](const ListColumn& c) { return c.caption == caption; });
    if (found == columns.end())
      return line.Fail(line.ControlName() + " has no column \"" + std::string(caption) + "\"");
    indexOf.push_back(found->index);
  }
  std::multiset<std::string> shown;
  for (LRESULT row = 0, n = SendMessage(line.control, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::string cells;
    for (size_t i = 0; i < indexOf.size(); ++i) cells += (i > 0 ? "\t" : "") + ListCell(line.control, row, indexOf[i]);
    shown.insert(std::move(cells));
  }
  std::multiset<std::string> held;
  try {
    const ScripMaster& scrips = m_host.Scrips();
    const BseInstrumentOf instrumentOf = [&](const std::string& symbol) {
      const Scrip* scrip = scrips.FindTradingSymbol(symbol);
      return scrip != nullptr ? scrip->instrument : std::string();
    };
    for (const std::string& stored : m_host.Server().Groups()) {
      const auto cells = ListedGroup(stored, instrumentOf);
      if (!cells) return line.Fail("the server holds a group of another shape: " + stored);
      std::string joined;
      for (size_t i = 0; i < cells->size(); ++i) joined += (i > 0 ? "\t" : "") + (*cells)[i];
      held.insert(std::move(joined));
    }
  } catch (const std::exception& e) {
    return line.Fail(std::string("the server's store cannot be read: ") + e.what());
  }
  if (shown == held) return true;
  // Name one row each way: what the list shows beyond the store, what it lacks.
  std::vector<std::string> extra, missing;
  std::set_difference(shown.begin(), shown.end(), held.begin(), held.end(), std::back_inserter(extra));
  std::set_difference(held.begin(), held.end(), shown.begin(), shown.end(), std::back_inserter(missing));
  std::string why = line.ControlName() + " shows " + std::to_string(shown.size()) + " rows, the server holds " +
                    std::to_string(held.size());
  if (!extra.empty()) why += "; shown, not held: \"" + extra.front() + "\"";
  if (!missing.empty()) why += "; held, not shown: \"" + missing.front() + "\"";
  return line.Fail(why);
}

bool ScriptRunner::ExpectColumn(Line& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindHeaderItem(line.control, line.words[3], header, item, line.error)) return false;
  int column = -1;
  for (const ListColumn& c : ListColumns(line.control)) {
    if (c.caption == line.words[3]) column = c.index;
  }
  const std::vector<std::string> wanted(line.words.begin() + 4, line.words.end());
  std::vector<std::string> shown;
  for (LRESULT row = 0, n = SendMessage(line.control, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    shown.push_back(ListCell(line.control, row, column));
  }
  if (shown == wanted) return true;
  std::string cells;
  for (const std::string& cell : shown) cells += " \"" + cell + "\"";
  return line.Fail("the column \"" + line.words[3] + "\" of " + line.ControlName() + " shows" +
                   (cells.empty() ? std::string(" nothing") : cells));
}

namespace {

// The newest workbook in `folder` (last written; by name among equals).
std::optional<std::filesystem::path> NewestSheet(const std::filesystem::path& folder) {
  std::optional<std::filesystem::path> newest;
  std::filesystem::file_time_type newestTime{};
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().extension() != ".xlsx" || entry.path().filename().string().front() == '.') continue;
    const auto time = entry.last_write_time(ec);
    if (!newest || time > newestTime || (time == newestTime && entry.path() > *newest)) {
      newest = entry.path();
      newestTime = time;
    }
  }
  return newest;
}

// What a sheet cell shows, for comparing with a list cell: a number equals a
// list text that reads as the same number ("1250.50" and 1250.5).
bool SameCell(const SheetCell& cell, const std::string& shown) {
  if (cell.kind != SheetCell::Kind::kNumber) return cell.text == shown;
  char* end = nullptr;
  const double value = std::strtod(shown.c_str(), &end);
  return !shown.empty() && end == shown.c_str() + shown.size() && value == std::strtod(cell.text.c_str(), nullptr);
}

}  // namespace

bool ScriptRunner::ExpectSheet(Line& line) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::filesystem::path home(platform::PathFolder(self));
  std::filesystem::path path;
  if (line.words.size() > 3) {
    path = line.words[3];
    if (path.is_relative()) path = home / path;
  } else if (const auto newest = NewestSheet(home / "Export")) {
    path = *newest;
  } else {
    return line.Fail("no exported sheet in " + (home / "Export").string());
  }
  std::string error;
  const auto sheet = ReadSheet(path.string(), error);
  if (!sheet) return line.Fail(error);
  // What the sheet must hold: the captions, then each row as the list shows it.
  const auto columns = ListColumns(line.control);
  std::vector<std::vector<std::string>> wanted(1);
  for (const auto& column : columns) wanted[0].push_back(column.caption);
  for (LRESULT row = 0, n = SendMessage(line.control, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::vector<std::string> cells;
    for (const auto& column : columns) cells.push_back(ListCell(line.control, row, column.index));
    wanted.push_back(std::move(cells));
  }
  auto shown = [](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) text += (i > 0 ? "\t" : "") + cells[i];
    return text;
  };
  auto held = [](const std::vector<SheetCell>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) text += (i > 0 ? "\t" : "") + cells[i].text;
    return text;
  };
  for (size_t r = 0; r < std::max(wanted.size(), sheet->rows.size()); ++r) {
    const std::vector<SheetCell> none;
    const auto& got = r < sheet->rows.size() ? sheet->rows[r] : none;
    bool same = r < wanted.size() && r < sheet->rows.size() && got.size() <= wanted[r].size();
    for (size_t c = 0; same && c < wanted[r].size(); ++c) {
      same = SameCell(c < got.size() ? got[c] : SheetCell{}, wanted[r][c]);
    }
    if (!same) {
      return line.Fail(path.string() + " row " + std::to_string(r + 1) + " holds \"" +
                       (r < sheet->rows.size() ? held(got) : std::string("(nothing)")) + "\", the list shows \"" +
                       (r < wanted.size() ? shown(wanted[r]) : std::string("(nothing)")) + "\"");
    }
  }
  return true;
}

bool ScriptRunner::Expect(Line& line, const std::vector<std::string>& seen, size_t& cursor, const char* what) {
  for (size_t i = cursor; i < seen.size(); ++i) {
    if (seen[i] == line.words[1]) {
      cursor = i + 1;
      return true;
    }
  }
  return line.Fail(std::string("expected ") + what + " \"" + line.words[1] + "\"");
}

}  // namespace terminal
