// What the verbs of several families share: the kinds of control a verb
// acts on, how a script names an item or a row, the clicks that choose a
// row, and why a control took no input.
#pragma once

#include <optional>
#include <string>

#include "platform/base/wintypes.h"

namespace terminal {

// The kinds of control, for the verb table's "wanted" column.
bool IsList(HWND hwnd);  // combo box, list box or list view
bool IsListView(HWND hwnd);
bool Interactive(HWND hwnd);  // what a person can click or give keys to: not a label or a group box
bool IsCheckable(HWND hwnd);
bool TakesText(HWND hwnd);  // an edit field or a combo box

// An item named in a script: "#3" is index 3, anything else its text.
struct ItemRef {
  std::optional<LRESULT> index;
  std::string text;
};
ItemRef ParseItem(const std::string& word);

// A list view's row by "#index" or by the text of its first cell; -1 none.
LRESULT FindListRow(HWND list, const ItemRef& item);
// Clicks a list view's row as a person would, with `modifiers` held.
bool ClickListRow(HWND list, LRESULT index, unsigned modifiers);

// Why a control took no input: what a person would see of it.
std::string Refusal(HWND control, const std::string& name);

// The header of a list view and its item captioned `caption`; false with
// the reason when the list has no header or no such column.
bool FindHeaderItem(HWND list, const std::string& caption, HWND& header, int& item, std::string& error);

}  // namespace terminal
