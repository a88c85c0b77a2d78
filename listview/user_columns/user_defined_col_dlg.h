// CUserDefinedColDlg: adds a computed column to a list that has them (a
// CFilterListCtrl, seen as a listview::ComputedColumnsHost), built as a
// formula over the list's numeric columns, or deletes one (dialog 1008).
//
// One modeless instance serves the process (TheUserDefinedColDlg); a list
// opens it for itself in add or delete mode (commands 33079 and 33080), and
// each Open prepares it afresh.
//
// Two formulas are kept while the user builds one: the shown formula (edit
// 1010) names columns by caption in double quotes, "Qty" * "Rate"; the
// stored formula names them by column index, ` "1"*"2"`, always beginning
// with a space. On Add the stored formula is rebuilt from the shown one
// (listview/user_columns/user_formula.h), so what the user typed is what
// counts. The operator buttons append a selected column and the operator,
// or with Ctrl held the operator alone:
//
//   1012 +   1013 -   1014 *   1015 /   1016 (   1017 )   10013 ^2   10014 ^
//   1018 the column alone            1019 both formulas emptied
//
// "^" is the expression engine's exclusive or, not a power.
//
// The column list (1009) is a CColorListBox: captions wrap, a caption too
// wide for the box shows whole in a tip, and Ctrl+C copies the chosen one.
//
// Every refusal is a message box after which the dialog stays open with its
// contents unchanged. Delete removes the chosen column and the computed
// columns whose shown formula quotes its caption. Add and Delete save the
// list's column profile. A column whose saved layout line would pass the
// 4,095 characters the list reads back is refused (kProfileTooLongMessage)
// before anything changes.
#pragma once

#include "controls/color_list_box.h"
#include "listview/host/list_host.h"
#include "platform/afx.h"
#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"
#include "platform/user/clistbox.h"

// Shown when the list's layout, with the new column, would not fit the
// settings file's line.
constexpr char kProfileTooLongMessage[] =
    "This column cannot be added: with it the list's saved layout would pass the 4095 characters "
    "the settings file keeps for it, and columns would be lost at the next start. "
    "Please choose a shorter name or expression, or delete a custom column first";

// The dialog's template and control ids.
namespace user_column_ids {
constexpr UINT kDialog = 1008;
constexpr int kColumns = 1009;   // list box: numeric columns, data = column index
constexpr int kFormula = 1010;   // edit: the shown formula
constexpr int kComputed = 1011;  // combo box: computed columns (delete mode)
constexpr int kPlus = 1012;
constexpr int kMinus = 1013;
constexpr int kTimes = 1014;
constexpr int kDivide = 1015;
constexpr int kOpen = 1016;
constexpr int kClose = 1017;
constexpr int kColumn = 1018;
constexpr int kClear = 1019;
constexpr int kName = 1022;     // edit: the new column's name (add mode)
constexpr int kSquare = 10013;  // "^2"
constexpr int kPower = 10014;   // "^"
}  // namespace user_column_ids

class CUserDefinedColDlg : public CDialog {
 public:
  static constexpr int kDeleteMode = 0;
  static constexpr int kAddMode = 1;

  CUserDefinedColDlg();

  // Binds `list`, creating the window on first use (owned by the list's
  // top-level window), and prepares it for `mode`; the caller shows it.
  // False, with "Error while adding user defined cols", when the list has
  // fewer column records than built-in columns.
  bool Open(listview::ComputedColumnsHost* list, int mode);

  const CString& StoredFormula() const { return m_strStored; }
  int Mode() const { return m_nMode; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

 private:
  // An operator button: `shown`/`stored` follow a selected column, `alone`
  // and `storedAlone` are appended with Ctrl held.
  void AppendOperator(const char* shown, const char* stored, const char* alone, const char* storedAlone);
  void AppendColumn();
  void Clear();
  void ShowDescription();
  void AddColumn();
  void DeleteColumn();
  // The column selected in the column list: false when none is.
  bool SelectedColumn(CString& caption, int& index) const;
  // Ends the dialog and stores the list's layout.
  void Finish();

  CColorListBox m_lstColumns;  // owner-drawn: wrapped captions, tips for wide ones, Ctrl+C
  CString m_strShown;   // edit 1010
  CString m_strStored;  // always begins with a space
  listview::ComputedColumnsHost* m_pList = nullptr;
  int m_nMode = kAddMode;
  CComboBox m_cmbComputed;
};

// The process's one dialog.
CUserDefinedColDlg& TheUserDefinedColDlg();
