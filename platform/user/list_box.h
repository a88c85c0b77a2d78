// The list box model ("LISTBOX", and "ComboLBox", the list of a combo box).
//
// Items are strings (or, for an owner-drawn list without LBS_HASSTRINGS,
// only their data values) with a data value, a selected flag and, in an
// LBS_OWNERDRAWVARIABLE list, their own height. Selection is single (at most
// one item), multiple (LBS_MULTIPLESEL: a click toggles an item) or extended
// (LBS_EXTENDEDSEL: click, Shift+click ranges, Ctrl+click toggles); LBS_NOSEL
// selects nothing.
//
// Notifications (WM_COMMAND to the parent, only with LBS_NOTIFY) follow the
// user, never the program: LBN_SELCHANGE when a click ends on an item (even
// the one already selected) and when a key moves the selection, LBN_DBLCLK on
// a double click; LB_SETCURSEL, LB_SETSEL and the like notify nobody.
//
// A list created with WS_VSCROLL shows its vertical scroll bar while its
// items do not all fit (always, disabled when they do, with
// LBS_DISABLENOSCROLL); the bar and the wheel move the top item.
//
// Unless LBS_NOINTEGRALHEIGHT (or LBS_OWNERDRAWVARIABLE) is given, the window
// is shortened to show whole items only, at creation and whenever its size,
// font or item height changes.
//
// Owner drawing: WM_MEASUREITEM goes to the parent when an item is inserted
// into an LBS_OWNERDRAWVARIABLE list (the item is already in the list, so
// the handler can read its text) and once at creation for
// LBS_OWNERDRAWFIXED; WM_DRAWITEM for each visible item on WM_PAINT (and
// WM_PRINTCLIENT, whose wParam is the device context to draw on); a sorted
// owner-drawn list without strings asks WM_COMPAREITEM; a deleted item
// that is owner-drawn or has non-zero data is announced with WM_DELETEITEM.
// Painting first sends WM_CTLCOLORLISTBOX to the parent, as a real paint
// asks for its colours; a list that is not owner-drawn then draws itself:
// the background with the brush the parent answered (the window colour
// without one), each visible item's text in the DC's text colour, selected
// items in the highlight colours, the focus rectangle on the caret item.
//
// The list of a combo box (class "ComboLBox", style LBS_COMBOBOX, created
// with the combo box's window as its creation parameter) sends its
// owner-draw messages to the combo box's parent in the combo box's name
// (ODT_COMBOBOX, the combo box's id and window), sends its notifications and
// colour requests to the combo box whatever its owner, does not take the
// focus when clicked, and reports the end of a click to the combo box with
// LBN_SELCHANGE (on an item) or LBN_SELCANCEL (elsewhere).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/control_model.h"

namespace platform {

// Height of a list item in pixels when nobody measured it: the height of
// the default font, and of the window's font once one is set.
constexpr int kListItemHeight = 13;
// A combo box's dropped list tells its combo box (WM_COMMAND, as its other
// notifications) that the pointer selected the item under it in passing.
constexpr UINT kComboListHovered = 0x7F00;
int FontItemHeight(HWND hwnd);

// The order of sorted lists and combo boxes: without regard to case, and
// punctuation before digits before letters, as the platform's word order
// puts them (plain byte order would put "[" and "_" after the digits).
// Negative, zero or positive as strcmp.
int CompareItemText(std::string_view a, std::string_view b);

class ListBoxModel : public ControlModel {
 public:
  explicit ListBoxModel(HWND hwnd);
  ~ListBoxModel() override;
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = kListItemHeight;
  };
  enum class SelMode { None, Single, Multiple, Extended };
  // Where owner-draw messages go and in whose name.
  struct DrawTarget {
    HWND window = nullptr;
    UINT ctlType = 0;
    UINT ctlId = 0;
    HWND item = nullptr;
  };

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void SyncScrollBar();
  void OnScroll(int code, int position);

  bool InCombo() const { return m_combo != nullptr; }
  bool HasStrings() const;
  bool OwnerDraw() const;
  bool Variable() const;
  SelMode Mode() const;
  int Count() const { return static_cast<int>(m_items.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  DrawTarget Target() const;
  void Notify(UINT code) const;

  // Items.
  LRESULT Insert(int index, LPARAM value, bool sorted);
  int SortedPosition(LPARAM value);
  LRESULT Delete(int index);
  void Reset();
  void AnnounceDeletion(int index, ULONG_PTR data) const;
  LRESULT Find(int start, LPARAM value, bool exact) const;
  LRESULT CopyText(int index, LPARAM buffer) const;
  LRESULT TextLength(int index) const;
  void Measure(int index, LPARAM value);

  // Selection.
  int CurSel() const;
  bool SelectOnly(int index);  // true when the selection changed
  void SelectRange(int first, int last, bool on);
  int SelCount() const;

  // Geometry.
  int ClientWidth() const;
  int ClientHeight() const;
  int HeightOf(int index) const;
  int PageSize() const;
  void SetTop(int index);
  void FitWholeItems();
  void EnsureVisible(int index);
  RECT ItemRect(int index) const;
  int ItemAt(POINT p) const;  // -1 below the last item
  LRESULT ItemFromPoint(POINT p) const;

  // The user.
  void OnButtonDown(WPARAM flags, POINT p);
  void OnMouseMove(WPARAM flags, POINT p);
  void OnButtonUp(POINT p);
  void OnKeyDown(UINT key);
  void OnChar(char ch);
  void Paint(HDC dc);
  void DrawStandardItems(HDC dc, HBRUSH background) const;
  void DrawItem(HDC dc, int index, UINT action) const;

  Item& At(int index) { return *m_items[static_cast<size_t>(index)]; }
  const Item& At(int index) const { return *m_items[static_cast<size_t>(index)]; }

  // Held by pointer: inserting into a long sorted list moves pointers, not strings.
  std::vector<std::unique_ptr<Item>> m_items;
  HWND m_combo = nullptr;  // the combo box this list belongs to (LBS_COMBOBOX)
  int m_caret = 0;
  int m_anchor = 0;
  int m_top = 0;
  int m_itemHeight = kListItemHeight;
  int m_horizontalExtent = 0;
  bool m_tracking = false;
  bool m_focused = false;
  bool m_fitting = false;    // FitWholeItems is resizing the window
  bool m_wantsBar = false;   // created with WS_VSCROLL: the bar comes and goes with the items
  bool m_syncingBar = false;
  std::string m_typed;       // characters typed so far for the incremental search
  uint64_t m_lastTyped = 0;  // clock time of the last of them
};

}  // namespace platform
