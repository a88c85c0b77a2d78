// CFilterListCtrl: the list the system's windows use. Outside filter mode it
// is a CCommonListCtrl. In filter mode the platform list is virtual (owner
// data) and the rows live here, in a store of records and a view over it
// (listview/filter/row_map.h).
//
// Cell texts come from the owner's row formatter for built-in columns and
// from the column's formula for computed ones. The header's filter row gives
// one filter text per column; a row is visible when every filter passes
// (listview/filter/match_filter.h) on its cell of that column.
//
// Invariant: the platform list's item count equals the view's size, less
// the rows appended (AppendRow) since the list's window last got a message.
//
// The selection, the focus and the selection mark belong to the rows'
// records, not to their places: sorting, filtering, the newest-first setting,
// inserting and deleting rows leave each record that was selected selected
// (and each other one not), wherever it now shows; only a deleted selected
// row hands its selection to the row after it. A record a filter hides
// loses its selection: what is not shown cannot be acted on (deleted) by
// mistake (listview/filter/filter_list_selection.cpp).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/color_header_ctrl.h"
#include "listview/common/common_list_ctrl.h"
#include "listview/filter/computed_cell.h"
#include "listview/filter/filter_text_source.h"
#include "listview/filter/row_map.h"

namespace listview {
// The filter lists' colour callback: keyword colouring from the appearance.
void KeywordColouring(CCommonListCtrl* list, DWORD_PTR data, COLORREF& textColor);
// A vertical gradient through msimg32.dll's GradientFill.
void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to);
}  // namespace listview

namespace list_command {
constexpr UINT kMatchFilterExactly = 4000;
constexpr UINT kResetFilters = 33078;
constexpr UINT kAddCustomColumn = 33079;
constexpr UINT kDeleteCustomColumn = 33080;
}  // namespace list_command

class CFilterListCtrl : public CCommonListCtrl,
                        public CColorHeaderSource,
                        public listview::ComputedColumnsHost,
                        public listview::FilterTextSource {
 public:
  // The owner's row formatter: the cell of column index `column` for the row
  // whose item data is `data`. Colours -1 (and image -1) mean "the list's";
  // callers set all three to -1 first. Non-zero on success.
  using RowFormatter = int (*)(DWORD_PTR data, int column, CString& text, COLORREF& textColor, COLORREF& backColor,
                               int& image);
  using RowFormatterMember = int (CWnd::*)(DWORD_PTR data, int column, CString& text, COLORREF& textColor,
                                           COLORREF& backColor, int& image);

  static constexpr int kFilterTimeoutMs = 500;
  static constexpr int kFilterTextMax = 1024;

  CFilterListCtrl();
  ~CFilterListCtrl() override;

  BOOL PreTranslateMessage(MSG* msg) override;
  // Owner-drawn rows (LVS_OWNERDRAWFIXED): background (solid, or a gradient
  // to white), the selection as a blue (focused) or grey-to-black gradient
  // with white text, each shown column's text in its alignment.
  void DrawItem(LPDRAWITEMSTRUCT dis) override;
  // (|font height| + 4) x lines per row.
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
  using CCommonListCtrl::GetItemText;
  CString GetItemText(int row, int subItem) const override;
  DWORD_PTR GetItemData(int row) const override;

  // ---- Mode ----
  // On: rows live in the store, the filter row shows. Off: the filters and
  // the filter row go, and every row with its record (the owner's data
  // stays the owner's).
  void EnableFilterMode(bool on);
  bool IsFilterMode() const { return m_bFilterMode != 0; }
  void ToggleFilterRow();
  bool IsFilterRowShown() const override { return m_bFilterRowShown != 0; }
  void SetNewestFirst(bool on);
  bool IsNewestFirst() const { return m_rows.NewestFirst(); }
  void SetGradient(bool on) { m_cGradient = on ? 1 : 0; }
  void SetLinesPerRow(int lines) { m_nLinesPerRow = lines; }
  void EnableFilterNotifications(bool on) { m_bFilterNotifications = on ? 1 : 0; }

  // ---- Formatter ----
  void SetDataDescriptor(RowFormatter formatter) { m_pfnFormatter = formatter; }
  // The member form, called on the owner-notification window (else the
  // parent); it wins over the plain one.
  template <class Owner>
  void SetDataDescriptor(int (Owner::*member)(DWORD_PTR, int, CString&, COLORREF&, COLORREF&, int&)) {
    m_pfnFormatterMember = static_cast<RowFormatterMember>(member);
  }
  bool HasFormatter() const { return m_pfnFormatter != nullptr || m_pfnFormatterMember != nullptr; }
  // The cell of column index `column` for item data `data`: the formatter's
  // for a built-in column, the formula's for a computed one. 0 on failure.
  int CellText(DWORD_PTR data, int column, CString& text, COLORREF& textColor, COLORREF& backColor, int& image) const;
  CString CellText(DWORD_PTR data, int column) const;

  // ---- Rows (filter mode; otherwise the platform list's) ----
  using CCommonListCtrl::InsertItem;
  // The new row is visible until its data is set; returns its store index
  // (0 without a formatter).
  int InsertItem(int row, LPCTSTR text);
  BOOL SetItemData(int row, DWORD_PTR data);
  // A new row showing `data`, as InsertItem(0, "") and SetItemData(0, data)
  // make one (filter mode; otherwise exactly those two): appended to the
  // store, shown (on top when newest first) if the filters let it through.
  // The platform list hears of the rows appended in a row once, before its
  // window handles its next message (one is posted), not once a row; the
  // list is invalidated at once. Until then the platform's item count trails
  // the view's by the rows not yet told.
  void AppendRow(DWORD_PTR data);
  BOOL DeleteItem(int row);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  int StoreSize() const { return m_rows.StoreSize(); }
  // The item data of store entry `index` (storage order), 0 outside the store.
  DWORD_PTR StoreItemData(int index) const { return m_rows.StoreItemData(index); }
  // Calls visit(row, item data) for every visible row (filter mode), in
  // store order (listview::RowMap::ForEachRowInStoreOrder).
  template <class Visit>
  void ForEachRowInStoreOrder(Visit visit) const {
    m_rows.ForEachRowInStoreOrder(visit);
  }
  BOOL GetCheck(int row) const;
  BOOL SetCheck(int row, BOOL check = TRUE);

  // ---- Filters ----
  // Column index `column` filtered by `text` (empty removes its filter).
  void SetColumnFilter(int column, const CString& text);
  void ClearFilters();
  void ResetFilters() override;
  void Refilter();
  bool PassesFilters(DWORD_PTR data) const;
  void SetHeaderFilterText(int position, const CString& text, BOOL oneShotExact) override;
  bool IsExactMatch() const { return m_cExactMatch != 0; }
  std::vector<int> FilteredColumns() const override;
  int HeaderItemOfColumn(int column) const override;

  // The column index shown by header item `subItem`; -1 none.
  int ColumnOfSubItem(int subItem) const;

  // ---- The filter pop-up's view of the list (listview/filter/filter_text.h) ----
  const CWnd& SourceWindow() const override { return *this; }
  void ForEachShownText(int position, const std::function<void(int row, const CString& text)>& visit) const override;

  // ---- Computed columns (listview/filter/filter_list_columns.cpp) ----
  // Appends `column` as the last column index, shown after the last header
  // column, with its description as the header tool-tip. Returns its index.
  int AddComputedColumn(const sTarnColInfo& column) override;
  // Removes computed column `index`: its header column (when shown), its
  // record and order entry. Later column indexes move one down, and every
  // reference to them (formulas, filters, sorting, keyword column) with
  // them. Built-in columns are never removed.
  void RemoveComputedColumn(int index) override;
  // Every shown column's header tool-tip again: its description, or its
  // caption when it has none.
  void ReregisterHeaderToolTips() override;
  listview::ListHost& Columns() override { return *this; }

  CColorHeaderCtrl& Header() { return m_header; }

 protected:
  void PreSubclassWindow() override;
  int OnCreate(LPCREATESTRUCT cs) override;
  Reflect OnReflectNotify(NMHDR* header, LRESULT* result) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void BuildHeaderMenu(CMenu& menu) override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  // Brings the platform list up to date (SyncAppendedRows) before the
  // window handles any message.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FillBackground(HDC dc, const RECT& rect, COLORREF color) const;
  // The selected records, the focused one and the one under the selection
  // mark, by store index, taken before the view is rebuilt, and given back
  // to the rows that show them afterwards (filter_list_selection.cpp).
  struct RowMarks {
    std::vector<int> selected;  // store indexes, no order
    int focused = -1;
    int anchor = -1;
    bool Empty() const { return selected.empty() && focused < 0 && anchor < 0; }
  };
  RowMarks TakeRowMarks() const;
  void GiveBackRowMarks(const RowMarks& marks);
  void AttachHeader();
  void ReindexingError(const char* message);
  void SortView(int column);
  // A header notification sent on to the owner-notification window (else
  // the parent) under the list's control id.
  void ForwardToOwner(NMHDR& notify);
  void OnFilterChange(NMHEADER* notify);
  // The filter button of a header column: the filter text pop-up.
  void OnFilterButton(NMHDFILTERBTNCLICK* notify);
  // The custom column dialog for this list (CUserDefinedColDlg modes).
  void OpenUserColumns(int mode);
  void OnGetDispInfo(NMLVDISPINFO* info);
  void OnClick(NMITEMACTIVATE* click);
  void ToggleExactMatch();
  void MoveBetweenFilterBoxes(bool backwards);
  bool FocusInFilterBox() const;
  void SetFilterBar(bool on);
  void UpdateCount();
  // Tells the platform list of the rows AppendRow added since it last did.
  void SyncAppendedRows();

  listview::RowMap m_rows;  // the store, the view and the newest-first setting
  int m_nUnsyncedRows = 0;  // the newest visible rows the platform list does not hold yet
  BOOL m_bFilterMode = 0;
  BOOL m_bFilterNotifications = 1;
  BOOL m_bFilterRowShown = 0;
  BYTE m_cOneShotExact = 0;
  BYTE m_cExactMatch = 0;
  BYTE m_cGradient = 0;
  int m_nCurrentFilterBox = 0;
  int m_nLinesPerRow = 1;
  CColorHeaderCtrl m_header;
  std::vector<int> m_arrFilterColumns;    // column indexes with a filter
  std::vector<CString> m_arrFilterTexts;  // same order
  RowFormatter m_pfnFormatter = nullptr;
  RowFormatterMember m_pfnFormatterMember = nullptr;
  int m_nSortColumnIndex = -1;
  // Re-armed whenever the rows are rebuilt (see computed_cell.h).
  mutable listview::FormulaErrorBox m_formulaErrorBox;
};
