// CXListCtrl: a report list whose cells can be check boxes or colour boxes,
// each cell with its own text and background colours, all drawn by the list
// through custom draw. Its header is a CXHeaderCtrl, which can show a check
// image per column (0 none, 1 unchecked, 2 checked: all rows checked).
//
// Every row inserted through InsertItem owns one cell record per header
// column, kept by the list and reached through the row's item data; the
// records go with the row (DeleteItem, DeleteAllItems) or with the window.
// A row inserted otherwise has no records: it is drawn in the list's
// default colours and ignores clicks.
//
// Clicks (a row without records, or whose first cell is disabled, ignores
// them; otherwise the parent first gets kXListClickMessage (row, column)):
//  - on a colour box: the default click runs, then the colour chooser opens
//    with the cell's colour; on OK the cell takes the colour and
//    WM_XLISTCTRL_COLORBOX_CLICKED is posted to the parent (the owner when
//    there is none) with wParam a 64-byte "row|column" text allocated with
//    new[], which the receiver owns (TakeColorBoxText), and lParam the colour;
//  - on a check box: the state flips, WM_XLISTCTRL_CHECKBOX_CLICKED (row,
//    column) is sent, a column header showing a check image becomes 2 when
//    every row is then checked and 1 otherwise, then the default click runs.
// A click on the caption of a column whose header shows a check image flips
// that image and sets every enabled row's check box in the column to match;
// the parent then gets kXListCheckAllMessage (column, new image).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "listview/xlist/x_header_ctrl.h"
#include "platform/base/cstring.h"
#include "platform/comctl/clistctrl.h"

// Registered once per process by name.
extern const UINT WM_XLISTCTRL_COMBO_SELECTION;  // registered, never sent
extern const UINT WM_XLISTCTRL_CHECKBOX_CLICKED;
extern const UINT WM_XLISTCTRL_COLORBOX_CLICKED;

// Private notifications of the list to its parent.
constexpr UINT kXListClickMessage = 1069;     // WM_USER + 45, before a click is handled
constexpr UINT kXListCheckAllMessage = 1070;  // WM_USER + 46, after a header check image flipped

namespace xlist {

// One cell of a row.
struct sXCell {
  BOOL bEnabled = 1;  // the cell reacts to clicks (the first cell: the row does)
  int nImage = -1;
  COLORREF crText = 0;
  COLORREF crBackground = 0;  // also the colour of a colour box
  int nCheckedState = -1;     // -1 no check box, 0 unchecked, 1 checked
  bool bColorBox = false;
};

// Takes ownership of the text a WM_XLISTCTRL_COLORBOX_CLICKED carried.
inline std::unique_ptr<char[]> TakeColorBoxText(WPARAM wParam) {
  return std::unique_ptr<char[]>(reinterpret_cast<char*>(wParam));
}

}  // namespace xlist

class CXListCtrl : public CListCtrl {
 public:
  CXListCtrl();
  ~CXListCtrl() override;

  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

  // The row with one record per header column; -1 for a negative row.
  int InsertItem(int row, LPCTSTR text);
  BOOL DeleteItem(int row);
  BOOL DeleteAllItems();

  // Marks the cell as a colour box of that colour and redraws it; 0 for a
  // row or column out of range or a row without records.
  BOOL SetColorBox(int row, int column, COLORREF color);
  // Non-zero with the colour when the cell is a colour box.
  BOOL GetColorBox(int row, int column, COLORREF* color) const;
  // -1 none, 0 unchecked, 1 checked; setting -1 removes the check box.
  BOOL SetCheckbox(int row, int column, int state);
  int GetCheckbox(int row, int column) const;
  BOOL SetEnabled(int row, BOOL enabled);
  // The cell's image in the small image list (-1 none), drawn before its
  // text; 0 for a row or column out of range or a row without records.
  BOOL SetCellImage(int row, int column, int image);

  // The header item's image: 0 none, 1 unchecked, 2 checked; -1 (get) or 0
  // (set) for a column out of range.
  int GetHeaderCheckedState(int column) const;
  BOOL SetHeaderCheckedState(int column, int state);

  CXHeaderCtrl m_HeaderCtrl;

 protected:
  void PreSubclassWindow() override;
  Reflect OnReflectNotify(NMHDR* header, LRESULT* result) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnDestroy() override;

 private:
  using Cells = std::vector<xlist::sXCell>;

  void SubclassHeader();
  Cells* RowCells(int row) const;
  xlist::sXCell* Cell(int row, int column) const;
  int ColumnCount() const;
  void RedrawCell(int row, int column);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  void DrawCell(CDC& dc, int row, int column, const CRect& rect);
  void OnColumnClick(int column);
  void UpdateHeaderCheck(int column);
  CWnd* Receiver() const;

  int m_nStatus = 0;  // the style value; nothing reads it yet
  // The rows' cell records, by the item-data value that reaches them.
  std::map<DWORD_PTR, std::unique_ptr<Cells>> m_records;
  COLORREF m_crBtnFace, m_crHighLight, m_crHighLightText, m_crGrayText, m_crWindow, m_crWindowText;
};
