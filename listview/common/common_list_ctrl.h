// CCommonListCtrl: the report list every list of the system derives from.
//
// On top of the platform list view it keeps a table of column records
// (sTarnColInfo, one per column index) and a column layout saved per list
// in the settings file; sorts on a header click with nine comparison kinds;
// copies the selection to the clipboard; fits columns to data, header or
// window; toggles grid lines; keeps one header tool-tip per column; and
// takes its colours and font from the list's appearance line.
//
// Owner protocol: set m_strProfileName; append one record per built-in
// column in column-index order (and caption -> index in m_mapColumnIndex);
// optionally fill m_arrMandatoryColumns and m_arrDefaultLayout; call
// ApplyColumnProfile. On WM_DESTROY the layout is saved, then the column
// tables are emptied and every header item deleted.
//
// Cells are read only through the virtual GetItemText(row, subItem), so a
// derived list that keeps its rows elsewhere overrides that one operation.
//
// Invariants: m_arrColumnOrder has one entry per column record (its display
// position, -1 hidden); m_arrSavedItemData is non-empty only while a sort runs.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <memory>
#include <string>

#include "listview/col_info.h"
#include "listview/host/list_host.h"
#include "listview/list_appearance.h"
#include "listview/reposition/reposition_columns.h"
#include "platform/afx.h"
#include "platform/comctl/clistctrl.h"
#include "platform/comctl/tooltip.h"
#include "platform/base/collections.h"
#include "platform/user/menu.h"

// Command ids of the list's menus.
namespace list_command {
constexpr UINT kFitToData = 4001;
constexpr UINT kFitToHeader = 4002;
constexpr UINT kFitToWindow = 4003;
constexpr UINT kRepositionColumns = 4004;
constexpr UINT kRepositionColumnsAlt = 4005;
constexpr UINT kWriteToExcel = 4006;
constexpr UINT kReadFromExcel = 4007;
constexpr UINT kGridLines = 4008;
constexpr UINT kCustomize = 4009;
constexpr UINT kCopyToClipboard = 4010;
}  // namespace list_command

class CCommonListCtrl : public CListCtrl, public listview::ListHost {
 public:
  // Per-row colour hook (keyword colouring): may change the text colour of
  // the row with item data `data`.
  using ColorCallback = void (*)(CCommonListCtrl* list, DWORD_PTR data, COLORREF& textColor);
  // Item tool-tip text of `row`; 0 refuses the tip.
  using ItemToolTipCallback = int (*)(CWnd* parent, int row, CString& text, CCommonListCtrl* list);

  CCommonListCtrl();
  ~CCommonListCtrl() override;

  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
  BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void DrawItem(LPDRAWITEMSTRUCT dis) override;
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
  int GetItemText(int item, int subItem, LPTSTR buffer, int length) const override;
  CString GetItemText(int item, int subItem) const override;
  // While a sort runs: the row's saved data (its real data; the control
  // holds row numbers then).
  DWORD_PTR GetItemData(int item) const override;

  // ---- Columns ----
  using CListCtrl::InsertColumn;
  // Base insertion plus the column's header tool-tip. Returns the position.
  int InsertColumn(int position, LPCTSTR caption, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  // Base deletion; the tools of later columns move one id down.
  BOOL DeleteColumn(int position);
  // Tool id position + 1 over the column's header rectangle; null text: the
  // column's caption. Report style and an existing position only.
  void AddHeaderToolTip(int position, LPCTSTR text = nullptr);
  // Builds the header from the records and the stored profile.
  // The COLUMNPROFILE value SaveColumnProfile writes now; with `added`, as
  // it would be once that computed column is appended and shown last.
  CString FormatCurrentProfile(const sTarnColInfo* added = nullptr) const override;
  void ApplyColumnProfile();
  // Stores the current layout; on failure the failed-save box
  // (listview::ShowSettingsNotSaved), the file left as it was.
  void SaveColumnProfile() override;

  // ---- Look ----
  void LoadCustomization();
  void SetListFont(const CString& face, const CString& size) override;
  void ToggleGridLines();
  // The process's appearance dialog, bound to this list, titled
  // "Customize Appearance :<profile>", shown on top and centred over the list
  // (common_list_appearance.cpp).
  void OpenAppearanceDialog();
  // mode: list_command::kFitToData, kFitToHeader or kFitToWindow.
  void FitColumns(int mode);

  // ---- Rows ----
  // The rows through CExcelInterface (listview/excel/excel_interface.h):
  // "No Items in the List" for an empty list, else "File is generated" or
  // "File generation Failed".
  void ExportToExcel();
  // The exporter's cells: row 0 the captions (type: the record's
  // nSortType), later rows the list's texts (type -1).
  static int ExcelCellProvider(void* context, int row, int column, CString& text, int& type);
  // CF_TEXT of the selected rows: every cell followed by TAB, rows by CR LF.
  void CopyToClipboard();
  // A click on header item `column`: sorts by it (same column again: the
  // other direction; another column: ascending).
  void SortByColumn(int column);
  static int CompareItems(LPARAM a, LPARAM b, LPARAM list);
  // The list menu at the cursor (a right click, or the Apps key).
  void ShowListMenu();

  // ---- Item tool-tips (only with an item tool-tip callback) ----
  // The row under a client point: tool id row + 1 over the row's rectangle,
  // its text asked later (LPSTR_TEXTCALLBACK); -1 when no row is hit.
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const override;

  // ---- The column profile dialog ----
  // Destroys and recreates the modeless dialog 9002 over this list and fills
  // it (commands 4004, and 4005 for the second mode).
  void OpenRepositionColumns(bool secondMode);
  CRepositionColumns& RepositionDialog() { return m_dlgReposition; }

  // ---- Owner setup ----
  void SetOwnerNotificationWindow(CWnd* wnd) { m_pNotifyWnd = wnd; }
  void SetColorCallback(ColorCallback callback) { m_pfnColor = callback; }
  void SetItemToolTipCallback(ItemToolTipCallback callback) { m_pfnItemToolTip = callback; }

  // ---- State ----
  HWND HeaderToolTip() const { return m_hHeaderTip; }
  const CString& ClipboardText() const { return m_strClipboardText; }

  // ---- What the list's dialogs see (listview/host/list_host.h) ----
  CListCtrl& HostList() override { return *this; }
  CWnd* DialogAncestor() const override;
  const CString& ProfileName() const override { return m_strProfileName; }
  const CArray<sTarnColInfo>& ColumnRecords() const override { return m_arrColumns; }
  int BuiltInColumnCount() const override { return m_nBuiltInColumns; }
  // Columns with both a record and an order entry. Once a profile is applied
  // the two arrays are of one size; before it the order may be shorter.
  int KnownColumns() const { return static_cast<int>(std::min(m_arrColumns.GetSize(), m_arrColumnOrder.GetSize())); }
  const CStringArray& MandatoryColumns() const override { return m_arrMandatoryColumns; }
  CArray<int>& ColumnOrder() override { return m_arrColumnOrder; }
  CArray<int>& ColumnAtPosition() override { return m_arrColumnAtPosition; }
  void SetFirstColumnIndex(int column) override { m_nFirstColumnIndex = column; }
  void InsertShownColumn(int position, const sTarnColInfo& column) override;
  void RemoveShownColumn(int position) override { DeleteColumn(position); }
  // A plain list has no filters; the filter list drops its own.
  void ResetFilters() override {}
  void KeepLayoutAsDefault() override { m_arrDefaultLayout.Copy(m_arrColumnOrder); }
  sListAppearance& Appearance() override { return m_appearance; }
  bool AppliesColors() const override { return m_bApplyColors != 0; }
  void MarkCustomized() override { m_cCustomized = 1; }

  // Filled by the owner before ApplyColumnProfile.
  CString m_strProfileName;
  CArray<sTarnColInfo> m_arrColumns;                             // per column index
  CArray<int> m_arrColumnOrder;                                  // per column index: display position, -1 hidden
  CArray<int> m_arrColumnAtPosition;                             // per display position: column index
  CStringArray m_arrMandatoryColumns;                            // captions that may not be hidden
  CMap<CString, const CString&, int, int> m_mapColumnIndex{10};  // caption -> column index
  CArray<int> m_arrDefaultLayout;                                // per column index: position when no profile is stored

  BOOL m_bExcelExport = 1;
  BOOL m_bExcelImport = 0;
  BOOL m_bReposition = 1;
  BOOL m_bApplyColors = 1;
  BOOL m_bCustomize = 1;
  BOOL m_bHeaderToolTips = 1;
  BOOL m_bFillEmptyArea = 0;

 protected:
  void PreSubclassWindow() override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  Reflect OnReflectNotify(NMHDR* header, LRESULT* result) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnDestroy() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  // Hands `fill` what the rows leave of the client area, each part only when
  // it is not empty: right of the columns' end, then below `bottom` as far
  // right as the columns reach.
  void FillEmptyArea(int bottom, const std::function<void(const CRect&)>& fill);
  // The header menu when the point (screen) lies on the header.
  void OnContextMenu(CWnd* wnd, CPoint point) override;

  // The menus' entries; a derived list appends its own.
  virtual void BuildHeaderMenu(CMenu& menu);
  virtual void BuildListMenu(CMenu& menu);

  // Ctrl/Shift shortcuts of the list; true when the key is consumed.
  bool HandleShortcut(UINT key);
  // Whether a key sent to `target` is one of the list's shortcuts: only the
  // list's own keys are, never those of a box inside it.
  bool ShortcutsApplyTo(HWND target) const;
  // Every header tool rectangle set to its header item rectangle.
  void RealignHeaderToolTips();
  // A list going away unbinds the appearance dialog and hides it.
  void ReleaseAppearanceDialog();
  // Header item `item` gets the sort image `image` (-1: format string only).
  void SetHeaderSortImage(int item, int image);
  CString HeaderItemText(int item) const;
  // TTN_NEEDTEXTA/W for tool id k: the callback's text for row k - 1, kept
  // in the list's own buffer; no text without a callback, for id 0, past the
  // last row, or when the owner refuses.
  void OnItemToolTipText(NMHDR* notify);

  CRepositionColumns m_dlgReposition;
  int m_nSortColumn = 0;
  int m_nPrevSortColumn = -1;
  int m_nSortDirection = 1;  // -1 ascending, +1 descending
  int m_nSortType = 0;
  int m_nFirstColumnIndex = 0;
  int m_nBuiltInColumns = 0;
  CString m_strClipboardText;
  CArray<DWORD_PTR> m_arrSavedItemData;  // item data of every row while a sort runs
  CWnd* m_pNotifyWnd = nullptr;
  bool m_bOwnerDrawing = false;  // a row's WM_DRAWITEM is with the notification window
  ColorCallback m_pfnColor = nullptr;
  ItemToolTipCallback m_pfnItemToolTip = nullptr;
  BYTE m_cCustomized = 0;
  sListAppearance m_appearance;

 private:
  void InsertRecordsInOrder();
  // ApplyColumnProfile with a stored value (`cut`: it was longer than the
  // reader keeps): checks it (stored_layout.h), appends its computed
  // columns, sets orders and widths and calls `place` (position, column
  // index) for each shown column.
  void PlaceStoredLayout(const CString& value, bool cut, std::vector<int>& widths,
                         const std::function<void(int, int)>& place);
  void AddTool(int id, const RECT& rect, const CString& text);
  RECT HeaderToolRect(int position) const;
  void Redraw(bool on);

  HWND m_hHeaderTip = nullptr;
  std::string m_strTipTextA;  // the text of the last item tool-tip
  std::wstring m_strTipTextW;
  std::unique_ptr<CFont> m_font;  // the font SetListFont built, while it is the list's
};
