#include "listview/host/list_owned_dialog.h"

namespace listview {

bool CreateForList(CDialog& dialog, UINT id, const CWnd& list, bool& ok) {
  CWnd* owner = list.GetTopLevelParent();
  const HWND ownerWnd = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
  if (dialog.GetSafeHwnd() != nullptr && ::GetParent(dialog.GetSafeHwnd()) != ownerWnd) dialog.DestroyWindow();
  if (dialog.GetSafeHwnd() != nullptr) {
    ok = true;
    return false;
  }
  ok = dialog.Create(id, owner) != FALSE;
  return ok;
}

}  // namespace listview
