// "View Allowed Group": the allowed groups the server listed, one row per
// group, newest first. Rows own their records.
#pragma once

#include <memory>
#include <vector>

#include "allowed_groups/allowed_group_record.h"
#include "platform/afx.h"
#include "platform/ccombobox.h"
#include "platform/dialog.h"

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
  int SendDeleteListedRequest(const AllowedGroupRecord& record);

 protected:
  BOOL OnInitDialog() override;

 private:
  std::vector<std::unique_ptr<AllowedGroupRecord>> m_rows;
};
