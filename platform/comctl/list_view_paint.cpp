// Painting the report view: custom draw or owner drawing, and the default
// drawing of rows through the paint device context.
//
// A row's default look: its cells' backgrounds in clrTextBk (none for
// CLR_NONE / CLR_DEFAULT), the texts in clrText (the list's text colour for
// CLR_DEFAULT) between kListLabelMargin margins, aligned as their column;
// a selected row (CDIS_SELECTED, which the parent may clear at item
// pre-paint) in the highlight colours while the list has the focus and in
// the button colours otherwise (LVS_SHOWSELALWAYS), across the row with
// LVS_EX_FULLROWSELECT and behind the first label otherwise; the focused
// item framed by a focus rectangle while the list has the focus; check
// boxes (LVS_EX_CHECKBOXES) as a frame, filled inside when checked; grid
// lines (LVS_EX_GRIDLINES) one pixel in the 3-D face colour at the right of
// every column and the bottom of every row slot. Whatever the parent does
// to the DC during an item's notifications (CDRF_NEWFONT) lasts for that
// item only.
#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/comctl/list_view_model.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/winapi.h"

namespace platform {
namespace {

constexpr int kCheckBoxSize = 13;

void Fill(HDC dc, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (DrawOp* op = AppendDrawOp(dc, DrawKind::FillRect, r)) op->color = color;
}

UINT TextFormat(int columnFormat) {
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if ((columnFormat & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) format |= DT_RIGHT;
  if ((columnFormat & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) format |= DT_CENTER;
  return format;
}

}  // namespace

UINT ListViewModel::DrawState(int index) const {
  const UINT state = State(index);
  const bool showSelection = m_hasFocus || (Style() & LVS_SHOWSELALWAYS);
  UINT drawn = 0;
  if ((state & LVIS_SELECTED) && showSelection) drawn |= CDIS_SELECTED;
  if ((state & LVIS_FOCUSED) && m_hasFocus) drawn |= CDIS_FOCUS;
  return drawn;
}

void ListViewModel::DrawItem(HDC dc, int index) {
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_LISTVIEW;
  dis.CtlID = static_cast<UINT>(ControlId());
  dis.itemID = static_cast<UINT>(index);
  dis.itemAction = ODA_DRAWENTIRE;
  const UINT drawn = DrawState(index);
  if (drawn & CDIS_SELECTED) dis.itemState |= ODS_SELECTED;
  if (drawn & CDIS_FOCUS) dis.itemState |= ODS_FOCUS;
  if (!::IsWindowEnabled(hwnd())) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = hwnd();
  dis.hDC = dc;
  dis.rcItem = RowRect(index);
  dis.itemData = static_cast<ULONG_PTR>(ParamOf(index));
  ::SendMessage(::GetParent(hwnd()), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void ListViewModel::DrawCell(HDC dc, int index, int column, COLORREF text, COLORREF background, bool highlighted) {
  if (dc == nullptr || column < 0 || column >= ColumnCount()) return;
  const RECT row = RowRect(index);
  RECT cell = ColumnRect(column);
  cell.top = row.top;
  cell.bottom = row.bottom;
  RECT label;
  if (column == 0) {
    ItemRect(index, LVIR_LABEL, label);
  } else {
    SubItemRect(index, column, LVIR_LABEL, label);
  }
  COLORREF ink = text == CLR_DEFAULT ? m_textColor : text;
  COLORREF fill = background;
  if (highlighted) {
    ink = GetSysColor(m_hasFocus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    fill = GetSysColor(m_hasFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
  }
  const bool fullRow = (m_exStyle & LVS_EX_FULLROWSELECT) != 0;
  if (fill != CLR_NONE && fill != CLR_DEFAULT) Fill(dc, highlighted && !fullRow ? label : cell, fill);
  if (column == 0 && (m_exStyle & LVS_EX_CHECKBOXES)) {
    const int left = cell.left + (kListStateIconWidth - kCheckBoxSize) / 2;
    const int top = row.top + (RowHeight() - kCheckBoxSize) / 2;
    const RECT box{left, top, left + kCheckBoxSize, top + kCheckBoxSize};
    if (DrawOp* op = AppendDrawOp(dc, DrawKind::FrameRect, box)) op->color = GetSysColor(COLOR_WINDOWTEXT);
    if (((StateWithCallbacks(index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2) {
      Fill(dc, RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, GetSysColor(COLOR_WINDOWTEXT));
    }
  }
  LVCOLUMN format;
  format.mask = LVCF_FMT;
  GetColumn(column, &format);
  const std::string content = CellText(index, column);
  RECT area = label;
  area.left += kListLabelMargin;
  area.right -= kListLabelMargin;
  ::SetTextColor(dc, ink);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawText(dc, content.c_str(), static_cast<int>(content.size()), &area, TextFormat(format.fmt));
}

void ListViewModel::PaintRow(HDC dc, int index, LRESULT listAnswer) {
  NMLVCUSTOMDRAW cd;
  cd.nmcd.hdr.code = NM_CUSTOMDRAW;
  cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = RowRect(index);
  cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
  cd.nmcd.uItemState = DrawState(index);
  cd.nmcd.lItemlParam = ParamOf(index);
  cd.clrText = m_textColor;
  cd.clrTextBk = m_textBkColor;
  // The parent's changes to the DC (a font, colours) last for this item only.
  const int saved = dc != nullptr ? ::SaveDC(dc) : 0;
  LRESULT itemAnswer = CDRF_DODEFAULT;
  if (listAnswer & CDRF_NOTIFYITEMDRAW) itemAnswer = NotifyParentWith(cd.nmcd.hdr);
  if (!(itemAnswer & CDRF_SKIPDEFAULT)) {  // each step below checks the row: the parent may have deleted it
    const bool selected = (cd.nmcd.uItemState & CDIS_SELECTED) != 0;
    const bool fullRow = (m_exStyle & LVS_EX_FULLROWSELECT) != 0;
    for (int column : ColumnOrder()) {
      if (!Valid(index)) break;
      // What the parent left in the item's colours carries into its cells.
      NMLVCUSTOMDRAW sub = cd;
      sub.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
      sub.iSubItem = column;
      if (column == 0) {
        ItemRect(index, LVIR_LABEL, sub.nmcd.rc);
      } else {
        SubItemRect(index, column, LVIR_BOUNDS, sub.nmcd.rc);
      }
      if ((itemAnswer & CDRF_NOTIFYSUBITEMDRAW) && (NotifyParentWith(sub.nmcd.hdr) & CDRF_SKIPDEFAULT)) continue;
      if (Valid(index)) DrawCell(dc, index, column, sub.clrText, sub.clrTextBk, selected && (fullRow || column == 0));
    }
    if (dc != nullptr && Valid(index) && (cd.nmcd.uItemState & CDIS_FOCUS)) {
      RECT focus;
      ItemRect(index, fullRow ? LVIR_BOUNDS : LVIR_LABEL, focus);
      ::DrawFocusRect(dc, &focus);
    }
    if ((itemAnswer & CDRF_NOTIFYPOSTPAINT) && Valid(index)) {
      cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
      NotifyParentWith(cd.nmcd.hdr);
    }
  }
  if (saved != 0) ::RestoreDC(dc, saved);
}

void ListViewModel::DrawGridLines(HDC dc) {
  if (dc == nullptr || !(m_exStyle & LVS_EX_GRIDLINES)) return;
  const COLORREF color = GetSysColor(COLOR_BTNFACE);
  const int top = HeaderHeight();
  const int bottom = ClientHeight();
  const int right = TotalWidth() - m_scrollX;
  for (int column = 0; column < ColumnCount(); ++column) {
    const RECT r = ColumnRect(column);
    Fill(dc, RECT{r.right - 1, top, r.right, bottom}, color);
  }
  for (int y = top + RowHeight(); y <= bottom; y += RowHeight()) Fill(dc, RECT{-m_scrollX, y - 1, right, y}, color);
}

void ListViewModel::Paint(HDC dc) {
  const int first = m_top;
  const int last = std::min(Count(), m_top + PerPage() + 1) - 1;  // a partly shown row too
  if (OwnerData() && last >= first) {
    NMLVCACHEHINT hint;
    hint.hdr.code = LVN_ODCACHEHINT;
    hint.iFrom = first;
    hint.iTo = last;
    NotifyParentWith(hint.hdr);
  }
  if (Style() & LVS_OWNERDRAWFIXED) {
    for (int i = first; i <= last && Valid(i); ++i) DrawItem(dc, i);
    DrawGridLines(dc);
    return;
  }
  NMLVCUSTOMDRAW cd;
  cd.nmcd.hdr.code = NM_CUSTOMDRAW;
  cd.nmcd.dwDrawStage = CDDS_PREPAINT;
  cd.nmcd.hdc = dc;
  ::GetClientRect(hwnd(), &cd.nmcd.rc);
  cd.clrText = m_textColor;
  cd.clrTextBk = m_textBkColor;
  const LRESULT answer = NotifyParentWith(cd.nmcd.hdr);
  if (answer & CDRF_SKIPDEFAULT) return;
  for (int i = first; i <= last && Valid(i); ++i) PaintRow(dc, i, answer);
  DrawGridLines(dc);
  if (answer & CDRF_NOTIFYPOSTPAINT) {
    cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
    NotifyParentWith(cd.nmcd.hdr);
  }
}

void ListViewModel::PaintBuffered(HDC dc) {
  const int width = ClientWidth();
  const int height = ClientHeight();
  const HDC memory = ::CreateCompatibleDC(dc);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(dc, std::max(1, width), std::max(1, height));
  const HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
  const HGDIOBJ oldFont = ::SelectObject(memory, reinterpret_cast<HGDIOBJ>(::SendMessage(hwnd(), WM_GETFONT, 0, 0)));
  EraseBackground(memory);
  Paint(memory);
  ::BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  if (oldFont != nullptr) ::SelectObject(memory, oldFont);
  ::SelectObject(memory, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

void ListViewModel::EraseBackground(HDC dc) const {
  if (dc == nullptr || m_bkColor == CLR_NONE) return;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  Fill(dc, client, m_bkColor);
}

}  // namespace platform
