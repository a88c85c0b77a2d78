#include "controls/color_list_box.h"

#include <cstring>

#include "controls/owner_draw_dc.h"
#include "platform/user/clipboard.h"
#include "platform/window/cursor.h"
#include "platform/window/keyboard.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/cpaintdc.h"

namespace {
constexpr int kItemFontTenths = 95;
constexpr int kTipSlack = 3;  // a text this close to the item's width still gets a tip
}  // namespace

CColorListBox::CColorListBox() : m_clrBackground(::GetSysColor(COLOR_WINDOW)) {
  m_itemFont.CreatePointFont(kItemFontTenths, "Arial");
}

void CColorListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  Attached();
}

int CColorListBox::OnCreate(LPCREATESTRUCT cs) {
  const int result = CListBox::OnCreate(cs);
  if (result != -1) Attached();
  return result;
}

void CColorListBox::Attached() { m_tip.Create(*this, false); }

void CColorListBox::OnDestroy() {
  m_tip.Destroy();
  CListBox::OnDestroy();
}

void CColorListBox::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (dis == nullptr) return;
  COwnerDrawDC dc(dis->hDC, m_hWnd);
  const CRect item = dis->rcItem;
  if (GetCount() == 0 || dis->itemID == static_cast<UINT>(-1)) {
    if (dis->itemAction & ODA_FOCUS) dc->DrawFocusRect(item);
    return;
  }
  if (dis->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    CFont* oldFont = dc->SelectObject(&m_itemFont);
    dc->SetTextColor(m_bPlainText ? RGB(0, 0, 0) : static_cast<COLORREF>(dis->itemData));
    dc->FillSolidRect(item, ::GetSysColor(COLOR_WINDOW));
    CString text;
    GetText(static_cast<int>(dis->itemID), text);
    CRect at = item;
    dc->DrawText(text, &at, DT_WORDBREAK | DT_NOPREFIX);
    dc->SelectObject(oldFont);
  }
  if ((dis->itemAction & ODA_FOCUS) || ((dis->itemAction & ODA_DRAWENTIRE) && (dis->itemState & ODS_FOCUS))) {
    dc->DrawFocusRect(item);
  }
}

void CColorListBox::MeasureItem(LPMEASUREITEMSTRUCT mis) {
  if (mis == nullptr) return;
  const int index = static_cast<int>(mis->itemID);
  CRect item;  // as wide as the client area, or as the horizontal extent when that is wider
  GetItemRect(index, &item);
  CString text;
  GetText(index, text);
  CClientDC dc(this);
  CFont* old = dc.SelectObject(&m_itemFont);
  CRect measured(0, 0, item.Width(), 0);
  dc.DrawText(text, &measured, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  dc.SelectObject(old);
  mis->itemHeight = static_cast<UINT>(measured.Height());
}

void CColorListBox::OnMouseMove(UINT flags, CPoint point) {
  CListBox::OnMouseMove(flags, point);
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    LeaveItems();
    return;
  }
  BOOL outside = FALSE;
  const int index = static_cast<int>(ItemFromPoint(point, outside));
  if (outside || index == m_nHover) return;
  m_nHover = index;
  CString text;
  GetText(index, text);
  CRect item;
  GetItemRect(index, &item);
  CClientDC dc(this);  // the list box's own font, as the tip shows it
  if (dc.GetTextExtent(text).cx <= item.Width() - kTipSlack) {
    m_tip.Hide();
    return;
  }
  m_tip.SetText(text);
  CPoint corner = item.TopLeft();
  ClientToScreen(&corner);
  m_tip.ShowAt(corner);
  SetTimer(kTipTimer, kTipTimerMs);
  SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CColorListBox::LeaveItems() {
  m_nHover = -1;
  m_tip.Hide();
}

bool CColorListBox::CursorInside() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  CRect client;
  GetClientRect(&client);
  return client.PtInRect(cursor) != 0;
}

void CColorListBox::OnTimer(UINT_PTR id) {
  if (id != kTipTimer) {
    CListBox::OnTimer(id);
    return;
  }
  if (CursorInside() && IsWindowVisible()) return;
  KillTimer(kTipTimer);
  LeaveItems();
}

BOOL CColorListBox::OnEraseBkgnd(CDC* dc) {
  FillBelowLastItem(dc != nullptr ? dc->GetSafeHdc() : nullptr);
  return CListBox::OnEraseBkgnd(dc);
}

void CColorListBox::OnMouseLeave() {
  LeaveItems();
  CListBox::OnMouseLeave();
}

// Erasing as usual draws nothing (the list box paints its own background
// with its items), so only mode 2 adds anything.
void CColorListBox::FillBelowLastItem(HDC given) {
  const int count = GetCount();
  const bool ownerDrawn = (GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
  if (count <= 0 || !ownerDrawn || m_nEraseMode != 2) return;
  CRect client;
  GetClientRect(&client);
  CRect last;
  GetItemRect(count - 1, &last);
  // The items may reach the bottom or past it: then there is nothing to fill.
  if (const CRect below(client.left, last.bottom, client.right, client.bottom); !below.IsRectEmpty()) {
    COwnerDrawDC dc(given, m_hWnd);
    CBrush brush(m_clrBackground);
    dc->FillRect(below, &brush);
  }
}

BOOL CColorListBox::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0) CopySelection();
  return CListBox::PreTranslateMessage(msg);
}

void CColorListBox::CopySelection() {
  const int selected = GetCurSel();
  if (selected == LB_ERR || GetCount() == 0) return;
  CString text;
  GetText(selected, text);
  if (!::OpenClipboard(m_hWnd)) return;
  ::EmptyClipboard();
  const size_t size = static_cast<size_t>(text.GetLength()) + 1;
  if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size); block != nullptr) {
    std::memcpy(::GlobalLock(block), text.GetString(), size);
    ::GlobalUnlock(block);
    if (::SetClipboardData(CF_TEXT, block) == nullptr) ::GlobalFree(block);
  }
  ::CloseClipboard();
  m_strLastCopied = text;
}
