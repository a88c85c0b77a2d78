// The verbs of list views (and, for rows, of combo and list boxes): reading
// rows and columns, choosing rows, sorting and filtering by the header, and
// dragging rows within a list or onto another.
#include "terminal/script/script_verbs.h"

#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/comctl/header_control.h"
#include "platform/comctl/list_view.h"
#include "platform/input/input_driver.h"
#include "platform/kernel/kernel.h"
#include "terminal/readout/control_names.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"
#include "terminal/script/script_targets.h"

namespace terminal {

namespace input = platform::input;

namespace {

// The header of the line's list and its item captioned as the line's third
// word, when the header shows its filter row.
bool FindFilterBox(HWND list, const std::string& caption, const std::string& name, HWND& header, int& item,
                   std::string& error) {
  if (!FindHeaderItem(list, caption, header, item, error)) return false;
  if (!(GetWindowLong(header, GWL_STYLE) & HDS_FILTERBAR)) {
    error = "the header of " + name + " shows no filter row (Ctrl+F shows it)";
    return false;
  }
  return true;
}

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

// Whether row `index` shows whole: a row cut off at the bottom would take
// the drop below it; "#count" shows only with room below the last row.
bool RowVisible(HWND list, LRESULT index) {
  const LRESULT top = SendMessage(list, LVM_GETTOPINDEX, 0, 0);
  return index >= top && index < top + SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0);
}

}  // namespace

namespace verbs {

bool Rows(ScriptSession& session, ScriptLine& line) {
  HWND target = line.control;
  auto items = [&](UINT countMessage, UINT lengthMessage, UINT textMessage) {
    for (LRESULT i = 0, n = SendMessage(target, countMessage, 0, 0); i < n; ++i) {
      std::fprintf(session.out, "ROW: %s\n",
                   ItemText(target, lengthMessage, textMessage, static_cast<WPARAM>(i)).c_str());
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
  std::fprintf(session.out, "COLS: %s\n", header.c_str());
  for (LRESULT row = 0, n = SendMessage(target, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
    std::string cells;
    for (size_t i = 0; i < columns.size(); ++i) cells += (i > 0 ? "\t" : "") + ListCell(target, row, columns[i].index);
    std::fprintf(session.out, "ROW: %s\n", cells.c_str());
  }
  return true;
}

bool SelectMore(ScriptSession&, ScriptLine& line) {
  const ItemRef item = ParseItem(line.words[3]);
  const LRESULT index = FindListRow(line.control, item);
  if (index < 0) return line.Fail("no row " + item.text + " in " + line.ControlName());
  return ClickListRow(line.control, index, input::kControl) || line.Fail(Refusal(line.control, line.ControlName()));
}

bool Sort(ScriptSession&, ScriptLine& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindHeaderItem(line.control, line.words[3], header, item, line.error)) return false;
  RECT rect{};
  SendMessage(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
  // The caption's half of the item: below it a filter row may take the click.
  return input::ClickAt(header, POINT{(rect.left + rect.right) / 2, rect.top + 3}) ||
         line.Fail(Refusal(header, "the header of " + line.ControlName()));
}

bool FilterButton(ScriptSession&, ScriptLine& line) {
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

bool Filter(ScriptSession&, ScriptLine& line) {
  HWND header = nullptr;
  int item = -1;
  if (!FindFilterBox(line.control, line.words[3], line.ControlName(), header, item, line.error)) return false;
  // Opens the box's edit field as a click on it does, selects its old text
  // with Ctrl+A as a person does, types over it and commits with Enter.
  SendMessage(header, HDM_EDITFILTER, static_cast<WPARAM>(item), FALSE);
  platform::PumpMessages();
  HWND edit = GetFocus();
  if (edit == nullptr || !IsChild(header, edit))
    return line.Fail("the filter box of " + line.words[3] + " did not open");
  if (!input::PressKey('A', input::kControl) || !input::PressKey(VK_DELETE) ||
      (!line.words[4].empty() && !input::TypeText(line.words[4])) || !input::PressKey(VK_RETURN)) {
    return line.Fail("the filter box of " + line.words[3] + " refused the text");
  }
  return true;
}

bool ExpectColumn(ScriptSession&, ScriptLine& line) {
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

// drag WINDOW LIST ITEM... TO-ITEM moves rows within a list;
// drag WINDOW LIST ITEM... WINDOW2 LIST2 TO-ITEM moves them to another list.
// The rows are selected (a click, then Ctrl+clicks), the button goes down on
// the first and the pointer moves until the list starts its drag, then to
// TO-ITEM ("#count" is the empty space below the last row), holding it
// above or below the rows while the list scrolls there by its timer.
bool Drag(ScriptSession&, ScriptLine& line) {
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
  // scroll timer tick at a time, until the list brings it into view. A list
  // scrolls only while its own rows are dragged: when a tick leaves it
  // where it was, the drag ends without a drop.
  for (LRESULT top = -1; !RowVisible(target, toRow);) {
    const LRESULT now = SendMessage(target, LVM_GETTOPINDEX, 0, 0);
    if (now == top) {
      ReleaseCapture();
      input::ButtonUp(line.control, start);
      return line.Fail("row " + to.text + " to drop on stays out of sight: the list does not scroll to it");
    }
    top = now;
    RECT client{};
    GetClientRect(target, &client);
    input::MouseMove(target, POINT{8, toRow < now ? 1 : client.bottom + 4});
    input::Advance(100);
  }
  const POINT end = RowPoint(target, toRow);
  input::MouseMove(target, end);
  input::ButtonUp(target, end);
  return GetCapture() == nullptr || line.Fail("the drag did not end");
}

}  // namespace verbs

}  // namespace terminal
