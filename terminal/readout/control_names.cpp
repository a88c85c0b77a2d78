#include "terminal/readout/control_names.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/afx.h"
#include "terminal/readout/window_readers.h"

namespace terminal {

namespace {

// How far above a control its label may sit, in pixels.
constexpr LONG kLabelReach = 24;

RECT RectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

LONG StyleOf(HWND hwnd) { return GetWindowLong(hwnd, GWL_STYLE); }

bool IsGroupBox(HWND hwnd) { return IsWindowClass(hwnd, "Button") && (StyleOf(hwnd) & 0xF) == BS_GROUPBOX; }

bool IsCheckBox(HWND hwnd) {
  const LONG type = StyleOf(hwnd) & 0xF;
  return IsWindowClass(hwnd, "Button") && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// Children of a window in z-order.
std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// Controls whose text is their content, not their name.
bool TakesLabel(HWND hwnd) {
  for (const char* kind : {"ComboBox", "ListBox", "SysListView32", "Edit"}) {
    if (IsWindowClass(hwnd, kind)) return true;
  }
  return false;
}

}  // namespace

namespace {

std::string& ShippedFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

void ControlNames::ShipFrom(std::string folder) { ShippedFolder() = std::move(folder); }

const ControlNames& ControlNames::Shipped() {
  static const ControlNames names = [] {
    // By default the executable's own folder: the main program's name the
    // platform reports follows --home, the shipped files do not.
    std::error_code ec;
    const std::filesystem::path folder = ShippedFolder().empty()
                                             ? std::filesystem::read_symlink("/proc/self/exe", ec).parent_path()
                                             : std::filesystem::path(ShippedFolder());
    std::ifstream in(folder / "control_names.txt");
    std::stringstream text;
    if (in) text << in.rdbuf();
    return Parse(text.str());
  }();
  return names;
}

ControlNames ControlNames::Parse(const std::string& text) {
  ControlNames names;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string name, rest;
    long id = 0;
    if (!(words >> name >> id) || (words >> rest) || id <= 0 || id > INT_MAX) continue;
    names.m_ids.emplace(name, static_cast<int>(id));
    names.m_names.emplace(static_cast<int>(id), name);
  }
  return names;
}

std::optional<int> ControlNames::IdOf(const std::string& name) const {
  const auto it = m_ids.find(name);
  if (it == m_ids.end()) return std::nullopt;
  return it->second;
}

std::string ControlNames::NameOf(int id) const {
  const auto it = m_names.find(id);
  return it == m_names.end() ? std::string() : it->second;
}

std::string LabelOf(HWND control) {
  HWND parent = GetParent(control);
  if (parent == nullptr || !TakesLabel(control)) return {};
  const RECT own = RectOf(control);
  const auto siblings = Children(parent);
  HWND nearest = nullptr;
  LONG nearestGap = kLabelReach + 1;
  for (HWND s : siblings) {
    if (s == control || WindowText(s).empty() || !(IsWindowClass(s, "Static") || IsCheckBox(s))) continue;
    const RECT r = RectOf(s);
    const LONG gap = own.top - r.bottom;
    if (gap >= 0 && gap < nearestGap && r.left >= own.left - 4 && r.left < own.right) {
      nearest = s;
      nearestGap = gap;
    }
  }
  if (nearest != nullptr) return WindowText(nearest);
  for (HWND box : siblings) {
    if (!IsGroupBox(box) || WindowText(box).empty() || !Inside(own, RectOf(box))) continue;
    int labelled = 0;
    for (HWND s : siblings) {
      if (TakesLabel(s) && Inside(RectOf(s), RectOf(box))) ++labelled;
    }
    if (labelled == 1) return WindowText(box);
  }
  return {};
}

HWND FindControl(HWND window, const std::string& name, const std::function<bool(HWND)>& wanted) {
  if (window == nullptr || name.empty()) return nullptr;
  char* end = nullptr;
  const long id = std::strtol(name.c_str(), &end, 10);
  if (*end == '\0') return GetDlgItem(window, static_cast<int>(id));
  if (const auto symbolic = ControlNames::Shipped().IdOf(name)) return GetDlgItem(window, *symbolic);

  // By text, breadth first, so a control of the window wins over one nested
  // deeper (a combo's own edit field); then by label.
  std::vector<HWND> named;
  std::vector<HWND> level{window};
  while (!level.empty()) {
    std::vector<HWND> next;
    for (HWND parent : level) {
      for (HWND child : Children(parent)) {
        if (WindowText(child) == name) named.push_back(child);
        next.push_back(child);
      }
    }
    level.swap(next);
  }
  for (HWND child : Children(window)) {
    if (LabelOf(child) == name) named.push_back(child);
  }
  if (named.empty()) return nullptr;
  if (wanted) {
    for (HWND candidate : named) {
      if (wanted(candidate)) return candidate;
    }
  }
  return named.front();
}

}  // namespace terminal
