// The list view model behind "SysListView32" (numbers and behaviour in
// platform/comctl/list_view.h). Internal to the platform library.
//
// Invariants:
//  - the header child holds the columns (text, width, format, order); the
//    model keeps per column only its sub-item number, and per item one cell
//    per column, indexed by column index (inserting or deleting a column
//    shifts the cells after it, as the platform does);
//  - the focus is one index (m_focus), not a stored state bit: State(i)
//    adds LVIS_FOCUSED for it, so two items are never focused at once;
//  - an owner-data list stores no items, only m_odCount and the stored
//    states of each index: none while every one is 0 (as while a long list
//    fills, 4 bytes a row saved), else one per index; m_odMarked counts the
//    indexes whose stored state is not 0. An item inserted at an index moves the states, the focus and
//    the mark of the items from there on with their items, as a deletion
//    does, so that a selection stays on the rows the owner meant.
#pragma once

#include <string>
#include <vector>

#include "platform/window/control_model.h"
#include "platform/comctl/list_view.h"

namespace platform {

class ListViewModel : public ControlModel {
 public:
  explicit ListViewModel(HWND hwnd);
  ~ListViewModel() override;
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  struct Cell {
    std::string text;
    bool callback = false;  // the text is asked with LVN_GETDISPINFO
    int image = 0;
  };
  struct Item {
    std::vector<Cell> cells;  // one per column (at least one)
    UINT state = 0;           // without LVIS_FOCUSED
    int image = 0;
    LPARAM lParam = 0;
    int indent = 0;
  };

  // ---- list_view_model.cpp: styles, items ----
  bool OwnerData() const { return (Style() & LVS_OWNERDATA) != 0; }
  bool SingleSel() const { return (Style() & LVS_SINGLESEL) != 0; }
  int Count() const { return OwnerData() ? m_odCount : static_cast<int>(m_items.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  int ColumnCount() const { return static_cast<int>(m_columns.size()); }
  UINT State(int index) const;
  // The bits of `mask` the parent keeps (the callback mask; an owner-data
  // list's check boxes), asked with LVN_GETDISPINFO, over the stored ones.
  UINT StateWithCallbacks(int index, UINT mask) const;
  void StoreState(int index, UINT state);
  LPARAM ParamOf(int index) const;
  std::string CellText(int index, int subItem);
  void AskDisplayInfo(LVITEM& item);

  LRESULT InsertItem(const LVITEM* item);
  LRESULT DeleteItem(int index);
  LRESULT DeleteAllItems();
  LRESULT GetItem(LVITEM* item);
  LRESULT SetItem(const LVITEM* item);
  LRESULT SetItemText(int index, const LVITEM* item);
  LRESULT GetItemText(int index, LVITEM* item);
  LRESULT SetItemCount(int count, LPARAM flags);
  LRESULT FindItem(int start, const LVFINDINFO* info);
  LRESULT Sort(WPARAM lParamSort, PFNLVCOMPARE compare, bool byIndex);
  int SortedPosition(const std::string& text);

  // ---- list_view_columns.cpp: columns and the header's notifications ----
  LRESULT InsertColumn(int index, const LVCOLUMN* column);
  LRESULT DeleteColumn(int index);
  LRESULT GetColumn(int index, LVCOLUMN* column) const;
  LRESULT SetColumn(int index, const LVCOLUMN* column);
  int ColumnWidth(int index) const;
  LRESULT SetColumnWidth(int index, int width);
  int ContentWidth(int column);
  LRESULT SetExtendedStyle(DWORD mask, DWORD style);
  void CreateHeader();
  LRESULT OnHeaderNotify(NMHDR* header);

  // ---- list_view_state.cpp: states, notifications, the user ----
  LRESULT NotifyItem(UINT code, int index, UINT changed, UINT newState, UINT oldState, LPARAM lParam);
  bool ChangeState(int index, UINT state, UINT mask);
  LRESULT SetItemState(int index, const LVITEM* item);
  void SelectOnly(int index);
  void SelectRange(int from, int to, bool clearOthers);
  void ClearSelection(int except);
  void Focus(int index);
  int SelectedCount() const;
  LRESULT NextItem(int start, UINT flags) const;
  void OnButtonDown(UINT flags, POINT p, bool right);
  void OnButtonUp(POINT p);
  void OnMouseMove(UINT flags, POINT p);
  void NotifyActivate(UINT code, POINT p);
  void OnKeyDown(UINT key);
  void ToggleCheck(int index);

  // ---- list_view_drag_image.cpp ----
  LRESULT CreateDragImage(int index, POINT* upperLeft);

  // ---- list_view_layout.cpp: geometry ----
  int HeaderHeight() const;
  int RowHeight() const { return m_rowHeight; }
  int ClientWidth() const;
  int ClientHeight() const;
  int TotalWidth() const;
  int PerPage() const;
  std::vector<int> ColumnOrder() const;
  RECT ColumnRect(int column) const;  // x range of a column, in client coordinates
  RECT RowRect(int index) const;
  bool ItemRect(int index, int part, RECT& out) const;
  bool SubItemRect(int index, int subItem, int part, RECT& out) const;
  int HitTest(LVHITTESTINFO& info, bool subItems) const;
  void LayoutHeader();
  void MeasureRows();
  void FontChanged();

  // ---- list_view_scroll.cpp: scrolling ----
  void SetTop(int top);
  void EnsureVisible(int index, bool partialOk);
  void Scroll(int dx, int dy);
  // A wheel turned sideways by `delta` (120ths of a notch, positive to the right).
  bool ScrollSideways(int delta);
  // WM_MOUSEWHEEL (sideways false) or WM_MOUSEHWHEEL; false leaves it to the parent.
  bool OnWheel(bool sideways, WPARAM wParam);
  // WM_VSCROLL / WM_HSCROLL with their SB_* code.
  void OnScroll(bool vertical, int code, int position);
  // The bars follow the view: the vertical one counts rows (page: the whole
  // rows that fit), the horizontal one pixels (page: the client width).
  void SyncScrollBars();
  // After a change to the items alone: the vertical bar, and the full sync
  // only when that bar comes or goes.
  void SyncRowsBar();
  void SetRowsBar();

  // ---- list_view_paint.cpp: painting ----
  void Paint(HDC dc);
  void PaintBuffered(HDC dc);  // LVS_EX_DOUBLEBUFFER: into a bitmap, then one copy
  void PaintRow(HDC dc, int index, LRESULT listAnswer);
  void DrawCell(HDC dc, int index, int column, COLORREF text, COLORREF background, bool highlighted);
  void DrawGridLines(HDC dc);
  void DrawItem(HDC dc, int index);
  UINT DrawState(int index) const;
  void EraseBackground(HDC dc) const;

  HWND m_header = nullptr;
  std::vector<int> m_columns;  // sub-item number of each column
  std::vector<Item> m_items;
  std::vector<UINT> m_odStates;  // owner data: the stored state of each index, or none while all are 0
  size_t m_odMarked = 0;         // owner data: how many of m_odStates are not 0
  int m_odCount = 0;
  int m_focus = -1;
  int m_mark = -1;  // the selection mark: where Shift ranges start
  int m_top = 0;
  int m_scrollX = 0;
  int m_rowHeight = 0;
  bool m_syncingBars = false;  // SyncScrollBars runs (showing a bar resizes the client)
  bool m_measured = false;  // the owner gave the row height (LVS_OWNERDRAWFIXED)
  bool m_hasFocus = false;
  bool m_pressed = false;  // the left button went down in the list
  int m_dragItem = -1;     // the item the left button went down on, until a drag starts
  POINT m_dragStart;
  // A press without modifiers on an item of a multiple selection keeps the
  // selection, so that the whole selection can be dragged; the button going
  // up without a drag then selects that item alone.
  int m_pendingSelect = -1;
  DWORD m_exStyle = 0;
  UINT m_callbackMask = 0;
  HIMAGELIST m_images[3] = {};
  COLORREF m_bkColor = RGB(255, 255, 255);
  COLORREF m_textColor = RGB(0, 0, 0);
  COLORREF m_textBkColor = CLR_DEFAULT;
};

}  // namespace platform
