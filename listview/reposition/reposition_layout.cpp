// CRepositionColumns: where the controls sit for a client size. The two
// lists share the width beside a middle column of ">", "<" and "&Default";
// the sort row lies under the lists and "&View", "&Save", "&Cancel" along
// the bottom edge, at the right. Measures are dialog units of the dialog's
// font, so the layout follows the font as the template does.
#include <algorithm>

#include "listview/reposition/reposition_columns.h"

namespace {

struct Units {
  int x;  // pixels per horizontal dialog unit x 4
  int y;  // pixels per vertical dialog unit x 8
};

}  // namespace

void CRepositionColumns::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (type != SIZE_MINIMIZED) Layout(cx, cy);
}

void CRepositionColumns::OnGetMinMaxInfo(MINMAXINFO* info) {
  CDialog::OnGetMinMaxInfo(info);
  if (m_hWnd == nullptr || info == nullptr) return;
  CRect minimum(0, 0, kMinimumClient.cx, kMinimumClient.cy);
  MapDialogRect(&minimum);
  CRect window;
  CRect client;
  GetWindowRect(&window);
  GetClientRect(&client);
  info->ptMinTrackSize.x = minimum.Width() + window.Width() - client.Width();
  info->ptMinTrackSize.y = minimum.Height() + window.Height() - client.Height();
}

void CRepositionColumns::Layout(int cx, int cy) {
  if (m_hWnd == nullptr || m_listShown.GetSafeHwnd() == nullptr) return;
  CRect base(0, 0, 4, 8);
  MapDialogRect(&base);
  const Units units{std::max(1, static_cast<int>(base.Width())), std::max(1, static_cast<int>(base.Height()))};
  const auto dx = [&](int dlu) { return dlu * units.x / 4; };
  const auto dy = [&](int dlu) { return dlu * units.y / 8; };
  const auto place = [&](int id, int x, int y, int w, int h) {
    if (CWnd* control = GetDlgItem(id)) control->MoveWindow(x, y, std::max(0, w), std::max(0, h), TRUE);
  };

  const int margin = dx(7);
  const int gap = dx(4);
  const int buttonWidth = dx(50);
  const int buttonHeight = dy(14);
  const int middleWidth = dx(36);

  const int bottomY = cy - dy(7) - buttonHeight;
  place(IDCANCEL, cx - margin - buttonWidth, bottomY, buttonWidth, buttonHeight);
  place(reposition_id::kSave, cx - margin - 2 * buttonWidth - gap, bottomY, buttonWidth, buttonHeight);
  place(reposition_id::kView, cx - margin - 3 * buttonWidth - 2 * gap, bottomY, buttonWidth, buttonHeight);

  const int rowHeight = dy(12);
  const int sortY = bottomY - dy(8) - rowHeight;
  const int labelWidth = dx(64);
  const int sortWidth = dx(40);
  place(reposition_id::kSortLabel, margin, sortY + dy(2), labelWidth, dy(8));
  place(reposition_id::kSortField, margin + labelWidth + gap, sortY, cx - 2 * margin - labelWidth - sortWidth - 2 * gap,
        rowHeight);
  place(reposition_id::kSort, cx - margin - sortWidth, sortY, sortWidth, rowHeight);

  const int top = dy(7);
  const int listBottom = (m_bSortControls ? sortY : bottomY) - dy(8);
  const int listHeight = listBottom - top;
  const int listWidth = (cx - 2 * margin - middleWidth - 2 * gap) / 2;
  const int middleX = margin + listWidth + gap;
  place(reposition_id::kAvailableList, margin, top, listWidth, listHeight);
  place(reposition_id::kShownList, middleX + middleWidth + gap, top, listWidth, listHeight);
  place(reposition_id::kShow, middleX, top + listHeight / 2 - buttonHeight - gap, middleWidth, buttonHeight);
  place(reposition_id::kHide, middleX, top + listHeight / 2 + gap, middleWidth, buttonHeight);
  place(reposition_id::kDefault, middleX, listBottom - buttonHeight, middleWidth, buttonHeight);

  // Each list's one column spans its client width (none while the dialog is
  // too small to show the lists; the next size sets it again).
  for (CZRDragListCtrl* list : {&m_listAvailable, &m_listShown}) {
    CRect client;
    list->GetClientRect(&client);
    list->SetColumnWidth(0, client.Width());
  }
}
