#include "terminal/script_runner.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/comctl/list_view.h"
#include "platform/kernel/kernel.h"
#include "terminal/host.h"
#include "terminal/window_dump.h"

namespace terminal {

namespace input = platform::input;

namespace {

// "#3" is index 3; anything else is an item text looked up exactly.
LRESULT ItemIndex(HWND control, const std::string& item, UINT findExact) {
  if (item.size() > 1 && item[0] == '#') {
    char* end = nullptr;
    const long index = std::strtol(item.c_str() + 1, &end, 10);
    if (*end == '\0') return index;
  }
  return SendMessage(control, findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
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

// One cell of a list view, as the list asks its owner for it.
std::string ListCell(HWND list, LRESULT row, LRESULT column) {
  char cell[512] = {};
  LVITEM item{};
  item.iSubItem = static_cast<int>(column);
  item.pszText = cell;
  item.cchTextMax = sizeof cell;
  SendMessage(list, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return cell;
}

const std::map<std::string, UINT>& NamedKeys() {
  static const std::map<std::string, UINT> keys{
      {"delete", VK_DELETE}, {"del", VK_DELETE},   {"backspace", VK_BACK}, {"enter", VK_RETURN},
      {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},    {"tab", VK_TAB},
      {"space", VK_SPACE},   {"home", VK_HOME},     {"end", VK_END},       {"up", VK_UP},
      {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},   {"pageup", VK_PRIOR},
      {"pagedown", VK_NEXT}, {"insert", VK_INSERT},
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

ScriptRunner::ScriptRunner(Host& host, HotKeyHandler hotKey, std::FILE* out, std::FILE* err)
    : m_host(host), m_hotKey(std::move(hotKey)), m_out(out), m_err(err) {}

bool ScriptRunner::Run(const std::string& text, const std::string& name) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::string error;
    auto words = SplitScriptLine(line, error);
    if (words && words->empty()) continue;
    if (echo && words) std::fprintf(m_out, "> %s\n", line.c_str());
    if (!words || !RunLine(*words, error)) {
      std::fprintf(m_err, "%s:%d: %s\n", name.c_str(), number, error.c_str());
      return false;
    }
  }
  return true;
}

bool ScriptRunner::RunLine(const std::vector<std::string>& words, std::string& error) {
  const std::string& verb = words[0];
  auto need = [&](size_t count, const char* usage) {
    if (words.size() == count) return true;
    error = std::string("usage: ") + usage;
    return false;
  };
  auto window = [&](const std::string& caption) {
    HWND found = FindTopLevelWindow(caption);
    if (found == nullptr) error = "no window \"" + caption + "\"";
    return found;
  };
  auto control = [&](const std::string& caption, const std::string& name) -> HWND {
    HWND parent = window(caption);
    if (parent == nullptr) return nullptr;
    HWND found = FindControl(parent, name);
    if (found == nullptr) error = "no control " + name + " in \"" + caption + "\"";
    return found;
  };
  auto refused = [&](const std::string& what) {
    error = what + " refused the input (disabled or hidden)";
    return false;
  };
  bool ok = true;

  if (verb == "hotkey") {
    if (!need(2, "hotkey KEY")) return false;
    m_hotKey(words[1]);
  } else if (verb == "select") {
    if (!need(4, "select WINDOW CONTROL ITEM")) return false;
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    if (IsWindowClass(target, "ComboBox")) {
      const LRESULT index = ItemIndex(target, words[3], CB_FINDSTRINGEXACT);
      if (index < 0 || index >= SendMessage(target, CB_GETCOUNT, 0, 0)) {
        error = "no item " + words[3] + " in " + words[2];
        return false;
      }
      // The drop-down button at the right end drops the list of any kind of combo.
      RECT client{};
      GetClientRect(target, &client);
      if (!input::ClickAt(target, POINT{client.right - 4, client.bottom / 2})) return refused(words[2]);
      HWND list = GetDlgItem(target, 1000);
      if (list == nullptr || !ClickListItem(list, index)) {
        error = "the list of " + words[2] + " did not drop down";
        return false;
      }
    } else if (IsWindowClass(target, "ListBox")) {
      const LRESULT index = ItemIndex(target, words[3], LB_FINDSTRINGEXACT);
      if (index < 0 || index >= SendMessage(target, LB_GETCOUNT, 0, 0)) {
        error = "no item " + words[3] + " in " + words[2];
        return false;
      }
      if (!ClickListItem(target, index)) return refused(words[2]);
    } else if (IsWindowClass(target, "SysListView32")) {
      // A row by "#index" or by the text of its first cell.
      LRESULT index = -1;
      if (words[3].size() > 1 && words[3][0] == '#') {
        index = std::strtol(words[3].c_str() + 1, nullptr, 10);
      } else {
        for (LRESULT row = 0, n = SendMessage(target, LVM_GETITEMCOUNT, 0, 0); row < n && index < 0; ++row) {
          if (ListCell(target, row, 0) == words[3]) index = row;
        }
      }
      if (index < 0 || index >= SendMessage(target, LVM_GETITEMCOUNT, 0, 0)) {
        error = "no row " + words[3] + " in " + words[2];
        return false;
      }
      SendMessage(target, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
      RECT item{};
      item.left = LVIR_BOUNDS;
      SendMessage(target, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      if (!input::ClickAt(target, POINT{item.left + 4, (item.top + item.bottom) / 2})) return refused(words[2]);
    } else {
      error = words[2] + " is not a combo box, list box or list view";
      return false;
    }
  } else if (verb == "check") {
    if (!need(4, "check WINDOW CONTROL on|off")) return false;
    if (words[3] != "on" && words[3] != "off") {
      error = "check takes on or off";
      return false;
    }
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    const LRESULT wanted = words[3] == "on" ? BST_CHECKED : BST_UNCHECKED;
    if (SendMessage(target, BM_GETCHECK, 0, 0) != wanted) {
      if (!input::Click(target)) return refused(words[2]);
      if (SendMessage(target, BM_GETCHECK, 0, 0) != wanted) {
        error = words[2] + " did not become " + words[3];
        return false;
      }
    }
  } else if (verb == "click") {
    if (!need(3, "click WINDOW CONTROL")) return false;
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    if (!input::Click(target)) return refused(words[2]);
  } else if (verb == "type") {
    if (!need(4, "type WINDOW CONTROL \"text\"")) return false;
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    HWND edit = IsWindowClass(target, "ComboBox") ? GetDlgItem(target, 1001) : nullptr;
    if (!input::Focus(edit != nullptr ? edit : target)) return refused(words[2]);
    ok = input::TypeText(words[3]);
    if (!ok) return refused(words[2]);
  } else if (verb == "key") {
    if (!need(4, "key WINDOW CONTROL CHORD")) return false;
    UINT vk = 0;
    unsigned modifiers = 0;
    if (!ParseChord(words[3], vk, modifiers)) {
      error = "unknown key chord " + words[3];
      return false;
    }
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    if (!input::Focus(target) || !input::PressKey(vk, modifiers)) return refused(words[2]);
  } else if (verb == "command") {
    if (!need(4, "command WINDOW CONTROL ID")) return false;
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    if (!IsWindowEnabled(target) || !IsWindowVisible(target)) return refused(words[2]);
    const long id = std::strtol(words[3].c_str(), nullptr, 10);
    PostMessage(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  } else if (verb == "rows") {
    if (!need(3, "rows WINDOW CONTROL")) return false;
    HWND target = control(words[1], words[2]);
    if (target == nullptr) return false;
    if (IsWindowClass(target, "ListBox")) {
      for (LRESULT i = 0, n = SendMessage(target, LB_GETCOUNT, 0, 0); i < n; ++i) {
        std::fprintf(m_out, "ROW: %s\n", ItemText(target, LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(i)).c_str());
      }
    } else if (IsWindowClass(target, "ComboBox")) {
      for (LRESULT i = 0, n = SendMessage(target, CB_GETCOUNT, 0, 0); i < n; ++i) {
        std::fprintf(m_out, "ROW: %s\n", ItemText(target, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i)).c_str());
      }
    } else if (IsWindowClass(target, "SysListView32")) {
      // Rows in their visible order, cells in column order, as the list asks
      // its owner for them.
      HWND header = reinterpret_cast<HWND>(SendMessage(target, LVM_GETHEADER, 0, 0));
      const auto columns = header != nullptr ? SendMessage(header, HDM_GETITEMCOUNT, 0, 0) : 1;
      for (LRESULT row = 0, n = SendMessage(target, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
        std::string line;
        for (LRESULT column = 0; column < columns; ++column) {
          if (column > 0) line += '\t';
          line += ListCell(target, row, column);
        }
        std::fprintf(m_out, "ROW: %s\n", line.c_str());
      }
    } else {
      error = words[2] + " is not a list this terminal can read";
      return false;
    }
  } else if (verb == "dump") {
    if (!need(2, "dump WINDOW")) return false;
    HWND target = window(words[1]);
    if (target == nullptr) return false;
    std::fputs(DumpWindowTree(target).c_str(), m_out);
  } else if (verb == "wait") {
    if (!need(2, "wait MS")) return false;
    char* end = nullptr;
    const long ms = std::strtol(words[1].c_str(), &end, 10);
    if (*end != '\0' || ms < 0) {
      error = "wait takes milliseconds";
      return false;
    }
    if (platform::GetClockMode() == platform::ClockMode::Manual) input::Advance(static_cast<uint64_t>(ms));
    else Sleep(static_cast<DWORD>(ms));
  } else if (verb == "expect-log" || verb == "expect-box") {
    if (!need(2, (verb + " \"text\"").c_str())) return false;
    std::vector<std::string> seen;
    size_t* cursor = &m_logCursor;
    if (verb == "expect-log") {
      seen = m_host.LogLines();
    } else {
      for (const auto& box : platform::MessageBoxLog()) seen.push_back(box.text);
      cursor = &m_boxCursor;
    }
    for (size_t i = *cursor; i < seen.size(); ++i) {
      if (seen[i] == words[1]) {
        *cursor = i + 1;
        platform::PumpMessages();
        return true;
      }
    }
    error = "expected " + std::string(verb == "expect-log" ? "log line" : "message box") + " \"" + words[1] + "\"";
    return false;
  } else {
    error = "unknown command " + verb;
    return false;
  }
  platform::PumpMessages();
  return ok;
}

}  // namespace terminal
