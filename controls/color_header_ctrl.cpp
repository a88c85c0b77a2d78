#include "controls/color_header_ctrl.h"

#include <algorithm>

#include "controls/owner_draw_dc.h"
#include "platform/gdi/sys_colors.h"

COLORREF CColorHeaderCtrl::ItemBackground(int item) const {
  const std::vector<int> filtered = m_pSource != nullptr ? m_pSource->FilteredColumns() : std::vector<int>{};
  if (filtered.empty()) return ::GetSysColor(COLOR_BTNFACE);
  const bool shown = std::any_of(filtered.begin(), filtered.end(),
                                 [&](int column) { return m_pSource->HeaderItemOfColumn(column) == item; });
  return shown ? kGold : kLightGold;
}

Reflect CColorHeaderCtrl::OnReflectNotify(NMHDR* header, LRESULT* result) {
  if (header == nullptr || header->code != NM_CUSTOMDRAW) return CHeaderCtrl::OnReflectNotify(header, result);
  auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(header);
  LRESULT answer = CDRF_DODEFAULT;
  if (cd->dwDrawStage == CDDS_PREPAINT) {
    answer = CDRF_NOTIFYITEMDRAW;
  } else if (cd->dwDrawStage == CDDS_ITEMPREPAINT) {
    ::SetTextColor(cd->hdc, RGB(0, 0, 0));
    ::SetBkColor(cd->hdc, ItemBackground(static_cast<int>(cd->dwItemSpec)));
    answer = CDRF_NEWFONT;
  }
  if (result != nullptr) *result = answer;
  return Reflect::Consume;
}

BOOL CColorHeaderCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_ERASEBKGND) return CHeaderCtrl::OnWndMsg(message, wParam, lParam, result);
  const bool filterRow = m_pSource != nullptr && m_pSource->IsFilterRowShown();
  CRect client;
  GetClientRect(&client);
  COwnerDrawDC dc(reinterpret_cast<HDC>(wParam), m_hWnd);
  dc->FillSolidRect(client, filterRow ? kLightGold : ::GetSysColor(COLOR_BTNFACE));
  if (result != nullptr) *result = TRUE;
  return TRUE;
}
