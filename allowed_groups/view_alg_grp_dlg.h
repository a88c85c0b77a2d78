// "View Allowed Group": the allowed groups the server listed, one row per
// group, newest first, in a filter list (listview/filter/filter_list_ctrl.h)
// whose layout is stored under the profile "rmsallowedgroups". The dialog
// owns the records; the list's rows point at them. Selected groups are
// deleted on the server and leave the list at once, before any reply.
//
// A reply merges into the row of the same group, found through an index of
// the records' values (allowed_groups/group_index.h) rather than a walk of
// every row (the benchmark bench/view_merge_bench.cpp keeps that walk, over
// Merge and AddRow, to measure the index against it).
#pragma once

#include <memory>
#include <vector>

#include "allowed_groups/core/allowed_group_record.h"
#include "allowed_groups/group_index.h"
#include "allowed_groups/group_slab.h"
#include "listview/filter/filter_list_ctrl.h"
#include "platform/afx.h"
#include "platform/base/collections.h"
#include "platform/user/cbutton.h"
#include "platform/user/cdialog.h"

class CPluginContext;

class CViewAlgGrpDlg : public CDialog {
 public:
  CViewAlgGrpDlg();

  static constexpr char kProfileName[] = "rmsallowedgroups";

  // Makes the window, modeless and hidden. Its deletes go through `context`
  // (null: none is sent); REQUIRES: the context outlives the window.
  BOOL Create(CPluginContext* context);
  using CDialog::Create;

  // Takes the record: merges it into the row of the same group (the first
  // in storage order), or shows it as a new row on top.
  void AddOrMerge(std::unique_ptr<AllowedGroupRecord> record);
  // The two halves of AddOrMerge once the row is known: `row` (a listed
  // record) takes the values of `record`; or `record` becomes a new row on
  // top, indexed.
  void Merge(AllowedGroupRecord& row, std::unique_ptr<AllowedGroupRecord> record);
  void AddRow(std::unique_ptr<AllowedGroupRecord> record);
  void RemoveAllRows();
  // The visible rows' records, top first. Inline, and reading the list only
  // through its window's messages, so that code outside the plug-in (the
  // end-to-end tests) needs none of its symbols.
  std::vector<const AllowedGroupRecord*> Rows() const {
    std::vector<const AllowedGroupRecord*> rows;
    const HWND list = m_list.GetSafeHwnd();
    if (list == nullptr) return rows;
    const LRESULT count = ::SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
      LVITEM item;
      item.mask = LVIF_PARAM;
      item.iItem = static_cast<int>(row);
      ::SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
      rows.push_back(reinterpret_cast<const AllowedGroupRecord*>(item.lParam));
    }
    return rows;
  }
  CFilterListCtrl& List() { return m_list; }

  // The delete-listed request for one record; 1 when the terminal accepted it.
  int SendDeleteListedRequest(const AllowedGroupRecord& record);

  // The text of column `column` (0 to 8) of a record, as the list shows it.
  static CString CellText(const AllowedGroupRecord& record, int column);
  // The list's row formatter: the cell text only.
  static int FormatRow(DWORD_PTR data, int column, CString& text, COLORREF& textColor, COLORREF& backColor, int& image);
  // The list's item tool-tip: the whole text of the cell under the pointer
  // in `row` when its column is too narrow to show it; 0 (no tip) otherwise.
  static int CutOffCellTip(CWnd* parent, int row, CString& text, CCommonListCtrl* list);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnSize(UINT type, int cx, int cy) override;
  // Closing only hides the window, which then lives until the process
  // ends: the list's layout is saved each time it hides, not only when the
  // window goes at exit, so that a crash of the terminal loses none of it.
  void OnWindowPosChanged(WINDOWPOS* pos) override;

 private:
  // Shows a record the slab holds as a new row on top.
  void ShowRow(AllowedGroupRecord* row);
  void Layout();
  void OnDeleteGroup();

  // The records the list's rows point at, and the index of their groups;
  // declared first so that they outlive the list's window.
  CGroupSlab m_records;
  CGroupIndex m_index{m_records};
  CFilterListCtrl m_list;
  CButton m_btnDelete;
  CList<int, int> m_pendingRows{10};     // visible rows collected during one delete
  CPluginContext* m_pContext = nullptr;  // not owned
};
