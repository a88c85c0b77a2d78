// CCommonListCtrl: tool-tips on rows, whose text the owner's callback gives.
#include <string>

#include "listview/common/common_list_ctrl.h"
#include "platform/comctl/tooltip.h"

INT_PTR CCommonListCtrl::OnToolHitTest(CPoint point, TOOLINFO* info) const {
  if (m_pfnItemToolTip == nullptr || info == nullptr) return -1;
  // The list's own hit test names the row under the point, the one the
  // page's bottom edge cuts included, and none over the header, below the
  // last row or outside the client area.
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int row = static_cast<int>(::SendMessage(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0) return -1;
  // The tool is the cell under the point rather than the whole row: a
  // tip that tells a cell's text (a cut-off one's, say) is asked again
  // when the pointer moves to another cell of the row, instead of going
  // on showing the first cell's text. Over the first cell's check box or
  // image, outside its label, the tool is the row.
  RECT cell{LVIR_LABEL, hit.iSubItem, 0, 0};  // LVM_GETSUBITEMRECT's part and sub-item, in and out
  ::SendMessage(m_hWnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  RECT bounds{};
  GetItemRect(row, &bounds, LVIR_BOUNDS);
  info->hwnd = m_hWnd;
  info->uId = static_cast<UINT_PTR>(row + 1);
  info->lpszText = LPSTR_TEXTCALLBACK;
  info->rect = CRect(cell).PtInRect(point) ? cell : bounds;
  return static_cast<INT_PTR>(info->uId);
}

void CCommonListCtrl::OnItemToolTipText(NMHDR* notify) {
  const UINT_PTR id = notify->idFrom;
  if (m_pfnItemToolTip == nullptr || id == 0) return;
  const int row = static_cast<int>(id) - 1;
  if (row >= CListCtrl::GetItemCount()) return;
  CString text;
  if (!m_pfnItemToolTip(GetParent(), row, text, this)) return;  // the owner refuses the tip
  if (notify->code == TTN_NEEDTEXTW) {
    // The list's text is narrow; each byte widens to its code point.
    m_strTipTextW.assign(text.GetString(), text.GetString() + text.GetLength());
    reinterpret_cast<NMTTDISPINFOW*>(notify)->lpszText = m_strTipTextW.data();
  } else {
    m_strTipTextA = text.GetString();
    reinterpret_cast<NMTTDISPINFOA*>(notify)->lpszText = m_strTipTextA.data();
  }
}
