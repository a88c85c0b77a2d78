// The verbs that work a dialog's controls as a person does: hot keys,
// choices, check boxes, clicks (either button), typing, keys and menu
// commands.
#include "terminal/script/script_verbs.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/user/combo_box.h"
#include "terminal/readout/window_dump.h"
#include "terminal/script/script_targets.h"

namespace terminal {

namespace input = platform::input;

namespace {

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
      {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"insert", VK_INSERT},  {"apps", VK_APPS},
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

}  // namespace

namespace verbs {

bool HotKey(ScriptSession& session, ScriptLine& line) { return session.hotKey(line.words[1], line.error); }

bool Select(ScriptSession&, ScriptLine& line) {
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

bool Check(ScriptSession&, ScriptLine& line) {
  const std::string& state = line.words[3];
  if (state != "on" && state != "off") return line.Fail("check takes on or off");
  const LRESULT wanted = state == "on" ? BST_CHECKED : BST_UNCHECKED;
  if (SendMessage(line.control, BM_GETCHECK, 0, 0) == wanted) return true;
  if (!input::Click(line.control)) return line.Fail(Refusal(line.control, line.ControlName()));
  if (SendMessage(line.control, BM_GETCHECK, 0, 0) != wanted)
    return line.Fail(line.ControlName() + " did not become " + state);
  return true;
}

bool Click(ScriptSession&, ScriptLine& line) {
  return input::Click(line.control) || line.Fail(Refusal(line.control, line.ControlName()));
}

// With a caption, the right button goes down on that column's caption in a
// list's header (its half above a filter row); without one, in the control's
// middle.
bool RightClick(ScriptSession&, ScriptLine& line) {
  if (line.words.size() > 4) return line.Fail("usage: right-click WINDOW CONTROL [\"Caption\"]");
  if (line.words.size() == 3) {
    return input::RightClick(line.control) || line.Fail(Refusal(line.control, line.ControlName()));
  }
  HWND header = nullptr;
  int item = -1;
  if (!FindHeaderItem(line.control, line.words[3], header, item, line.error)) return false;
  RECT rect{};
  SendMessage(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
  return input::RightClickAt(header, POINT{(rect.left + rect.right) / 2, rect.top + 3}) ||
         line.Fail(Refusal(header, "the header of " + line.ControlName()));
}

bool Type(ScriptSession&, ScriptLine& line) {
  if (!input::Focus(KeyTarget(line.control))) return line.Fail(Refusal(line.control, line.ControlName()));
  return input::TypeText(line.words[3]) || line.Fail(Refusal(line.control, line.ControlName()));
}

bool Key(ScriptSession&, ScriptLine& line) {
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

bool Command(ScriptSession&, ScriptLine& line) {
  if (!IsWindowEnabled(line.control) || !IsWindowVisible(line.control)) {
    return line.Fail(Refusal(line.control, line.ControlName()));
  }
  char* end = nullptr;
  const long id = std::strtol(line.words[3].c_str(), &end, 10);
  if (*end != '\0' || id <= 0 || id > 0xFFFF) return line.Fail("command takes a number from 1 to 65535");
  PostMessage(line.control, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  return true;
}

}  // namespace verbs

}  // namespace terminal
