// CFilterText: the pop-up (dialog 1010, no caption) that opens from the
// filter button of a list's header column (a CFilterListCtrl). It lists the distinct
// non-empty texts of that column among the visible rows, sorted; choosing
// some (a click toggles an entry) and pressing Enter, or double-clicking
// one, writes a filter matching any of them into the column's filter box:
//
//   NSE, NSE_FO chosen  ->  "NSE~NSE_FO"
//
// Each further text is joined with "~" unless it already occurs in the
// text built so far, as a filter of plain alternatives matches the cells
// that begin with any of them. Losing activation, or Escape, closes the
// pop-up. One instance serves every list of the process (TheFilterText).
#pragma once

#include "listview/filter/filter_text_source.h"
#include "platform/afx.h"
#include "platform/user/cdialog.h"
#include "platform/user/clistbox.h"

namespace filter_text_ids {
constexpr UINT kDialog = 1010;
constexpr int kTexts = 1032;  // sorted, several entries selectable
constexpr int kHorizontalExtent = 500;
}  // namespace filter_text_ids

namespace listview {
// The texts chosen, in list order, as one filter: each one an alternative,
// after a "~" but the first (the list offers each text once).
CString JoinFilterTexts(const CStringArray& texts);
}  // namespace listview

class CFilterText : public CDialog {
 public:
  CFilterText();

  // The list's filter button at header position `position` was pressed:
  // creates the window on first use, puts its top-left corner at the mouse
  // cursor, shows it on top and fills it from the list's visible rows.
  void Open(listview::FilterTextSource* list, int position);
  // The list and header position the entries belong to.
  void Bind(listview::FilterTextSource* list, int position);
  // The chosen entries into the bound column's filter box; nothing when
  // none is chosen.
  void Apply();

  CListBox& Texts() { return m_lstTexts; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;
  void OnActivate(UINT state, CWnd* other, BOOL minimized) override;

 private:
  void Fill(const listview::FilterTextSource& list, int position);

  listview::FilterTextSource* m_pList = nullptr;
  int m_nPosition = -1;
  CListBox m_lstTexts;
};

// The process's one pop-up.
CFilterText& TheFilterText();
