// CCommonListCtrl: opening the appearance dialog.
#include "listview/appearance/customized_appearance.h"
#include "listview/common/common_list_ctrl.h"

void CCommonListCtrl::OpenAppearanceDialog() {
  CCustomizedAppearance& dialog = listview::AppearanceDialog();
  if (dialog.GetSafeHwnd() == nullptr && !dialog.Create(CCustomizedAppearance::kTemplateId, this)) return;
  dialog.SetWindowText("Customize Appearance :" + m_strProfileName);
  dialog.Bind(this);
  // Every showing reloads the bound list's appearance, also when the dialog
  // is open already (perhaps for another list).
  if (dialog.IsWindowVisible()) dialog.ShowWindow(SW_HIDE);
  CRect list;
  GetWindowRect(&list);
  CRect box;
  dialog.GetWindowRect(&box);
  dialog.SetWindowPos(nullptr, list.CenterPoint().x - box.Width() / 2, list.CenterPoint().y - box.Height() / 2, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  dialog.ShowWindow(SW_SHOW);
  dialog.BringWindowToTop();
}

void CCommonListCtrl::ReleaseAppearanceDialog() {
  CCustomizedAppearance* dialog = listview::ExistingAppearanceDialog();
  if (dialog == nullptr || dialog->BoundList() != this) return;
  dialog->Bind(nullptr);
  if (dialog->GetSafeHwnd() != nullptr) dialog->ShowWindow(SW_HIDE);
}
