// The verbs that work a dialog's controls as a person does: hot keys,
// choices, check boxes, clicks (either button), typing, keys and menu
// commands.
#include "terminal/script/script_verbs.h"

#include <cstdlib>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/input/input_driver.h"
#include "platform/user/combo_box.h"
#include "terminal/readout/window_dump.h"
#include "terminal/script/key_chord.h"
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
// person would with the scroll bar. Both callers have checked the index
// against the item count, so the item has a rectangle.
bool ClickListItem(HWND list, LRESULT index) {
  SendMessage(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return input::ClickAt(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

// A combo box with an edit field takes keys and text there.
HWND KeyTarget(HWND control) {
  if (IsWindowClass(control, "ComboBox")) {
    if (HWND edit = GetDlgItem(control, kComboEditId)) return edit;
  }
  return control;
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
  const auto chord = ParseKeyChord(line.words[3]);
  if (!chord) return line.Fail("unknown key chord " + line.words[3]);
  HWND target = KeyTarget(line.control);
  const std::string& name = line.ControlName();
  if (!IsWindowVisible(target) || !IsWindowEnabled(line.control) || !IsWindowEnabled(target)) {
    return line.Fail(Refusal(target, name));
  }
  if (!input::Focus(target)) {
    // A control may pass the focus on to a child of its own; that is its way of taking it.
    // (No focus at all is no child, and cannot be focused again.)
    HWND focus = GetFocus();
    if (!IsChild(line.control, focus)) {
      if (!input::Focus(focus)) return line.Fail(Refusal(target, name));
      return line.Fail(name + " did not take the focus (it went to " + DescribeWindow(focus) + ")");
    }
  }
  if (!input::PressKey(chord->vk, chord->modifiers)) return line.Fail(line.words[3] + " did not reach " + name);
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
