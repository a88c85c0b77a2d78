// "View Allowed Group": the allowed groups the server listed, one row per
// group, newest first, in an owner-data list whose texts the dialog gives on
// request. Rows own their records. Selected groups are deleted on the
// server and leave the list at once, before any reply.
#pragma once

#include <memory>
#include <vector>

#include "allowed_groups/allowed_group_record.h"
#include "platform/afx.h"
#include "platform/user/cbutton.h"
#include "platform/comctl/clistctrl.h"
#include "platform/base/collections.h"
#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"
#include "plugin/visibility.h"

class CViewAlgGrpDlg : public CDialog {
 public:
  CViewAlgGrpDlg();

  // Takes the record: merges it into the row of the same group, or shows it
  // as a new row on top.
  void AddOrMerge(std::unique_ptr<AllowedGroupRecord> record);
  void RemoveAllRows();
  // Rows in visible order, top first.
  const std::vector<std::unique_ptr<AllowedGroupRecord>>& Rows() const { return m_rows; }

  // The delete-listed request for one record; 1 when the terminal accepted it.
  PLUGIN_TEST_HOOK int SendDeleteListedRequest(const AllowedGroupRecord& record);

  // The text of column `column` (0 to 8) of a record, as the list shows it.
  static CString CellText(const AllowedGroupRecord& record, int column);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnSize(UINT type, int cx, int cy) override;

 private:
  void Layout();
  void RowsChanged();
  void OnDeleteGroup();

  CListCtrl m_list;
  CButton m_btnDelete;
  CList<int, int> m_pendingRows{10};  // visible rows collected during one delete
  std::vector<std::unique_ptr<AllowedGroupRecord>> m_rows;
};
