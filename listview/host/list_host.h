// What a list shows the dialogs that serve it: the column profile dialog
// (reposition/), the appearance dialog (appearance/) and the custom column
// dialog (user_columns/). They sit below the lists (common/, filter/) and
// reach a list only through these interfaces, so that a list may own or
// open them without the dialogs knowing which kind of list it is.
//
// A host outlives every call made on it; a dialog that keeps a host keeps
// it only while the list's window exists (the list unbinds it first).
#pragma once

#include "listview/col_info.h"
#include "listview/list_appearance.h"
#include "platform/base/collections.h"
#include "platform/comctl/clistctrl.h"

namespace listview {

class ListHost {
 public:
  // ---- The window: its header, column widths, colours, control id ----
  virtual CListCtrl& HostList() = 0;
  // The nearest dialog ancestor of the list, or null.
  virtual CWnd* DialogAncestor() const = 0;

  // ---- Columns ----
  // The key of the list's saved layout and appearance.
  virtual const CString& ProfileName() const = 0;
  // One record per column index, built-in columns first.
  virtual const CArray<sTarnColInfo>& ColumnRecords() const = 0;
  virtual int BuiltInColumnCount() const = 0;
  // Captions that may not be hidden.
  virtual const CStringArray& MandatoryColumns() const = 0;
  // Per column index: display position, -1 hidden; and per display
  // position: column index. Changed together, then SetFirstColumnIndex.
  virtual CArray<int>& ColumnOrder() = 0;
  virtual CArray<int>& ColumnAtPosition() = 0;
  // The column index shown first, from which rows are drawn.
  virtual void SetFirstColumnIndex(int column) = 0;
  // Header column `position` with `column`'s caption, format and width, and
  // its description as the header tool-tip when it has one.
  virtual void InsertShownColumn(int position, const sTarnColInfo& column) = 0;
  // Header column `position` goes; the tools of later columns follow it.
  virtual void RemoveShownColumn(int position) = 0;
  // A new arrangement of columns drops the filters that were set on the old
  // one (a list without filters has none to drop).
  virtual void ResetFilters() = 0;

  // ---- The layout ----
  // The COLUMNPROFILE value a save writes now; with `added`, as it would be
  // once that computed column is appended and shown last.
  virtual CString FormatCurrentProfile(const sTarnColInfo* added = nullptr) const = 0;
  // Stores the layout; on failure the failed-save box
  // (listview::ShowSettingsNotSaved), the file left as it was.
  virtual void SaveColumnProfile() = 0;
  // The current arrangement becomes the default for this session, unsaved.
  virtual void KeepLayoutAsDefault() = 0;

  // ---- The look ----
  virtual sListAppearance& Appearance() = 0;
  // False when the list keeps its own colours whatever is chosen.
  virtual bool AppliesColors() const = 0;
  virtual void SetListFont(const CString& face, const CString& size) = 0;
  // Set when the appearance dialog applied a choice to the list.
  virtual void MarkCustomized() = 0;

 protected:
  ~ListHost() = default;
};

// A list whose columns may be added as formulas over others while it runs.
class ComputedColumnsHost {
 public:
  virtual ListHost& Columns() = 0;
  // Appends `column` as the last column index, shown last. Returns its index.
  virtual int AddComputedColumn(const sTarnColInfo& column) = 0;
  // Removes computed column `index`; later indexes move one down.
  virtual void RemoveComputedColumn(int index) = 0;
  // Every shown column's header tool-tip again.
  virtual void ReregisterHeaderToolTips() = 0;

 protected:
  ~ComputedColumnsHost() = default;
};

}  // namespace listview
