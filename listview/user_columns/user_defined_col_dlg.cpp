#include "listview/user_columns/user_defined_col_dlg.h"

#include "listview/profile/profile_io.h"

#include <algorithm>
#include <vector>

#include "listview/host/list_owned_dialog.h"
#include "listview/formula_pieces.h"
#include "listview/user_columns/user_formula.h"
#include "platform/user/data_exchange.h"
#include "platform/user/message_box.h"
#include "platform/window/keyboard.h"

namespace ids = user_column_ids;

namespace {

constexpr int kNewColumnWidth = 100;

// The kinds of column a formula may use: the numeric sort kinds (computed
// columns are floats themselves).
bool IsNumeric(int sortType) {
  return sortType == sort_kind::kInteger || sortType == sort_kind::kFloat || sortType == sort_kind::kLong ||
         sortType == sort_kind::kFloat5;
}

CString Quoted(const CString& caption) { return "\"" + caption + "\""; }

}  // namespace

CUserDefinedColDlg& TheUserDefinedColDlg() {
  static CUserDefinedColDlg dialog;
  return dialog;
}

CUserDefinedColDlg::CUserDefinedColDlg() : CDialog(ids::kDialog, nullptr) {}

void CUserDefinedColDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, ids::kColumns, m_lstColumns);
  DDX_Text(dx, ids::kFormula, m_strShown);
  DDX_Control(dx, ids::kComputed, m_cmbComputed);
}

bool CUserDefinedColDlg::Open(listview::ComputedColumnsHost* host, int mode) {
  if (host == nullptr) return false;
  listview::ListHost* list = &host->Columns();
  const CArray<sTarnColInfo>& columns = list->ColumnRecords();
  if (list->BuiltInColumnCount() > columns.GetSize()) {
    AfxMessageBox("Error while adding user defined cols");
    return false;
  }
  bool ok = false;
  listview::CreateForList(*this, ids::kDialog, list->HostList(), ok);
  if (!ok) return false;
  m_pList = host;

  // The items' data are column indexes, not colours: every caption in black.
  m_lstColumns.SetPlainText(TRUE);
  m_lstColumns.ResetContent();
  m_cmbComputed.ResetContent();
  SetDlgItemText(ids::kFormula, "");
  SetDlgItemText(ids::kName, "");
  m_strStored = " ";
  m_strShown.Empty();
  m_nMode = mode;

  CWnd* name = GetDlgItem(ids::kName);
  CString title;
  if (mode == kAddMode) {
    m_cmbComputed.ShowWindow(SW_HIDE);
    if (name != nullptr) name->ShowWindow(SW_SHOW);
    title.Format("%s: Add Custom Columns", list->ProfileName().GetString());
    SetDlgItemText(IDOK, "Add");
  } else {
    m_cmbComputed.ShowWindow(SW_SHOW);
    if (name != nullptr) name->ShowWindow(SW_HIDE);
    title.Format("%s: Delete Custom Columns", list->ProfileName().GetString());
    SetDlgItemText(IDOK, "Delete");
  }
  SetWindowText(title);
  // Deleting needs only the choice of a column: what builds a formula is
  // greyed, and the formula box only shows the chosen column's formula.
  for (const int id : {ids::kColumns, ids::kFormula, ids::kPlus, ids::kMinus, ids::kTimes, ids::kDivide, ids::kOpen,
                       ids::kClose, ids::kSquare, ids::kPower, ids::kColumn, ids::kClear}) {
    if (CWnd* item = GetDlgItem(id)) item->EnableWindow(mode == kAddMode);
  }

  for (int i = list->BuiltInColumnCount(); i < columns.GetSize(); ++i) {
    const int item = m_cmbComputed.AddString(columns[i].szName);
    if (item >= 0) m_cmbComputed.SetItemData(item, static_cast<DWORD_PTR>(i));
  }
  for (int i = 0; i < columns.GetSize(); ++i) {
    if (!IsNumeric(columns[i].nSortType)) continue;
    const int item = m_lstColumns.AddString(columns[i].szName);
    if (item >= 0) m_lstColumns.SetItemData(item, static_cast<DWORD_PTR>(i));
  }
  // Focus where the first choice is made: the name to type, or the column to delete.
  if (CWnd* first = mode == kAddMode ? name : &m_cmbComputed; first != nullptr) GotoDlgCtrl(first);
  return true;
}

BOOL CUserDefinedColDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == ids::kComputed) {
    if (code == CBN_SELCHANGE) ShowDescription();
    return CDialog::OnCommand(wParam, lParam);
  }
  if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
  switch (id) {
    case ids::kPlus: AppendOperator(" + ", "+", "+", "+"); return TRUE;
    case ids::kMinus: AppendOperator(" - ", "-", "-", "-"); return TRUE;
    case ids::kTimes: AppendOperator(" * ", "*", "*", "*"); return TRUE;
    case ids::kDivide: AppendOperator(" / ", "/", "/", "/"); return TRUE;
    case ids::kOpen: AppendOperator(" ( ", "(", "(", "("); return TRUE;
    case ids::kClose: AppendOperator(" ) ", ")", ")", ")"); return TRUE;
    case ids::kSquare: AppendOperator(" ^ 2 ", "^2", "^ 2", "^2"); return TRUE;
    case ids::kPower: AppendOperator(" ^ ", "^", "^", "^"); return TRUE;
    case ids::kColumn: AppendColumn(); return TRUE;
    case ids::kClear: Clear(); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

bool CUserDefinedColDlg::SelectedColumn(CString& caption, int& index) const {
  const int item = m_lstColumns.GetCurSel();
  if (item < 0) return false;
  m_lstColumns.GetText(item, caption);
  index = static_cast<int>(m_lstColumns.GetItemData(item));
  return true;
}

void CUserDefinedColDlg::AppendOperator(const char* shown, const char* stored, const char* alone,
                                        const char* storedAlone) {
  UpdateData(TRUE);
  if ((GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    m_strShown += alone;
    m_strStored += storedAlone;
  } else {
    CString caption;
    int index = -1;
    if (!SelectedColumn(caption, index)) {
      MessageBox("Please select a Column Name");
      SetActiveWindow();
      return;
    }
    m_strShown += Quoted(caption) + shown;
    m_strStored += listview::QuotedIndex(index) + stored;
  }
  UpdateData(FALSE);
}

void CUserDefinedColDlg::AppendColumn() {
  UpdateData(TRUE);
  CString caption;
  int index = -1;
  if (!SelectedColumn(caption, index)) {
    AfxMessageBox("No column is selected");
    return;
  }
  m_strShown += Quoted(caption);
  m_strStored += listview::QuotedIndex(index);
  UpdateData(FALSE);
}

void CUserDefinedColDlg::Clear() {
  UpdateData(TRUE);
  m_strShown.Empty();
  m_strStored.Empty();
  UpdateData(FALSE);
}

void CUserDefinedColDlg::ShowDescription() {
  const int item = m_cmbComputed.GetCurSel();
  if (item < 0) return;  // a chosen item was filled from the list's records
  const int index = static_cast<int>(m_cmbComputed.GetItemData(item));
  const CArray<sTarnColInfo>& records = m_pList->Columns().ColumnRecords();
  // Stale only if an owner changed the columns under the open dialog.
  if (index < m_pList->Columns().BuiltInColumnCount() || index >= records.GetSize()) return;
  SetDlgItemText(ids::kFormula, records[index].strDescription);
}

void CUserDefinedColDlg::OnOK() {
  if (m_pList == nullptr) return;
  if (m_nMode == kAddMode) AddColumn();
  else DeleteColumn();
}

void CUserDefinedColDlg::AddColumn() {
  UpdateData(TRUE);
  CString name;
  GetDlgItemText(ids::kName, name);
  name.Trim();
  if (name.IsEmpty()) {
    MessageBox("Please Enter the column Name");
    return;
  }
  if (name.FindOneOf("#,") >= 0) {
    MessageBox("\"#,\" are not allowed as a custom column name , please choose a different name");
    return;
  }
  if (m_strShown.IsEmpty()) {
    MessageBox("Column Expression is empty, please enter an expression to add a column");
    return;
  }
  std::vector<listview::NamedColumn> columns;
  for (int i = 0; i < m_lstColumns.GetCount(); ++i) {
    CString caption;
    m_lstColumns.GetText(i, caption);
    columns.push_back({caption, static_cast<int>(m_lstColumns.GetItemData(i))});
  }
  CString stored;
  if (!listview::CheckFormula(m_strShown, columns, stored)) {
    MessageBox("Invalid Expression, Please check the expression again");
    return;
  }
  m_strStored = stored;
  // The record keeps 63 characters; the name is compared as it will be kept,
  // hidden columns included.
  sTarnColInfo column(name, kNewColumnWidth, LVCFMT_RIGHT, sort_kind::kFloat);
  const CArray<sTarnColInfo>& records = m_pList->Columns().ColumnRecords();
  for (int i = 0; i < records.GetSize(); ++i) {
    if (CString(records[i].szName) == column.szName) {
      MessageBox("This column name already present,Please choose different column Name");
      return;
    }
  }
  column.strExpression = m_strStored;
  column.strDescription = m_strShown;
  // The list's layout is read back into a buffer of 4,096 characters: a
  // column that makes it longer would be dropped, with every later one, at
  // the next start. Refused here, before anything changes or is saved.
  if (m_pList->Columns().FormatCurrentProfile(&column).GetLength() > listview::kProfileValueMaxLength) {
    MessageBox(kProfileTooLongMessage);
    return;
  }
  m_pList->AddComputedColumn(column);
  Finish();
}

void CUserDefinedColDlg::DeleteColumn() {
  const int item = m_cmbComputed.GetCurSel();
  if (item < 0) {
    MessageBox("No user defined column selected to delete");
    return;
  }
  const int chosen = static_cast<int>(m_cmbComputed.GetItemData(item));
  const CArray<sTarnColInfo>& records = m_pList->Columns().ColumnRecords();
  const int builtIn = m_pList->Columns().BuiltInColumnCount();
  if (chosen < builtIn || chosen >= records.GetSize()) return;
  // The chosen column and the computed columns whose formula, as typed,
  // quotes its caption. A column that used it only through one of those
  // stays; its formula then names a column that is gone, and its cells are
  // empty until the user deletes it too.
  const CString quoted = "\"" + CString(records[chosen].szName) + "\"";
  std::vector<int> going;
  for (int i = builtIn; i < records.GetSize(); ++i) {
    if (i == chosen || records[i].strDescription.Find(quoted) >= 0) going.push_back(i);
  }
  // Highest index first, so the indexes still to remove stay valid.
  for (auto it = going.rbegin(); it != going.rend(); ++it) m_pList->RemoveComputedColumn(*it);
  m_pList->ReregisterHeaderToolTips();
  Finish();
}

void CUserDefinedColDlg::Finish() {
  EndDialog(IDOK);
  m_pList->Columns().SaveColumnProfile();
}
